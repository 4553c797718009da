// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The open and save dialogs of the gear data files. Each keeps the name
// confirmed in it last and offers it the next time it opens. The dialog is the
// desktop's own where the platform offers one (a desktop portal, the GNOME or
// KDE platform theme), Qt's own otherwise, or always with the application
// attribute Qt::AA_DontUseNativeDialogs (as the tests set it).

#include <QString>

#include <functional>
#include <optional>

class QWidget;

class FileDialog {
public:
    enum class Kind { Open, Save };

    FileDialog(Kind kind, QString initialName);

    // Shows the dialog; the confirmed name, or nothing when cancelled.
    std::optional<QString> Execute(QWidget* parent);

    QString fileName() const { return m_fileName; }
    Kind kind() const { return m_kind; }

    // The filter both dialogs offer: "平ギアのデーター", "*.hgd".
    static QString Filter();

    // Tests answer the dialogs through a chooser; an empty function restores them.
    using Chooser = std::function<std::optional<QString>(Kind kind, const QString& initialName)>;
    static void SetChooser(Chooser chooser);

private:
    Kind m_kind;
    QString m_fileName;
};

// The tool windows' save dialog (a picture, a profile, a data sheet): Qt's or
// the desktop's, listing folders without opening a file, started at
// SaveDialogStartName(lastName). `filters` are separated by ";;"; the chosen
// one is left in *selectedFilter. The chosen name, or an empty text when
// cancelled.
QString AskSaveFileName(QWidget* parent, const QString& caption, const QString& lastName, const QString& filters,
                        QString* selectedFilter = nullptr);

// Where a save dialog starts for the name saved last: that name where its
// folder is an ordinary folder we may write in, else the same file name in the
// home folder. A folder of the kernel's (/proc, /sys, /dev) or one that is gone
// is never listed again: reading its entries can block the window.
QString SaveDialogStartName(const QString& lastName);

