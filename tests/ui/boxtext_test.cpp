// SPDX-License-Identifier: GPL-3.0-or-later
// A box's whole text reaches its parser: a pasted text longer than 32767
// characters is refused whole, never cut to a number, and a NUL inside a text
// is quoted in the message instead of ending it.
#include "formfixture.h"

#include <QClipboard>
#include <QGuiApplication>

TEST_F(FormTest, PastedTextsReachTheParserWholeAndAreQuotedWhole)
{
    const QString blanks(40000, QLatin1Char(' '));
    const QString zeros(32765, QLatin1Char('0'));
    const QString nul(QChar(0));
    const QString notFloat = QStringLiteral("' は浮動小数点数ではありません.");
    struct Case {
        QLineEdit* TForm1::*box;
        QString text;
        QString message;
    };
    const Case cases[] = {
        {&TForm1::Edit1, "18" + blanks + "x", "'18" + blanks + "x" + notFloat},
        {&TForm1::Edit4, "18" + blanks + "x", "'18" + blanks + "x" + notFloat},
        {&TForm1::Edit1, "1." + zeros + "x", "'1." + zeros + "x" + notFloat},
        {&TForm1::Edit1, "1" + nul + "8", QStringLiteral("'1\u24008") + notFloat},
        {&TForm1::Edit2, nul + "1", QStringLiteral("'\u24001' は整数ではありません.")},
    };
    Calculate("1", "18", "0");
    const QStringList results = Results();
    const QStringList row = Row(1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.left(12).toStdString());
        Calculate("1", "18", "0");
        m_errors.clear();
        QLineEdit* box = form().*c.box;
        QGuiApplication::clipboard()->setText(c.text);
        box->clear();
        box->paste();
        ASSERT_EQ(box->text(), c.text);
        form().BitBtn1->click();
        EXPECT_EQ(m_errors, QStringList{c.message});
        EXPECT_EQ(Results(), results);
        EXPECT_EQ(Row(1), row);
        EXPECT_EQ(box->text(), c.text);
    }
}
