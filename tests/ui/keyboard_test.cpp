#include "formfixture.h"

#include <QKeyEvent>

namespace {

void Press(QWidget* widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = {})
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(widget, &release);
}

// Return and the keypad's Enter in each input box run the calculate command,
// as the button does; the keys elsewhere run nothing.
TEST_F(FormTest, EnterInAnInputBoxCalculates)
{
    struct Case {
        const char* box;
        int key;
        Qt::KeyboardModifiers modifiers;
    };
    const Case cases[] = {
        {"Edit1", Qt::Key_Return, Qt::NoModifier},
        {"Edit2", Qt::Key_Enter, Qt::KeypadModifier},
        {"Edit4", Qt::Key_Return, Qt::NoModifier},
        {"Edit4", Qt::Key_Enter, Qt::KeypadModifier},
    };
    form().Edit1->setText("2");
    form().Edit2->setText("12");
    form().Edit4->setText("0.3");
    int row = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.box);
        Press(form().findChild<QLineEdit*>(c.box), c.key, c.modifiers);
        ++row;
        EXPECT_EQ(Row(row), (QStringList{QString::number(row), "2.000", "12", "0.300", "29.200"}));
        EXPECT_EQ(Row(row + 1)[1], QString());
    }
    EXPECT_EQ(Results(), (QStringList{"24.000", "29.200", "20.200", "22.553", "0.871"}));
    EXPECT_EQ(Messages(), QStringList{"警告：歯数Ｚ１が小さい、ｱﾝﾀﾞｰｶｯﾄ発生"});
    // Enter in a result box is no calculation.
    Press(form().Edit6, Qt::Key_Return);
    EXPECT_EQ(Row(5)[1], QString());
    // A bad number entered with Enter meets the same error box as the button.
    form().Edit2->setText("x");
    Press(form().Edit2, Qt::Key_Return);
    EXPECT_EQ(m_errors, QStringList{"'x' は整数ではありません."});
}

TEST_F(FormTest, StartsInTheModuleBoxWithItsTextSelected)
{
    form().show();
    form().activateWindow();
    QApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), form().Edit1);
    EXPECT_EQ(form().Edit1->selectedText(), QStringLiteral("1"));
    Press(form().Edit1, Qt::Key_3, Qt::NoModifier, "3");
    EXPECT_EQ(form().Edit1->text(), QStringLiteral("3"));
}

}  // namespace
