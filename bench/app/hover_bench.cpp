// Time of one hover picture swap: entering and leaving a navigation button, each followed by
// the repaint it causes. Prints the median and the worst of many swaps in microseconds.
#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/main_window.h"
#include "app/services.h"
#include "device/virtual_mouse.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    kelv::app::FakeClock clock;
    kelv::device::VirtualHidPort port;
    kelv::app::RecordingPrompt prompt;
    kelv::app::WindowServices services;
    services.port = &port;
    services.clock = &clock;
    services.prompt = &prompt;
    services.startDevTimer = false;
    kelv::app::TForm1 window(services);
    window.show();
    for (int i = 0; i < 20; ++i) QCoreApplication::processEvents();

    std::vector<double> micros;
    for (const char* name : {"Btn_Main_1", "Btn_Reset_1", "Btn_Adv_1", "Key1"}) {
        QWidget* label = window.Control(name);
        for (int i = 0; i < 200; ++i) {
            QElapsedTimer t;
            t.start();
            window.LabelEnter(label);
            QCoreApplication::processEvents();
            micros.push_back(static_cast<double>(t.nsecsElapsed()) / 1000.0);
            t.restart();
            window.LabelLeave(label);
            QCoreApplication::processEvents();
            micros.push_back(static_cast<double>(t.nsecsElapsed()) / 1000.0);
        }
    }
    std::sort(micros.begin(), micros.end());
    std::printf("hover swap: median %.1f us, p99 %.1f us, max %.1f us over %zu swaps\n",
                micros[micros.size() / 2], micros[micros.size() * 99 / 100], micros.back(),
                micros.size());
    return 0;
}
