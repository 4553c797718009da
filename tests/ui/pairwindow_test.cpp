// SPDX-License-Identifier: GPL-3.0-or-later
// The かみあい window on the real main window: it follows the current gear,
// never writes the gear table, and reports bad input in the error box.
#include "formfixture.h"

#include "ui/pairwindow.h"

#include "commands/mate.h"
#include "commands/tolerancetext.h"
#include "ui/backlashpanel.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QRadioButton>
#include <QTemporaryDir>

#include <vector>

namespace {

class PairWindowTest : public FormTest {
protected:
    PairWindow& Open()
    {
        form().findChild<QAction*>(QStringLiteral("PairTool"))->trigger();
        auto* window = form().findChild<PairWindow*>(QStringLiteral("PairWindow"));
        EXPECT_NE(window, nullptr);
        EXPECT_TRUE(window->isVisible());
        return *window;
    }
    static void Type(QLineEdit* box, const QString& text)
    {
        box->setText(text);
        box->setModified(true);   // as a user's typing leaves it
    }
    static QStringList Gear1(PairWindow& w)
    {
        return {w.findChild<QLineEdit*>("PairModule")->text(), w.findChild<QLineEdit*>("PairPressureAngle")->text(), w.findChild<QLineEdit*>("PairTeeth1")->text(), w.findChild<QLineEdit*>("PairShift1")->text(),
                w.findChild<QLineEdit*>("PairTeeth2")->text()};
    }
    static QStringList Findings(PairWindow& w)
    {
        QStringList lines;
        for (int i = 0; i < w.findChild<QListWidget*>("PairFindings")->count(); ++i)
            lines << w.findChild<QListWidget*>("PairFindings")->item(i)->text();
        return lines;
    }
    static QStringList Texts(PairWindow& w, const std::vector<std::pair<const char*, int>>& boxes)
    {
        QStringList texts;
        for (const auto& [key, gear] : boxes)
            texts << w.resultBox(key, gear)->text();
        return texts;
    }
};

const std::vector<std::pair<const char*, int>> kReferenceBoxes = {
    {"working_pressure_angle", 0}, {"center_distance", 0}, {"tip_diameter", 0}, {"tip_diameter", 1}};

TEST_F(PairWindowTest, FollowsTheCurrentGearAndNeverWritesTheTable)
{
    form().setDecimalSeparator(",");
    PairWindow& w = Open();
    EXPECT_EQ(Gear1(w), (QStringList{"1", "20", "18", "0", "20"}));
    EXPECT_EQ(Findings(w), QStringList{"警告＝０"});

    Calculate("3", "12", "0,6");
    EXPECT_EQ(Gear1(w), (QStringList{"3", "20", "12", "0,6", "20"}));
    Type(w.findChild<QLineEdit*>("PairTeeth2"), "24");
    Type(w.findChild<QLineEdit*>("PairShift2"), "0,36");
    std::vector<std::uint8_t> before(GearTableBytes(), GearTableBytes() + kGearTableBytes);
    w.findChild<QPushButton*>("PairCalculate")->click();
    EXPECT_EQ(Texts(w, kReferenceBoxes), (QStringList{"26,0886", "56,500", "44,840", "79,400"}));
    EXPECT_EQ(std::vector<std::uint8_t>(GearTableBytes(), GearTableBytes() + kGearTableBytes), before);

    // Another gear in the main window: gear 1 follows, the typed mate stays.
    Type(w.findChild<QLineEdit*>("PairShift2"), "0");
    Calculate("2", "20", "0");
    EXPECT_EQ(Gear1(w), (QStringList{"2", "20", "20", "0", "24"}));
    EXPECT_EQ(Texts(w, kReferenceBoxes), (QStringList{"20,0000", "44,000", "44,000", "52,000"}));
    EXPECT_TRUE(m_errors.isEmpty());
}

TEST_F(PairWindowTest, UntouchedMateFollowsTheRecord)
{
    PairWindow& w = Open();
    gearTable[kCurrentSlot].Teeth2 = 40;
    Q_EMIT form().currentGearChanged();
    EXPECT_EQ(w.findChild<QLineEdit*>("PairTeeth2")->text(), "40");
    EXPECT_EQ(w.resultBox("center_distance")->text(), "29.000");
}

TEST_F(PairWindowTest, CentreDistanceGivenAndCopied)
{
    Calculate("3", "12", "0.6");
    PairWindow& w = Open();
    Type(w.findChild<QLineEdit*>("PairTeeth2"), "24");
    Type(w.findChild<QLineEdit*>("PairShift2"), "0.36");
    w.findChild<QPushButton*>("PairCalculate")->click();
    w.findChild<QRadioButton*>("PairFromCenterDistance")->click();   // starts at the centre distance just computed
    EXPECT_EQ(w.findChild<QLineEdit*>("PairCenterDistance")->text(), "56.49986972");
    EXPECT_EQ(Texts(w, {{"shift_sum", 0}, {"shift", 0}, {"shift", 1}}), (QStringList{"0.960000", "0.640000", "0.320000"}));
    w.findChild<QPushButton*>("PairCopy")->click();
    const QString copied = QGuiApplication::clipboard()->text().remove(QLatin1Char('\r'));
    EXPECT_TRUE(copied.startsWith("かみあい（中心距離から）\nモジュール m\t3\n") &&
                copied.contains("\n歯先円直径 da（短縮後）\t45.080\t79.160\n")) << copied.toStdString();
}

// The mate: a ring around the current gear, a rack under it; each shows its own rows.
TEST_F(PairWindowTest, RingAndRackAsTheMate)
{
    Calculate("14", "17", "0.2");
    PairWindow& w = Open();
    Type(w.findChild<QLineEdit*>("PairTeeth2"), "96");
    Type(w.findChild<QLineEdit*>("PairShift2"), "0.5");
    w.findChild<QRadioButton*>("PairMateInternal")->click();
    EXPECT_EQ(w.mate(), MateKind::Internal);
    EXPECT_EQ(Texts(w, {{"working_pressure_angle", 0}, {"center_distance", 0}, {"tip_diameter", 1}}),
              (QStringList{"21.1251", "557.089", "1330.000"}));
    EXPECT_TRUE(w.resultBox("trimming_margin")->isVisibleTo(&w));
    EXPECT_FALSE(w.resultBox("shift_sum")->isVisibleTo(&w));
    w.findChild<QRadioButton*>("PairFromCenterDistance")->click();   // the pinion keeps its shift, the ring takes the difference
    EXPECT_EQ(w.findChild<QLineEdit*>("PairCenterDistance")->text(), "557.08874151");
    EXPECT_EQ(w.resultBox("shift", 1)->text(), "0.500000");

    w.findChild<QRadioButton*>("PairMateRack")->click();
    EXPECT_TRUE(w.findChild<QRadioButton*>("PairFromShifts")->isChecked());
    EXPECT_FALSE(w.findChild<QLineEdit*>("PairTeeth2")->isEnabled() || w.findChild<QRadioButton*>("PairFromCenterDistance")->isEnabled());
    EXPECT_EQ(Texts(w, {{"center_to_reference_line", 0}, {"rack_chordal_thickness", 0}}),
              (QStringList{"121.800", "21.9911"}));
    EXPECT_FALSE(w.resultBox("center_distance")->isVisibleTo(&w));
    w.findChild<QPushButton*>("PairCopy")->click();
    EXPECT_TRUE(QGuiApplication::clipboard()->text().startsWith("かみあい（ラック）\r\n")) << Findings(w).join('|').toStdString();
    EXPECT_TRUE(m_errors.isEmpty()) << m_errors.join('|').toStdString();
}

TEST_F(PairWindowTest, BadInputInTheErrorBoxFollowFailuresInTheList)
{
    PairWindow& w = Open();
    Type(w.findChild<QLineEdit*>("PairShift2"), "abc");
    w.findChild<QPushButton*>("PairCalculate")->click();
    EXPECT_EQ(m_errors, QStringList{"'abc' は浮動小数点数ではありません."});
    EXPECT_EQ(w.resultBox("center_distance")->text(), "");
    EXPECT_FALSE(w.findChild<QPushButton*>("PairCopy")->isEnabled());

    // A right-to-left mark pasted before the digits stays inside its quotes.
    m_errors.clear();
    Type(w.findChild<QLineEdit*>("PairShift2"), QStringLiteral("\u200f12"));
    w.findChild<QPushButton*>("PairCalculate")->click();
    EXPECT_EQ(m_errors, QStringList{QStringLiteral("'\u2068\u200f12\u2069' は浮動小数点数ではありません.")});

    m_errors.clear();
    Type(w.findChild<QLineEdit*>("PairShift2"), "2");
    Calculate("1", "60", "-3");
    EXPECT_EQ(Findings(w), QStringList{"エラー：歯車１の歯先円が基礎円の内側にあり、かみあいません"});
    EXPECT_TRUE(m_errors.isEmpty());
}

// 中心距離から: the shift sum shared as chosen; each choice recomputes.
TEST_F(PairWindowTest, SplitOfTheShiftSum)
{
    Calculate("3", "18", "0");
    PairWindow& w = Open();
    auto* split = w.findChild<QComboBox*>("PairSplit");
    ASSERT_NE(split, nullptr);
    EXPECT_EQ(split->accessibleName(), "転位の配分");
    QStringList items;
    for (int i = 0; i < split->count(); ++i)
        items << split->itemText(i);
    EXPECT_EQ(items, (QStringList{"歯数比（従来）", "切下げなし", "すべり率の釣り合い"}));
    EXPECT_FALSE(split->isEnabled());   // the shifts are given
    Type(w.findChild<QLineEdit*>("PairTeeth2"), "45");
    w.findChild<QPushButton*>("PairCalculate")->click();
    w.findChild<QRadioButton*>("PairFromCenterDistance")->click();
    EXPECT_TRUE(split->isEnabled());
    Type(w.findChild<QLineEdit*>("PairCenterDistance"), "96");
    w.findChild<QPushButton*>("PairCalculate")->click();
    const std::vector<std::pair<const char*, int>> boxes = {{"shift", 0}, {"shift", 1}, {"shift_sum", 0}};
    EXPECT_EQ(Texts(w, boxes), (QStringList{"0.377445", "0.150978", "0.528423"}));
    // Gear 1 at its undercut limit (1.25 - 0.38 (1 - sin 20°) - 18 sin² 20° / 2 = -0.052832).
    split->setCurrentIndex(1);
    EXPECT_EQ(Texts(w, boxes), (QStringList{"-0.052832", "0.581256", "0.528423"}));
    split->setCurrentIndex(2);
    EXPECT_EQ(w.resultBox("specific_sliding", 0)->text(), w.resultBox("specific_sliding", 1)->text());
    EXPECT_EQ(w.resultBox("shift_sum")->text(), "0.528423");
    w.findChild<QPushButton*>("PairCopy")->click();
    const QString copied = QGuiApplication::clipboard()->text();
    EXPECT_TRUE(copied.contains("\r\n歯元のすべり率 ζ\t" + w.resultBox("specific_sliding", 0)->text() + "\t")) << copied.toStdString();

    // A ring keeps the pinion's shift: no split to choose, and no row of sliding.
    w.findChild<QRadioButton*>("PairMateInternal")->click();
    EXPECT_FALSE(split->isEnabled());
    EXPECT_FALSE(w.resultBox("specific_sliding", 0)->isVisibleTo(&w));
    w.findChild<QRadioButton*>("PairMateExternal")->click();
    EXPECT_TRUE(split->isEnabled() && w.resultBox("specific_sliding", 1)->isVisibleTo(&w));
    w.findChild<QRadioButton*>("PairFromShifts")->click();
    EXPECT_FALSE(split->isEnabled());
    EXPECT_TRUE(m_errors.isEmpty()) << m_errors.join('|').toStdString();
}

// A design saved from a centre distance opens with the split that gave its shifts.
TEST_F(PairWindowTest, TheSplitComesBackWithTheDesign)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("split.tsumugi"));
    SetDesignFileAnswer([&](bool, const QString&) { return file; });
    Calculate("3", "18", "0");
    PairWindow& w = Open();
    Type(w.findChild<QLineEdit*>("PairTeeth2"), "45");
    w.findChild<QPushButton*>("PairCalculate")->click();
    w.findChild<QRadioButton*>("PairFromCenterDistance")->click();
    Type(w.findChild<QLineEdit*>("PairCenterDistance"), "96");
    auto* split = w.findChild<QComboBox*>("PairSplit");
    for (int chosen : {1, 2}) {
        split->setCurrentIndex(chosen);
        const QStringList shifts = Texts(w, {{"shift", 0}, {"shift", 1}});
        w.findChild<QPushButton*>("PairSaveDesign")->click();
        split->setCurrentIndex(0);
        EXPECT_NE(Texts(w, {{"shift", 0}}), shifts.mid(0, 1));
        w.findChild<QPushButton*>("PairOpenDesign")->click();
        EXPECT_EQ(split->currentIndex(), chosen);
        EXPECT_EQ(Texts(w, {{"shift", 0}, {"shift", 1}}), shifts);
    }
    SetDesignFileAnswer({});
    EXPECT_TRUE(m_errors.isEmpty()) << m_errors.join('|').toStdString();
}

