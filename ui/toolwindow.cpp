// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/toolwindow.h"

#include "ui/mainwindow.h"

#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace {

constexpr int kGap = 8;   // pixels between the two frames

}  // namespace

void StyleLikeMainWindow(QWidget& window, const TForm1& form)
{
    window.setFont(form.font());
    // The client area carries the main window's background colour.
    window.setPalette(form.clientArea()->palette());
    window.setAutoFillBackground(true);
}

QRect ToolWindowFrame(const QRect& mainFrame, const QSize& toolFrame, const QRect& available)
{
    const int width = std::min(toolFrame.width(), available.width());
    const int height = std::min(toolFrame.height(), available.height());
    int left = mainFrame.right() + 1 + kGap;
    if (left + width - 1 > available.right()) {
        const int onLeft = mainFrame.left() - kGap - width;
        left = onLeft >= available.left() ? onLeft : available.right() + 1 - width;
    }
    int top = std::clamp(mainFrame.top(), available.top(), available.bottom() + 1 - height);
    left = std::clamp(left, available.left(), available.right() + 1 - width);
    return QRect(left, top, width, height);
}

void ShowToolWindow(QWidget& window, const TForm1& form)
{
    if (!window.property("tsumugiPlaced").toBool()) {
        window.adjustSize();
        // The tool window's frame is not known before it is shown: the main
        // window's frame, from the same window manager, stands in for it.
        const QSize frameExtra = form.frameGeometry().size() - form.geometry().size();
        const QScreen* screen = form.screen();
        const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 1 << 15, 1 << 15);
        const QRect frame = ToolWindowFrame(form.frameGeometry(), window.size() + frameExtra, available);
        window.resize(frame.size() - frameExtra);
        window.move(frame.topLeft());   // move() places the frame's top-left corner
        window.setProperty("tsumugiPlaced", true);
    }
    window.show();
    window.raise();
    window.activateWindow();
}
