// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qttext.h"

#include "base/apperror.h"
#include "ui/layout.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>

QString Utf8(const std::string& text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QFont GothicFont(int pixelSize, bool bold)
{
    QFont font(layout::kGothic);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

void MakeReadOnlyBox(QLineEdit* box)
{
    box->setReadOnly(true);
    box->setStyleSheet(QStringLiteral("QLineEdit { background-color: #E4E4E4; color: #000000;"
                                      " border: 1px solid #A0A0A0; padding: 0px 1px; }"));
}

void SetClipboardTextVerified(const QString& text)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard == nullptr)
        throw AppError("クリップボードを開くことができません");
    clipboard->setText(text, QClipboard::Clipboard);
    // A clipboard that refused the text still shows its old contents.
    if (clipboard->text(QClipboard::Clipboard).remove(QLatin1Char('\r')) != QString(text).remove(QLatin1Char('\r')))
        throw AppError("クリップボードを開くことができません");
}
