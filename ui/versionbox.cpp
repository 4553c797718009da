// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/versionbox.h"

#include "ui/layout.h"

#include <QFont>
#include <QGuiApplication>
#include <QScreen>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

// Screen position and outer size of the box, framed as the main window is.
constexpr int kLeft = 290;
constexpr int kTop = 222;
constexpr int kOuterWidth = 292;
constexpr int kOuterHeight = 225;

}  // namespace

VersionBox::VersionBox(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("VersionBox"));
    setWindowTitle(QStringLiteral("バージョン情報"));
    setModal(true);

    QFont font(layout::kGothic);
    font.setPixelSize(12);
    setFont(font);

    QPalette ground = palette();
    ground.setColor(QPalette::Window, ground.color(QPalette::Button));
    setPalette(ground);
    setAutoFillBackground(true);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setAccessibleName(QStringLiteral("バージョン情報"));
    Memo1->setGeometry(16, 16, 244, 129);
    Memo1->setPlainText(QStringLiteral("ツムギ（平歯車の歯形計算）\n"
                                       "バージョン " TSUMUGI_VERSION "\n"
                                       "ツムギ開発チーム"));

    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(224, 160, 49, 25);
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, [this] { accept(); });

    const QRect outer = layout::FitInside(QRect(kLeft, kTop, kOuterWidth, kOuterHeight),
                                          QGuiApplication::primaryScreen()->availableGeometry());
    resize(layout::ClientWidthOf(outer.width()), layout::ClientHeightOf(outer.height()));
    move(outer.topLeft());
}
