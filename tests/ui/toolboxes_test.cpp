// SPDX-License-Identifier: GPL-3.0-or-later
// The tool windows' typed boxes take a paste whole, as the main window's do,
// and a closed tool window raises nothing while the main window goes on.
#include "formfixture.h"

#include "ui/exportdialog.h"
#include "ui/inspectionwindow.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QPushButton>

namespace {

class ToolBoxesTest : public FormTest {
protected:
    void TearDown() override
    {
        SetExportFormAnswer({});
        ResetExportForm();   // the pastes the form kept stay with this test
        FormTest::TearDown();
    }
    QWidget* OpenTool(const char* action, const char* window)
    {
        form().findChild<QAction*>(QLatin1String(action))->trigger();
        return form().findChild<QWidget*>(QLatin1String(window), Qt::FindDirectChildrenOnly);
    }
};

TEST_F(ToolBoxesTest, PastesPastQtsDefaultLimitReachTheParserWhole)
{
    const QString text = QStringLiteral("1") + QString(32766, QLatin1Char(' ')) + QStringLiteral("junk");
    const QString notFloat = QStringLiteral("'") + text + QStringLiteral("' は浮動小数点数ではありません.");
    const QString notInteger = QStringLiteral("'") + text + QStringLiteral("' は整数ではありません.");
    Calculate("2", "20", "0");
    struct Case {
        const char* action;
        const char* window;
        const char* box;
        const char* button;   // pressed after the paste
        QString message;
    };
    const Case cases[] = {
        {"InspectionItem", "InspectionWindow", "PinEdit", "ShowButton", notFloat},
        {"InspectionItem", "InspectionWindow", "SpanEdit", "ShowButton", notInteger},
        {"PairTool", "PairWindow", "PairTeeth2", "PairCalculate", notInteger},
        {"PairTool", "PairWindow", "PairShift2", "PairCalculate", notFloat},
    };
    QGuiApplication::clipboard()->setText(text);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.box);
        QWidget* window = OpenTool(c.action, c.window);
        ASSERT_NE(window, nullptr);
        auto* box = window->findChild<QLineEdit*>(QLatin1String(c.box));
        ASSERT_NE(box, nullptr);
        const QString before = box->text();
        box->clear();
        box->paste();
        EXPECT_EQ(box->text().size(), text.size());
        m_errors.clear();
        window->findChild<QPushButton*>(QLatin1String(c.button))->click();
        EXPECT_EQ(m_errors.join('\n').toStdString(), c.message.toStdString());
        box->setText(before);
    }
    // The export form's three boxes: the paste is kept whole and refused whole.
    for (int which = 0; which < 3; ++which) {
        SCOPED_TRACE(which);
        SetExportFormAnswer([&](ExportForm& f) {
            QLineEdit* box = std::array{f.m_toleranceEdit, f.m_tipRadiusEdit, f.m_boreEdit}[which];
            box->clear();
            box->paste();
            EXPECT_EQ(box->text().size(), text.size());
            return true;
        });
        m_errors.clear();
        form().findChild<QAction*>(QStringLiteral("ExportProfile1"))->trigger();
        EXPECT_EQ(m_errors.join('\n').toStdString(), notFloat.toStdString());
    }
}

TEST_F(ToolBoxesTest, AClosedInspectionWindowRaisesNothing)
{
    auto* window = static_cast<InspectionWindow*>(OpenTool("InspectionItem", "InspectionWindow"));
    ASSERT_NE(window, nullptr);
    window->pinEdit->setText(QStringLiteral("abc"));
    window->showButton->click();
    EXPECT_EQ(m_errors, QStringList{QStringLiteral("'abc' は浮動小数点数ではありません.")});
    window->close();
    m_errors.clear();
    Calculate("2", "20", "0");
    Calculate("1", "18", "0");
    EXPECT_TRUE(m_errors.isEmpty()) << m_errors.join('\n').toStdString();
    // Opened again, it shows the gear of that moment and its box's error once.
    OpenTool("InspectionItem", "InspectionWindow");
    EXPECT_EQ(m_errors, QStringList{QStringLiteral("'abc' は浮動小数点数ではありません.")});
}

}  // namespace
