// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/apptitle.h"

#include <QApplication>
#include <QFont>
#include <gtest/gtest.h>

TEST(Application, TitleAndFontSubstitutes)
{
    EXPECT_EQ(ApplicationTitle(), QStringLiteral("歯形計算"));
    EXPECT_EQ(QApplication::applicationName(), QStringLiteral("tsumugi"));   // the X11 window class
    EXPECT_EQ(QFont::substitute(QStringLiteral("ＭＳ Ｐゴシック")).toLower(), QStringLiteral("ipapgothic"));
    EXPECT_EQ(QFont::substitute(QStringLiteral("ＭＳ Ｐ明朝")).toLower(), QStringLiteral("ipapmincho"));
}

#include <QCoreApplication>

TEST(Application, StandardDialogsSpeakJapanese)
{
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("キャンセル"));
    EXPECT_TRUE(QCoreApplication::translate("QFileDialog", "File &name:").startsWith(QStringLiteral("ファイル名")));
}
