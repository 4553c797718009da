#include "ui/apptitle.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QImage>
#include <gtest/gtest.h>

TEST(Application, TitleAndFontSubstitutes)
{
    EXPECT_EQ(ApplicationTitle(), QStringLiteral("歯形計算"));
    EXPECT_EQ(QApplication::applicationName(), QStringLiteral("tsumugi"));   // the X11 window class
    const QImage icon = QApplication::windowIcon().pixmap(64, 64).toImage();
    ASSERT_EQ(icon.size(), QSize(64, 64));
    EXPECT_EQ(icon.pixelColor(32, 2), QColor(0xAE, 0xCF, 0xD5));   // drawn from the SVG: its ground
    EXPECT_EQ(QFont::substitute(QStringLiteral("ＭＳ Ｐゴシック")).toLower(), QStringLiteral("ipapgothic"));
    EXPECT_EQ(QFont::substitute(QStringLiteral("ＭＳ Ｐ明朝")).toLower(), QStringLiteral("ipapmincho"));
}

#include <QCoreApplication>

TEST(Application, StandardDialogsSpeakJapanese)
{
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("キャンセル"));
    EXPECT_TRUE(QCoreApplication::translate("QFileDialog", "File &name:").startsWith(QStringLiteral("ファイル名")));
}
