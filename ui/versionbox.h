// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The version box: a second top-level window, created hidden once at start
// and shown modally by the menu "バージョン". Closing it only hides it, so
// whatever the user types into its text box stays until the program ends.

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

class VersionBox : public QDialog {
    Q_OBJECT

public:
    explicit VersionBox(QWidget* parent = nullptr);

    QPlainTextEdit* Memo1;
    QPushButton* Button1;
};
