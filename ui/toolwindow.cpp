// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/toolwindow.h"

#include "ui/toolhost.h"

#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <vector>

namespace {

constexpr int kGap = 8;   // pixels between the two frames

}  // namespace

void StyleLikeMainWindow(QWidget& window, ToolHost& host)
{
    window.setFont(host.hostWidget().font());
    // The client area carries the main window's background colour.
    window.setPalette(host.clientArea()->palette());
    window.setAutoFillBackground(true);
}

QRect ToolWindowFrame(const QRect& mainFrame, const QSize& toolFrame, const QRect& available,
                      const std::vector<QRect>& others)
{
    const int width = std::min(toolFrame.width(), available.width());
    const int height = std::min(toolFrame.height(), available.height());
    const QPoint candidates[] = {
        {mainFrame.right() + 1 + kGap, mainFrame.top()},   // right
        {mainFrame.left() - kGap - width, mainFrame.top()},  // left
        {mainFrame.left(), mainFrame.bottom() + 1 + kGap},  // below
        {mainFrame.left(), mainFrame.top() - kGap - height},  // above
    };
    auto covered = [&](const QRect& frame) {
        long long area = 0;
        auto add = [&](const QRect& other) {
            const QRect both = frame.intersected(other);
            area += both.isEmpty() ? 0 : static_cast<long long>(both.width()) * both.height();
        };
        add(mainFrame);
        for (const QRect& other : others)
            add(other);
        return area;
    };
    QRect best;
    long long bestCovered = -1;
    for (const QPoint& at : candidates) {
        const QRect frame(std::clamp(at.x(), available.left(), available.right() + 1 - width),
                          std::clamp(at.y(), available.top(), available.bottom() + 1 - height), width, height);
        const long long area = covered(frame);
        if (bestCovered < 0 || area < bestCovered) {
            best = frame;
            bestCovered = area;
        }
        if (area == 0)
            break;
    }
    return best;
}

void ShowToolWindow(QWidget& window, ToolHost& host)
{
    const QWidget& form = host.hostWidget();
    if (!window.property("tsumugiPlaced").toBool()) {
        window.adjustSize();
        // The tool window's frame is not known before it is shown: the main
        // window's frame, from the same window manager, stands in for it.
        const QSize frameExtra = form.frameGeometry().size() - form.geometry().size();
        const QScreen* screen = form.screen();
        const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 1 << 15, 1 << 15);
        std::vector<QRect> others;   // the tool windows already open
        for (const QWidget* other : form.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
            if (other != &window && other->isWindow() && other->isVisible())
                others.push_back(other->frameGeometry());
        const QRect frame = ToolWindowFrame(form.frameGeometry(), window.size() + frameExtra, available, others);
        window.resize(frame.size() - frameExtra);
        window.move(frame.topLeft());   // move() places the frame's top-left corner
        window.setProperty("tsumugiPlaced", true);
    }
    window.show();
    window.raise();
    window.activateWindow();
}
