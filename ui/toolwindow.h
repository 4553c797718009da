// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How a tool window of the ツール menu meets the main window: it takes the
// main window's font and colours, and opens beside it, inside the screen's
// available area.

#include <QRect>

#include <vector>

class QWidget;
class ToolHost;

// The main window's font and palette, and its background filled in.
void StyleLikeMainWindow(QWidget& window, ToolHost& host);

// Where a tool window of the given frame size goes: beside the main window
// (on its right, on its left, below it, above it: the first of these that
// covers nothing), top or left aligned with it, moved (and shrunk if need
// be) so that the whole frame lies inside `available`. Where every place
// covers something, the one that covers least of the main window and of the
// tool windows already open (`others`).
QRect ToolWindowFrame(const QRect& mainFrame, const QSize& toolFrame, const QRect& available,
                      const std::vector<QRect>& others = {});

// Shows the window (placing it first when it was never shown), raised and active.
void ShowToolWindow(QWidget& window, ToolHost& host);
