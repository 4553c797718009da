// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The end of a start-up as the start-up benchmark sees it: the first time the
// main window has been painted. The window's first paint event marks it; the
// quit is queued behind it, so it runs once the whole window (every child
// widget) has been painted and flushed in that same pass. At that moment the
// program prints "painted <ns>" (CLOCK_MONOTONIC, the clock the driver reads
// before it starts the program) and leaves the event loop.

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <ctime>

class FirstPaintWatch : public QObject {
public:
    // Watches the window from now on: make it before the window is shown.
    explicit FirstPaintWatch(QWidget& window) : m_window(window) { window.installEventFilter(this); }

    // Runs the event loop until the first paint has been flushed; 1 when no
    // paint came within ten seconds.
    int Run(QApplication& app)
    {
        QTimer::singleShot(10000, &app, [] { QCoreApplication::exit(1); });
        return app.exec();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == &m_window && event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            QMetaObject::invokeMethod(
                this,
                [] {
                    timespec now{};
                    clock_gettime(CLOCK_MONOTONIC, &now);
                    std::printf("painted %lld\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
                    std::fflush(stdout);
                    QCoreApplication::exit(0);
                },
                Qt::QueuedConnection);
        }
        return false;
    }

private:
    QWidget& m_window;
    bool m_seen = false;
};

