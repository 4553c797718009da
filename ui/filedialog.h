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
