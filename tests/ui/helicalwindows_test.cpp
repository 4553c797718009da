// SPDX-License-Identifier: GPL-3.0-or-later
// Helical gears in the tool windows: 検査寸法 shows the main window's gear
// with a helix angle and hand typed there, read in the normal section by the core.
#include "formfixture.h"

#include "commands/inspectiontext.h"
#include "geometry/gearmodel.h"
#include "geometry/inspection.h"
#include "ui/inspectionwindow.h"
#include "ui/tolerancepanel.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMenu>

namespace {

class HelicalInspectionTest : public FormTest {
protected:
    InspectionWindow& Open()
    {
        form().Tool1->findChild<QAction*>(QStringLiteral("InspectionItem"))->trigger();
        InspectionWindow* window = FindInspectionWindow(form());
        EXPECT_NE(window, nullptr);
        return *window;
    }
    static QString Value(InspectionWindow& w, const char* key)
    {
        return w.findChild<QLineEdit*>(QStringLiteral("Value_") + QLatin1String(key))->text();
    }
    static QStringList Findings(InspectionWindow& w)
    {
        QStringList lines;
        for (int i = 0; i < w.findings->count(); ++i)
            lines << w.findings->item(i)->text();
        return lines;
    }
    // Types the helix and presses 再計算.
    static void ShowHelix(InspectionWindow& w, const QString& degrees, Hand hand)
    {
        w.helixEdit->setText(degrees);
        w.handBox->setCurrentIndex(w.handBox->findData(static_cast<int>(hand)));
        w.showButton->click();
    }
    // The handbook's pinion: m_n 3, z 12, x_n 0.09809, alpha_n 20 degrees, beta 30 degrees.
    static GearSpec Pinion(Hand hand)
    {
        GearSpec g;
        g.module = 3.0;
        g.teeth = 12;
        g.shift = 0.09809;
        g.pressureAngleDegrees = 20.0;
        g.helixAngleDegrees = 30.0;
        g.hand = hand;
        return g;
    }
    // Every value box against the core's inspection of `gear`, row by row.
    static void ExpectShows(InspectionWindow& w, const GearSpec& gear, const InspectionRequest& request = {})
    {
        const InspectionResult expected = ComputeInspection(gear, request);
        for (const InspectionRow& row : InspectionRows(gear, expected))
            EXPECT_EQ(Value(w, row.key).toStdString(), InspectionValueText(row, ".")) << row.key;
    }
};

TEST_F(HelicalInspectionTest, ShowsTheHelicalGearOfTheMainWindowsValues)
{
    Calculate("3", "12", "0.09809");
    InspectionWindow& w = Open();
    EXPECT_EQ(w.helixEdit->objectName(), QStringLiteral("InspectionHelixAngle"));
    EXPECT_EQ(w.helixEdit->accessibleName(), QStringLiteral("ねじれ角 β（°）"));
    EXPECT_EQ(w.handBox->objectName(), QStringLiteral("InspectionHand"));
    EXPECT_EQ(w.handBox->accessibleName(), QStringLiteral("ねじれ方向"));
    EXPECT_FALSE(w.helixValues->isVisibleTo(&w));   // a spur gear has no transverse values of its own
    const QString spurThickness = Value(w, "tooth_thickness");

    ShowHelix(w, QStringLiteral("30"), Hand::Left);
    ASSERT_TRUE(m_errors.isEmpty()) << m_errors.join('\n').toStdString();
    ExpectShows(w, Pinion(Hand::Left));
    EXPECT_NE(Value(w, "tooth_thickness"), spurThickness);
    EXPECT_EQ(w.gearLabel->text(), QStringLiteral("検査寸法　m 3　z 12　x 0.09809　α 20°　β 30°　左　（検査寸法は歯直角の値）"));
    // The transverse values as the core's helical report words them (α_t and d as the handbook prints them).
    EXPECT_TRUE(w.helixValues->isVisibleTo(&w));
    const QStringList transverse = w.helixValues->text().split(QLatin1Char('\n'));
    EXPECT_EQ(transverse.size(), 10);
    EXPECT_TRUE(transverse.contains(QStringLiteral("正面圧力角 α_t（°）　22.79588"))) << w.helixValues->text().toStdString();
    EXPECT_TRUE(transverse.contains(QStringLiteral("基準円直径 d　41.5692"))) << w.helixValues->text().toStdString();
    EXPECT_TRUE(transverse.contains(QStringLiteral("正面モジュール m_t　3.464102")));

    // The hand changes no number of a single gear; the main window keeps its spur gear.
    ShowHelix(w, QStringLiteral("30"), Hand::Right);
    ExpectShows(w, Pinion(Hand::Right));
    EXPECT_TRUE(w.gearLabel->text().contains(QStringLiteral("β 30°　右")));
    EXPECT_EQ(Inputs(), (QStringList{"3", "12", "0.09809"}));

    // 0 is the spur gear again, as is an empty box.
    ShowHelix(w, QStringLiteral("0"), Hand::Right);
    EXPECT_EQ(Value(w, "tooth_thickness"), spurThickness);
    EXPECT_FALSE(w.helixValues->isVisibleTo(&w));
    EXPECT_EQ(w.gearLabel->text(), QStringLiteral("検査寸法　m 3　z 12　x 0.09809　α 20°"));
    EXPECT_TRUE(m_errors.isEmpty()) << m_errors.join('\n').toStdString();
}

TEST_F(HelicalInspectionTest, FollowsTheMainWindowWithTheHelixKept)
{
    Calculate("3", "12", "0.09809");
    InspectionWindow& w = Open();
    ShowHelix(w, QStringLiteral("30"), Hand::Left);
    Calculate("2", "40", "0.5");
    GearSpec g = Pinion(Hand::Left);
    g.module = 2.0;
    g.teeth = 40;
    g.shift = 0.5;
    ExpectShows(w, g);
    EXPECT_TRUE(m_errors.isEmpty()) << m_errors.join('\n').toStdString();
}

TEST_F(HelicalInspectionTest, RefusedHelixAnglesChangeNothing)
{
    Calculate("3", "12", "0.09809");
    InspectionWindow& w = Open();
    ShowHelix(w, QStringLiteral("30"), Hand::Left);
    const QString shown = Value(w, "span_k");
    const struct {
        const char* typed;
        const char* message;
    } cases[] = {
        {"abc", "'abc' は浮動小数点数ではありません."},
        {"90", "ねじれ角が 0° 以上 90° 未満ではありません"},
        {"-5", "ねじれ角が 0° 以上 90° 未満ではありません"},
    };
    for (const auto& c : cases) {
        m_errors.clear();
        ShowHelix(w, QString::fromUtf8(c.typed), Hand::Left);
        ASSERT_EQ(m_errors.size(), 1) << c.typed;
        EXPECT_TRUE(m_errors[0].contains(QString::fromUtf8(c.message))) << m_errors[0].toStdString();
        EXPECT_EQ(Value(w, "span_k"), shown) << c.typed;
    }
}

TEST_F(HelicalInspectionTest, TheSpanIsCheckedAgainstTheFaceWidthTyped)
{
    Calculate("3", "12", "0.09809");
    InspectionWindow& w = Open();
    ShowHelix(w, QStringLiteral("30"), Hand::Left);
    EXPECT_TRUE(Findings(w).filter(QStringLiteral("W sin βb")).isEmpty());
    // Narrower than W sin(beta_b): the core's warning among the findings.
    w.tolerances->faceWidthEdit->setText(QStringLiteral("4"));
    w.showButton->click();
    InspectionRequest request;
    request.faceWidth = 4.0;
    const InspectionResult narrow = ComputeInspection(Pinion(Hand::Left), request);
    ASSERT_EQ(narrow.spanFindings.size(), 1u);
    EXPECT_TRUE(Findings(w).contains(QString::fromStdString(narrow.spanFindings[0]))) << Findings(w).join('\n').toStdString();
    // 20 mm holds the anvils.
    w.tolerances->faceWidthEdit->setText(QStringLiteral("20"));
    w.showButton->click();
    EXPECT_TRUE(Findings(w).filter(QStringLiteral("W sin βb")).isEmpty());
    EXPECT_TRUE(m_errors.isEmpty()) << m_errors.join('\n').toStdString();
}

TEST_F(HelicalInspectionTest, NoDataTableForAHelicalGearYet)
{
    Calculate("3", "12", "0.09809");
    InspectionWindow& w = Open();
    ShowHelix(w, QStringLiteral("30"), Hand::Left);
    w.tolerances->pdfAction->trigger();
    EXPECT_EQ(m_errors, QStringList{QStringLiteral("はすば歯車の要目表はまだ作れません")});
}

}  // namespace
