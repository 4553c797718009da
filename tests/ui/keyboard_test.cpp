// SPDX-License-Identifier: GPL-3.0-or-later
#include "formfixture.h"

#include <QKeyEvent>

namespace {

void Press(QWidget* widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = {})
{
    for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
        QKeyEvent event(type, key, modifiers, text);
        QApplication::sendEvent(widget, &event);
    }
}

// The window opens with the module box's text selected: typing replaces it.
// Return and the keypad's Enter in each input box calculate as the button does.
TEST_F(FormTest, TypingAtStartAndEnterInTheInputBoxes)
{
    form().show();
    form().activateWindow();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), form().Edit1);
    Press(form().Edit1, Qt::Key_2, Qt::NoModifier, "2");
    form().Edit2->setText("12");
    form().Edit4->setText("0.3");
    const std::pair<QLineEdit*, Qt::Key> presses[] = {
        {form().Edit1, Qt::Key_Return}, {form().Edit2, Qt::Key_Enter}, {form().Edit4, Qt::Key_Return}};
    for (int row = 1; const auto& [box, key] : presses) {
        Press(box, key, key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
        EXPECT_EQ(Row(row), (QStringList{QString::number(row), "2.000", "12", "0.300", "29.200"}));
        ++row;
    }
    Press(form().Edit6, Qt::Key_Return);   // a result box: no calculation
    EXPECT_EQ(Row(4)[1], QString());
}

}  // namespace
