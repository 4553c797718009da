#include "ui/apptitle.h"

#include <QApplication>
#include <QFont>
#include <gtest/gtest.h>

TEST(Application, TitleAndFontSubstitutes)
{
    EXPECT_EQ(QApplication::applicationName(), QStringLiteral("歯形計算"));
    EXPECT_EQ(QFont::substitute(QStringLiteral("ＭＳ Ｐゴシック")).toLower(), QStringLiteral("ipapgothic"));
    EXPECT_EQ(QFont::substitute(QStringLiteral("ＭＳ Ｐ明朝")).toLower(), QStringLiteral("ipapmincho"));
}

#include <QFontDatabase>

// The face asked for is the named face where it is installed, else the
// installed face put in its place, spelt as the font database spells it.
TEST(Application, InstalledFaceForNamedFaces)
{
    ASSERT_TRUE(QFontDatabase::hasFamily(QStringLiteral("IPAPGothic")));
    QFont::insertSubstitution(QStringLiteral("Test Face Missing"), QStringLiteral("No Such Face"));
    QFont::insertSubstitution(QStringLiteral("Test Face Missing"), QStringLiteral("ipapgothic"));
    QFont::insertSubstitution(QStringLiteral("Test Face Unmatched"), QStringLiteral("No Such Face"));
    const struct {
        const char* name;
        const char* face;
    } cases[] = {
        {"IPAPGothic", "IPAPGothic"},                     // installed: asked for as it is
        {"Test Face Missing", "IPAPGothic"},              // the first installed substitute
        {"Test Face Unmatched", "Test Face Unmatched"},   // nothing installed: the name
        {"Test Face Plain", "Test Face Plain"},           // no substitutes at all
    };
    for (const auto& c : cases)
        EXPECT_EQ(InstalledFace(QString::fromUtf8(c.name)), QString::fromUtf8(c.face)) << c.name;
    // The window's own faces, through the substitutions InitApplication made.
    const bool named = QFontDatabase::hasFamily(QStringLiteral("ＭＳ Ｐゴシック"));
    EXPECT_EQ(InstalledFace(QStringLiteral("ＭＳ Ｐゴシック")),
              named ? QStringLiteral("ＭＳ Ｐゴシック") : QStringLiteral("IPAPGothic"));
    QFont::removeSubstitutions(QStringLiteral("Test Face Missing"));
    QFont::removeSubstitutions(QStringLiteral("Test Face Unmatched"));
}

#include <QCoreApplication>

TEST(Application, StandardDialogsSpeakJapanese)
{
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("キャンセル"));
    EXPECT_TRUE(QCoreApplication::translate("QFileDialog", "File &name:").startsWith(QStringLiteral("ファイル名")));
}
