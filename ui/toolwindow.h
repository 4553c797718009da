// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How a tool window of the ツール menu meets the main window: it takes the
// main window's font and colours, and opens beside it, inside the screen's
// available area.

#include <QRect>

class QWidget;
class TForm1;

// The main window's font and palette, and its background filled in.
void StyleLikeMainWindow(QWidget& window, const TForm1& form);

// Where a tool window of the given frame size goes: on the main window's
// right when the available area has room there, else on its left, else at
// the area's right edge; top aligned with the main window's; moved (and
// shrunk if need be) so that the whole frame lies inside `available`.
QRect ToolWindowFrame(const QRect& mainFrame, const QSize& toolFrame, const QRect& available);

// Shows the window (placing it first when it was never shown), raised and active.
void ShowToolWindow(QWidget& window, const TForm1& form);
