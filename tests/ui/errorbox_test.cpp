// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/apperror.h"
#include "ui/errorbox.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>
#include <gtest/gtest.h>

#include <stdexcept>

TEST(ErrorBox, PeriodRule)
{
    const std::pair<QString, QString> cases[] = {
        {QStringLiteral("'18.0' は整数ではありません"), QStringLiteral("'18.0' は整数ではありません.")},
        {QStringLiteral("ends in a blank "), QStringLiteral("ends in a blank ")},
        {QStringLiteral("done."), QStringLiteral("done.")},
        {QStringLiteral("what!"), QStringLiteral("what!")},
        {QStringLiteral("a-b-"), QStringLiteral("a-b-")},
        {QStringLiteral("x,"), QStringLiteral("x,")},
        {QStringLiteral("slash/"), QStringLiteral("slash/.")},
        {QStringLiteral("digit 0"), QStringLiteral("digit 0.")},
        {QStringLiteral("colon:"), QStringLiteral("colon:.")},
        {QString(), QString()},
    };
    for (const auto& [message, shown] : cases)
        EXPECT_EQ(ErrorBoxText(message), shown) << message.toStdString();
}

TEST(ErrorBox, GuardShowsEveryFailureOnceAndSwallowsIt)
{
    QStringList shown;
    SetErrorBoxRecorder([&](const QString& text) { shown << text; });
    RunCommand(nullptr, [] { throw AppError("ファイル x は開けません"); });
    RunCommand(nullptr, [] { throw std::runtime_error("other"); });
    RunCommand(nullptr, [] {});
    SetErrorBoxRecorder({});
    EXPECT_EQ(shown, (QStringList{QStringLiteral("ファイル x は開けません."), QStringLiteral("other.")}));
}

TEST(ErrorBox, TextThatLooksLikeMarkupIsShownAsTyped)
{
    const QString typed = QStringLiteral("'<b>1</b><img src=x>' は浮動小数点数ではありません");
    Qt::TextFormat format = Qt::RichText;
    QString shown;
    QString caption;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        caption = box->windowTitle();
        if (auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))) {
            format = label->textFormat();
            shown = label->text();
        }
        box->accept();
    });
    RunCommand(nullptr, [&] { throw AppError(typed.toStdString()); });
    EXPECT_EQ(caption, QStringLiteral("歯形計算"));
    EXPECT_EQ(format, Qt::PlainText);
    EXPECT_EQ(shown, typed + QLatin1Char('.'));
}
