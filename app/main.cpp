// kelv731x: the configuration window of the KELV731x gaming mouse.
#include <sys/socket.h>
#include <unistd.h>
#include <QApplication>
#include <QSocketNotifier>
#include <csignal>
#include <cstdio>
#include <memory>
#include <string_view>

#include "app/main_window.h"
#include "app/services.h"
#include "app/shell_rules.h"
#include "app/single_instance.h"
#include "device/hidraw_port.h"
#include "device/virtual_session.h"
#include "resources/bundle.h"

namespace {

int g_signalPipe[2] = {-1, -1};

void OnSignal(int signal) {
    const char c = signal == SIGUSR1 ? 1 : 2;
    [[maybe_unused]] const auto n = write(g_signalPipe[1], &c, 1);
}

}  // namespace

int main(int argc, char** argv) {
    // Help must work without a display, so it is answered before Qt looks for one.
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(kelv::app::AppUsage().data(), stdout);
            return 0;
        }
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName("kelv731x");
    std::vector<std::string> args;
    for (const QString& a : QApplication::arguments().mid(1)) args.push_back(a.toStdString());
    const kelv::app::AppOptions options = kelv::app::ParseAppOptions(args);
    if (options.help) {
        std::fputs(kelv::app::AppUsage().data(), stdout);
        return 0;
    }
    if (!options.error.empty()) {
        std::fprintf(stderr, "kelv731x: %s\n%s", options.error.c_str(),
                     kelv::app::AppUsage().data());
        return 2;
    }

    kelv::app::SingleInstance instance;
    if (instance.AskRunningCopy()) return 0;
    // The name is claimed before the window is built, so two starts close together cannot both
    // stay; an ask that arrives before the window exists has nothing to raise.
    kelv::app::TForm1* shown = nullptr;
    if (!instance.Listen([&shown] {
            if (!shown) return;
            shown->showNormal();
            shown->raise();
            shown->activateWindow();
        }) &&
        instance.AskRunningCopy()) {
        return 0;
    }

    kelv::app::QtClock clock;
    std::unique_ptr<kelv::device::VirtualSession> virtualMouse;
    std::unique_ptr<kelv::device::HidPort> hidraw;
    kelv::device::HidPort* port = nullptr;
    if (options.virtualMouse.enabled) {
        std::string error;
        // The window runs for hours: no report log, which nobody reads.
        virtualMouse = kelv::device::VirtualSession::Open(
            options.virtualMouse, clock, kelv::res::Get("KELV731xData"), error, false);
        if (!virtualMouse) {
            std::fprintf(stderr, "kelv731x: %s\n", error.c_str());
            return 2;
        }
        port = &virtualMouse->Port();
    } else {
        hidraw = std::make_unique<kelv::device::HidrawPort>(kelv::device::HidrawRoots{});
        port = hidraw.get();
    }
    kelv::device::VirtualMouse* mouse = virtualMouse ? &virtualMouse->Mouse() : nullptr;

    kelv::app::MessageBoxPrompt prompt;
    kelv::app::WindowServices services;
    services.port = port;
    services.clock = &clock;
    services.prompt = &prompt;
    services.language = options.language;
    kelv::app::TForm1 window(services);
    prompt.SetParent(&window);

    // SIGUSR1 unplugs the virtual mouse, the next one plugs it in again. SIGTERM and SIGINT end
    // the program as closing the window does, so the virtual mouse keeps what was written to it.
    std::unique_ptr<QSocketNotifier> notifier;
    if (mouse && socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalPipe) == 0) {
        notifier = std::make_unique<QSocketNotifier>(g_signalPipe[0], QSocketNotifier::Read);
        QObject::connect(notifier.get(), &QSocketNotifier::activated, [mouse] {
            char c = 0;
            [[maybe_unused]] const auto n = read(g_signalPipe[0], &c, 1);
            if (c == 2) {
                QCoreApplication::quit();
            } else if (mouse->Present()) {
                mouse->Unplug();
            } else {
                mouse->Plug();
            }
        });
        for (const int signal : {SIGUSR1, SIGTERM, SIGINT}) std::signal(signal, OnSignal);
    }

    window.show();
    window.CreateBusyPopupAfterFirstPaint();
    shown = &window;
    const int status = QApplication::exec();
    std::string error;
    if (virtualMouse && !virtualMouse->Save(error)) {
        std::fprintf(stderr, "kelv731x: %s\n", error.c_str());
    }
    return status;
}
