// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/printerquery.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <memory>
#include <mutex>
#include <thread>

std::optional<QPrinterInfo> QueryDefaultPrinter(std::chrono::milliseconds limit)
{
    // Shared with the asking thread, which may outlive this call.
    struct Answer {
        std::mutex mutex;
        bool given = false;
        QPrinterInfo printer;
    };
    const auto answer = std::make_shared<Answer>();
    std::thread([answer] {
        QPrinterInfo printer = QPrinterInfo::defaultPrinter();
        const std::lock_guard lock(answer->mutex);
        answer->printer = std::move(printer);
        answer->given = true;
    }).detach();

    const auto given = [&answer] {
        const std::lock_guard lock(answer->mutex);
        return answer->given;
    };
    QElapsedTimer clock;
    clock.start();
    QEventLoop loop;
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (given() || clock.elapsed() >= limit.count())
            loop.quit();
    });
    poll.start();
    if (!given())
        loop.exec(QEventLoop::ExcludeUserInputEvents);

    const std::lock_guard lock(answer->mutex);
    if (!answer->given)
        return std::nullopt;
    return answer->printer;
}
