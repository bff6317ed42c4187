#include "app/services.h"

#include <QAbstractButton>
#include <QEventLoop>
#include <QIcon>
#include <QMessageBox>
#include <QTimer>
#include <chrono>
#include <thread>

namespace kelv::app {

void MessageBoxPrompt::Message(const QString& caption, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, parent_);
    box.setWindowModality(Qt::ApplicationModal);
    if (QAbstractButton* ok = box.button(QMessageBox::Ok)) ok->setIcon(QIcon());  // a plain OK
    box.exec();
}

std::uint64_t QtClock::NowMicros() {
    using namespace std::chrono;
    return static_cast<std::uint64_t>(
        duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count());
}

void QtClock::SleepMicros(std::uint64_t micros) {
    if (micros < 10000) {
        std::this_thread::sleep_for(std::chrono::microseconds(micros));
        return;
    }
    QEventLoop loop;
    QTimer::singleShot(static_cast<int>(micros / 1000), Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

}  // namespace kelv::app
