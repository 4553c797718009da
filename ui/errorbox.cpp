// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/errorbox.h"

#include "ui/apptitle.h"
#include "commands/commands.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMessageBox>
#include <QShortcut>

namespace {

std::function<void(const QString&)>& Recorder()
{
    static std::function<void(const QString&)> recorder;
    return recorder;
}

}  // namespace

QString ErrorBoxText(const QString& message)
{
    return QString::fromStdString(WithClosingPeriod(message.toStdString()));
}

void ShowErrorBox(QWidget* parent, const QString& message)
{
    const QString text = ErrorBoxText(message);
    if (Recorder()) {
        Recorder()(text);
        return;
    }
    QMessageBox box(QMessageBox::Critical, ApplicationTitle(), text, QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("ErrorBox"));
    // Messages carry what the user typed and file names: never read them as markup.
    box.setTextFormat(Qt::PlainText);
    box.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    // Ctrl+C copies the message, as message boxes on other desktops do.
    auto* copy = new QShortcut(QKeySequence::Copy, &box);
    QObject::connect(copy, &QShortcut::activated, &box, [text] {
        if (QClipboard* clipboard = QGuiApplication::clipboard())
            clipboard->setText(text);
    });
    box.exec();
}

void SetErrorBoxRecorder(std::function<void(const QString& text)> recorder)
{
    Recorder() = std::move(recorder);
}

void RunCommand(QWidget* parent, const std::function<void()>& command)
{
    RunGuarded(command, [parent](const std::string& message) { ShowErrorBox(parent, QString::fromStdString(message)); });
}
