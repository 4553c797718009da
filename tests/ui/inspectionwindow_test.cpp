// SPDX-License-Identifier: GPL-3.0-or-later
// The 検査寸法 window, opened from the ツール menu, following the current gear.
#include "formfixture.h"

#include "ui/inspectionwindow.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>

namespace {

class InspectionWindowTest : public FormTest {
protected:
    InspectionWindow& Open()
    {
        QAction* item = form().Tool1->findChild<QAction*>(QStringLiteral("InspectionItem"));
        EXPECT_NE(item, nullptr);
        EXPECT_EQ(item->text(), QStringLiteral("検査寸法"));
        item->trigger();
        InspectionWindow* window = FindInspectionWindow(form());
        EXPECT_NE(window, nullptr);
        return *window;
    }
    QString Value(InspectionWindow& w, const char* key)
    {
        return w.findChild<QLineEdit*>(QStringLiteral("Value_") + QLatin1String(key))->text();
    }
    QString Label(InspectionWindow& w, const char* key)
    {
        return w.findChild<QLabel*>(QStringLiteral("Label_") + QLatin1String(key))->text();
    }
    QStringList Findings(InspectionWindow& w)
    {
        QStringList lines;
        for (int i = 0; i < w.findings->count(); ++i)
            lines << w.findings->item(i)->text();
        return lines;
    }
};

TEST_F(InspectionWindowTest, FollowsTheCurrentGear)
{
    InspectionWindow& w = Open();
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.windowModality(), Qt::NonModal);
    EXPECT_EQ(w.windowTitle(), QStringLiteral("検査寸法"));
    // Slot 0 at opening: the default gear, its exact tip thickness beside the box's 0.682.
    EXPECT_EQ(w.gearLabel->text(), QStringLiteral("検査寸法　m 1　z 18　x 0　α 20°"));
    EXPECT_EQ(Value(w, "tip_thickness"), QStringLiteral("0.6817"));

    Calculate("2", "20", "0");
    EXPECT_EQ(Label(w, "span_k"), QStringLiteral("またぎ歯厚 W（k＝3）"));
    EXPECT_EQ(Value(w, "span_k"), QStringLiteral("15.3209"));
    EXPECT_EQ(Value(w, "span_k_plus_1"), QStringLiteral("21.2251"));
    EXPECT_EQ(Value(w, "undercut"), QStringLiteral("なし"));

    Calculate("1", "10", "0");
    EXPECT_EQ(Value(w, "undercut"), QStringLiteral("あり"));
    EXPECT_EQ(Value(w, "span_k_plus_1"), QStringLiteral("―"));
    EXPECT_EQ(w.findChild<QLabel*>(QStringLiteral("Reason_span_k_plus_1"))->text(),
              QStringLiteral("測定点が歯先円の外にあります"));
    EXPECT_EQ(Findings(w), QStringList{QStringLiteral("警告：創成歯形にｱﾝﾀﾞｰｶｯﾄ発生")});

    // A stopped calculation (71 teeth) leaves the window as it was; a recall of row 2 shows that gear.
    Calculate("1", "71", "0");
    EXPECT_EQ(Value(w, "undercut"), QStringLiteral("あり"));
    ClickGridCell(*form().sg1, 1, 2);
    EXPECT_EQ(Value(w, "span_k"), QStringLiteral("15.3209"));
    EXPECT_TRUE(m_errors.isEmpty()) << m_errors.join('\n').toStdString();
}

TEST_F(InspectionWindowTest, TypedBoxesAndTheirErrors)
{
    Calculate("2", "20", "0");
    InspectionWindow& w = Open();
    w.pinEdit->setText(QStringLiteral("abc"));
    w.showButton->click();
    EXPECT_EQ(m_errors, QStringList{QStringLiteral("'abc' は浮動小数点数ではありません.")});
    EXPECT_EQ(Label(w, "pin_diameter"), QStringLiteral("ピン径 dp（理想）"));   // nothing changed

    form().setDecimalSeparator(",");
    w.pinEdit->setText(QStringLiteral("3,5"));
    w.spanEdit->setText(QStringLiteral("4.0"));
    w.showButton->click();
    EXPECT_EQ(m_errors.last(), QStringLiteral("'4.0' は整数ではありません."));
    w.spanEdit->setText(QStringLiteral("4"));
    w.showButton->click();
    EXPECT_EQ(m_errors.size(), 2);
    EXPECT_EQ(Label(w, "pin_diameter"), QStringLiteral("ピン径 dp"));
    EXPECT_EQ(Value(w, "pin_diameter"), QStringLiteral("3,5000"));
    EXPECT_EQ(Value(w, "span_k"), QStringLiteral("21,2251"));

    w.copyButton->click();
    const QString copied = QGuiApplication::clipboard()->text();
    EXPECT_TRUE(copied.startsWith(QStringLiteral("検査寸法　m 2　z 20　x 0　α 20°\n"))) << copied.toStdString();
    EXPECT_TRUE(copied.contains(QStringLiteral("\nまたぎ歯厚 W（k＝4）\t21,2251\n"))) << copied.toStdString();
}

TEST_F(InspectionWindowTest, SaysWhichTipThicknessIsWhich)
{
    // 14.5 degrees (only a file brings it): the box keeps the 20-degree search's value.
    gearTable[kCurrentSlot].PressureAngleIndex = 0;
    Calculate("1", "18", "0");
    InspectionWindow& w = Open();
    EXPECT_EQ(Value(w, "tip_thickness"), QStringLiteral("0.8509"));
    EXPECT_EQ(Findings(w).last(), QStringLiteral("主画面の「歯先歯厚」0.682 は 20° の近似探索による値、"
                                                 "ここの sa は歯車の圧力角による厳密な値です"));
}

}  // namespace