// A pinion in a ring and on a rack has its backlash too: the window shows
// the numbers ComputeMate gives for the same pair and allowances, and the
// second row of allowances is the ring's or the rack's tooth.
TEST_F(PairWindowTest, BacklashInARingAndOnARack)
{
    Calculate("3", "18", "0");
    PairWindow& w = Open();
    auto* panel = w.findChild<BacklashPanel*>("BacklashPanel");
    for (int gear = 0; gear < 2; ++gear) {
        Type(panel->allowance[gear][0], "-0.05");
        Type(panel->allowance[gear][1], "-0.10");
    }
    const struct {
        const char* button;
        MateKind mate;
        const char* row;
    } mates[] = {{"PairMateInternal", MateKind::Internal, "歯厚許容差 内歯車"}, {"PairMateRack", MateKind::Rack, "歯厚許容差 ラック"}};
    for (const auto& m : mates) {
        SCOPED_TRACE(m.button);
        Type(w.findChild<QLineEdit*>("PairTeeth2"), "72");
        w.findChild<QRadioButton*>(m.button)->click();
        w.findChild<QPushButton*>("PairCalculate")->click();
        ASSERT_TRUE(m_errors.isEmpty()) << m_errors.join('|').toStdString();
        EXPECT_EQ(w.findChild<QLabel*>("BacklashInputLabel2")->text(), QString::fromUtf8(m.row));
        EXPECT_EQ(panel->allowance[1][0]->accessibleName(), QString::fromUtf8(m.row) + " 上");
        EXPECT_TRUE(panel->allowance[1][0]->isEnabled() && panel->allowance[1][1]->isEnabled());

        MateRequest request;
        request.gears.module = 3.0;
        request.gears.teeth = {18, m.mate == MateKind::Rack ? 0 : 72};
        request.gears.mate = m.mate;
        request.allowances = [] {
            BacklashInput in;
            in.thickness = {ThicknessAllowance{-0.05, -0.10}, ThicknessAllowance{-0.05, -0.10}};
            return in;
        };
        request.backlash = true;
        const MateOutcome core = ComputeMate(request, ".");
        ASSERT_TRUE(core.backlash.has_value());
        int rows = 0;
        for (const BacklashRow& row : BacklashRows(*core.backlash, ".")) {
            for (int side = 0; side < 2; ++side)
                if (QLineEdit* box = panel->results.at(row.key)[side]) {
                    EXPECT_EQ(box->text().toStdString(), row.texts[side]) << row.key;
                    ++rows;
                }
        }
        EXPECT_EQ(rows, 7);
        // Without a centre-distance allowance: j_bn = (0.05 + 0.05) cos 20° to (0.10 + 0.10) cos 20°.
        EXPECT_EQ(panel->results.at("normal_backlash")[0]->text(), "0.094");
        EXPECT_EQ(panel->results.at("normal_backlash")[1]->text(), "0.188");
        for (const QString& finding : Findings(w))
            EXPECT_FALSE(finding.contains("外歯車どうし")) << finding.toStdString();
    }
    w.findChild<QRadioButton*>("PairMateExternal")->click();
    EXPECT_EQ(w.findChild<QLabel*>("BacklashInputLabel2")->text(), "歯厚許容差 歯車２");
}

}  // namespace
