// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/apptitle.h"

#include <QApplication>
#include <QFont>
#include <QFontInfo>
#include <gtest/gtest.h>

TEST(Application, TitleAndFontSubstitutes)
{
    EXPECT_EQ(ApplicationTitle(), QStringLiteral("歯形計算"));
    EXPECT_EQ(QApplication::applicationName(), QStringLiteral("tsumugi"));   // the X11 window class
    // The design's face names reach the installed IPA faces.
    EXPECT_EQ(QFontInfo(QFont(QStringLiteral("ＭＳ Ｐゴシック"))).family().toLower(), QStringLiteral("ipapgothic"));
    EXPECT_EQ(QFontInfo(QFont(QStringLiteral("ＭＳ Ｐ明朝"))).family().toLower(), QStringLiteral("ipapmincho"));
}

#include <QCoreApplication>

TEST(Application, StandardDialogsSpeakJapanese)
{
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("キャンセル"));
    EXPECT_TRUE(QCoreApplication::translate("QFileDialog", "File &name:").startsWith(QStringLiteral("ファイル名")));
}
