#include "app/single_instance.h"

#include <unistd.h>
#include <QLocalSocket>

namespace kelv::app {

SingleInstance::SingleInstance(QString name) : name_(std::move(name)) {}

QString SingleInstance::DefaultName() {
    // One copy per user and display, as a window title is unique per desktop: abstract names
    // are shared by every session on the machine.
    QString display = qEnvironmentVariable("WAYLAND_DISPLAY");
    if (display.isEmpty()) display = qEnvironmentVariable("DISPLAY");
    return QStringLiteral("kelv731x-%1-%2").arg(static_cast<qulonglong>(getuid())).arg(display);
}

bool SingleInstance::AskRunningCopy() {
    QLocalSocket socket;
    socket.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
    socket.connectToServer(name_);
    if (!socket.waitForConnected(500)) return false;
    socket.write("activate");
    socket.waitForBytesWritten(500);
    socket.disconnectFromServer();
    return true;
}

bool SingleInstance::Listen(std::function<void()> activate) {
    activate_ = std::move(activate);
    // The abstract namespace frees the name when the process dies: no stale socket files.
    server_.setSocketOptions(QLocalServer::AbstractNamespaceOption);
    if (!server_.listen(name_)) return false;
    connect(&server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_.nextPendingConnection()) {
            connect(socket, &QLocalSocket::readyRead, socket, [this, socket] {
                if (socket->readAll().contains("activate") && activate_) activate_();
            });
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
    return true;
}

}  // namespace kelv::app
