#pragma once
// Start-up timing for bench/startup.sh. The script puts the time it starts
// a program into VIVIZU_PROBE_T0 (microseconds since the epoch); the probe
// watches the program's window, and once the window's first paint has been
// handed to the window system it prints the microseconds since then and
// ends the program.
#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <cstdio>
#include <cstdlib>

class TStartupProbe : public QObject {
public:
    explicit TStartupProbe(QWidget* window) : QObject(window) { window->installEventFilter(this); }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && !FSeen) {
            FSeen = true;
            // Queued behind the paint, so it runs once the frame is flushed.
            QTimer::singleShot(0, this, [] {
                const auto now = std::chrono::duration_cast<std::chrono::microseconds>(
                                     std::chrono::system_clock::now().time_since_epoch())
                                     .count();
                const char* t0 = std::getenv("VIVIZU_PROBE_T0");
                std::printf("%lld\n", t0 ? static_cast<long long>(now - std::atoll(t0)) : -1LL);
                std::fflush(stdout);
                QApplication::exit(0);
            });
        }
        return false;
    }

private:
    bool FSeen = false;
};
