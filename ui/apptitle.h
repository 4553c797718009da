// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Application-wide set-up shared by the program and the window tests.

#include <QString>

class QApplication;

// "歯形計算": the application title, caption of every error box.
QString ApplicationTitle();

// Names the program "tsumugi" to the desktop, gives every window the gear icon,
// makes installed Japanese faces answer to the names the window asks for and
// loads Qt's Japanese translations.
void InitApplication(QApplication& app);
