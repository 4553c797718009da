// SPDX-License-Identifier: GPL-3.0-or-later
// The tool windows as they meet the main window: a 14.5° gear through かみあい
// and 歯形の書き出し, where they open, how they look, and ヘルプ without a browser.
#include "formfixture.h"

#include "export/profileexport.h"
#include "ui/exportdialog.h"
#include "ui/inspectionwindow.h"
#include "ui/layout.h"
#include "ui/pairwindow.h"
#include "ui/toolwindow.h"

#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QTemporaryDir>

#include <vector>

namespace {

class ToolWindowTest : public FormTest {
protected:
    // Slot 0 of a 14.5° gear, as a gear data file brings it, then calculated.
    void CalculateAt14Point5(const QString& module, const QString& teeth)
    {
        form().state().table[kCurrentSlot].PressureAngleIndex = 0;
        Calculate(module, teeth, "0");
    }
    template <typename Window>
    Window& Open(const char* item, const char* name)
    {
        form().Tool1->findChild<QAction*>(QString::fromLatin1(item))->trigger();
        auto* window = form().findChild<Window*>(QString::fromLatin1(name));
        EXPECT_NE(window, nullptr);
        return *window;
    }
};

TEST_F(ToolWindowTest, FourteenAndAHalfDegreesInThePairWindow)
{
    CalculateAt14Point5("2", "20");
    auto& w = Open<PairWindow>("PairTool", "PairWindow");
    EXPECT_EQ(w.findChild<QLineEdit*>("PairPressureAngle")->text(), "14.5");
    // z1 = z2 = 20, x = 0: db = 40 cos 14.5°, sa from the involute of 14.5°, εα from the tips.
    const std::pair<const char*, int> boxes[] = {{"working_pressure_angle", 0}, {"center_distance", 0},
                                                 {"base_diameter", 0},          {"base_diameter", 1},
                                                 {"tip_thickness", 0},          {"contact_ratio", 0}};
    QStringList texts;
    for (const auto& [key, gear] : boxes)
        texts << w.resultBox(key, gear)->text();
    EXPECT_EQ(texts, (QStringList{"14.5000", "40.000", "38.726", "38.726", "1.732", "1.787"}));
    // At 14.5° twenty teeth without shift are undercut by the rack (x_min = 1 - z sin²α / 2 = 0.373).
    QStringList findings;
    for (int i = 0; i < w.findChild<QListWidget*>("PairFindings")->count(); ++i)
        findings << w.findChild<QListWidget*>("PairFindings")->item(i)->text();
    EXPECT_TRUE(findings.contains("警告：歯車１：創成歯形にｱﾝﾀﾞｰｶｯﾄ発生") &&
                findings.contains("警告：歯車２：創成歯形にｱﾝﾀﾞｰｶｯﾄ発生"))
        << findings.join('|').toStdString();
    EXPECT_TRUE(m_errors.isEmpty()) << m_errors.join('|').toStdString();
}

TEST_F(ToolWindowTest, FourteenAndAHalfDegreesInTheExportDialog)
{
    CalculateAt14Point5("2", "20");
    QTemporaryDir dir;
    QString label;
    SetExportFormAnswer([&](ExportForm& f) {
        label = f.m_gearLabel->text();
        return true;
    });
    SetExportFileAnswer([&](const QString&, QString&) { return dir.filePath("g14.dxf"); });
    form().Tool1->findChild<QAction*>(QStringLiteral("ExportProfile1"))->trigger();
    SetExportFormAnswer({});
    SetExportFileAnswer({});
    EXPECT_EQ(label, QStringLiteral("モジュール 2　歯数 20　転位係数 0　圧力角 14.5°"));
    QFile file(dir.filePath("g14.dxf"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << m_errors.join('|').toStdString();
    const std::string written = file.readAll().toStdString();
    GearSpec at14{2.0, 20, 0.0, 14.5}, at20 = at14;
    at14.cutter.tipRadius = at20.cutter.tipRadius = 0.76;
    at20.pressureAngleDegrees = 20.0;
    EXPECT_EQ(written, ProfileDxf(BuildGearProfile(at14, 0.001), 0.0));
    EXPECT_NE(written, ProfileDxf(BuildGearProfile(at20, 0.001), 0.0));
}

TEST(ToolWindowFrame, BesideTheMainWindowInsideTheAvailableArea)
{
    const QRect screen(0, 0, 1366, 728);   // a 768-px screen less a 40-px panel
    const struct {
        QRect main;
        QSize tool;
        std::vector<QRect> others;
        QRect want;
    } cases[] = {
        {{100, 50, 656, 532}, {400, 555}, {}, {764, 50, 400, 555}},    // on the right
        {{700, 50, 656, 532}, {400, 555}, {}, {292, 50, 400, 555}},    // no room right: on the left
        {{400, 282, 656, 532}, {400, 555}, {}, {0, 173, 400, 555}},    // the left edge, raised to fit, covers nothing
        {{0, 0, 656, 532}, {400, 900}, {}, {664, 0, 400, 728}},        // taller than the area: shrunk to it
        // The right taken by another tool window: the left, over 300 px of the main window rather than all of the other.
        {{100, 50, 656, 532}, {400, 555}, {{764, 50, 400, 555}}, {0, 50, 400, 555}},
        // Covering something everywhere: the place that covers least (the right edge, 100 px of the main window).
        {{300, 0, 656, 532}, {510, 600}, {}, {856, 0, 510, 600}},
    };
    for (const auto& c : cases) {
        const QRect got = ToolWindowFrame(c.main, c.tool, screen, c.others);
        EXPECT_EQ(got, c.want) << c.main.x() << "," << c.main.y();
        EXPECT_TRUE(screen.contains(got));
    }
}

TEST_F(ToolWindowTest, OpenInsideTheScreenInTheMainWindowsFontAndColours)
{
    form().show();
    auto& inspection = Open<InspectionWindow>("InspectionItem", "InspectionWindow");
    auto& pair = Open<PairWindow>("PairTool", "PairWindow");
    const QRect available = form().screen()->availableGeometry();
    for (QWidget* w : {static_cast<QWidget*>(&inspection), static_cast<QWidget*>(&pair)}) {
        EXPECT_TRUE(available.contains(w->geometry())) << w->objectName().toStdString();
        EXPECT_EQ(w->font(), form().font());
        EXPECT_EQ(w->palette().color(QPalette::Window), layout::kWindowColour);
        for (QLineEdit* box : w->findChildren<QLineEdit*>()) {
            if (box->isReadOnly()) {
                EXPECT_TRUE(box->styleSheet().contains("#E4E4E4")) << box->objectName().toStdString();
            }
        }
    }
    EXPECT_TRUE(pair.resultBox("center_distance")->isReadOnly());
    EXPECT_TRUE(pair.findChild<QLineEdit*>("PairModule")->isReadOnly());
    EXPECT_FALSE(pair.findChild<QLineEdit*>("PairTeeth2")->isReadOnly());
}

TEST_F(ToolWindowTest, HelpWithoutABrowserNamesThePage)
{
    form().Help2->trigger();   // no desktop handler on the offscreen platform
    EXPECT_EQ(m_errors, QStringList{QStringLiteral("ヘルプを表示するブラウザーを起動できませんでした。ヘルプのページ: ") +
                                    QCoreApplication::applicationDirPath() + QStringLiteral("/helphelp.htm.")});
}

}  // namespace
