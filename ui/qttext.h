// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The small Qt helpers every window of the program shares: texts from the
// core's UTF-8, the design's Gothic face, the look of a read-only box, and
// the clipboard copy that checks the clipboard took the text.

#include <QFont>
#include <QString>

#include <string>

class QLineEdit;

// A UTF-8 text of the core as a QString.
QString Utf8(const std::string& text);

// The main window's Gothic face at a pixel height.
QFont GothicFont(int pixelSize, bool bold);

// A box of a tool window that shows a result: read-only, and looking so
// (the grey of a disabled field's ground, the text still black and selectable).
void MakeReadOnlyBox(QLineEdit* box);

// Replaces the clipboard's text; raises AppError("クリップボードを開くことができません")
// when there is no clipboard or it does not hold the text afterwards (line
// ends compared without their CRs, which some platforms drop).
void SetClipboardTextVerified(const QString& text);
