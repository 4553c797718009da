// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The error box every command's failure ends in, and the guard that runs each
// command so that no exception ever reaches Qt's event loop.

#include <QString>

#include <functional>

class QWidget;

// The message with the closing period: one is appended unless the text is
// empty or ends in a blank or one of the characters "!" to ".".
QString ErrorBoxText(const QString& message);

// A modal box captioned with the application title, a stop icon and one OK button.
void ShowErrorBox(QWidget* parent, const QString& message);

// Tests swap the box for a recorder; an empty function restores the box.
void SetErrorBoxRecorder(std::function<void(const QString& text)> recorder);

// Runs one command; any failure is shown in the error box and ends the command.
void RunCommand(QWidget* parent, const std::function<void()>& command);
