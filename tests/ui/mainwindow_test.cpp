// SPDX-License-Identifier: GPL-3.0-or-later
#include "formfixture.h"

#include "geardata/tableops.h"
#include "ui/imagebox.h"
#include "ui/layout.h"

#include <QAction>
#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QScreen>

#include <functional>
#include <utility>

namespace {

const QStringList kDefaultResults{"18.000", "20.000", "15.500", "16.914", "0.682"};
const QStringList kNoFindingsTail{"エラー＝０、警告＝０"};

TEST_F(FormTest, StartUpShowsTheDefaultGear)
{
    EXPECT_EQ(form().windowTitle(), QStringLiteral("ツムギ"));
    EXPECT_EQ(Inputs(), (QStringList{"1", "18", "0"}));
    EXPECT_EQ(Results(), kDefaultResults);
    EXPECT_EQ(form().ListBox1->count(), 0);
    EXPECT_EQ(Row(0), (QStringList{"", "ﾓｼﾞｭｰﾙ", "歯数", "転位係数", "歯先円"}));
    for (int row = 1; row <= 20; ++row)
        EXPECT_EQ(Row(row), (QStringList{QString::number(row), "", "", "", ""}));
    EXPECT_EQ(RegisteredCount, 0);
    EXPECT_EQ(gearTable[0].InUse, 1);
    EXPECT_EQ(gearTable[0].TipThickness, 0.6816715558235892);
    for (int slot = 1; slot <= 20; ++slot)
        EXPECT_EQ(gearTable[slot].InUse, 0);
    const std::uint8_t* spill = GearTableBytes() + 152 * 21;
    for (int i = 0; i < 152; ++i)
        ASSERT_EQ(spill[i], 0);
    EXPECT_TRUE(m_errors.isEmpty());
}

TEST_F(FormTest, CalculateRewritesTheInputsInTheirOwnFormats)
{
    struct Case {
        QString module, teeth, shift;
        QStringList inputs;
    };
    const Case cases[] = {
        {"1.50", "18", "0", {"1.5", "18", "0"}},
        {"1", "+18", "0", {"1", "18", "0"}},
        {"1", " 18", "0", {"1", "18", "0"}},
        {" 2 ", "$0C", "0.30", {"2", "12", "0.3"}},
        {"1e0", "18", "-0", {"1", "18", "0"}},
    };
    for (const Case& c : cases) {
        Calculate(c.module, c.teeth, c.shift);
        EXPECT_EQ(Inputs(), c.inputs) << c.module.toStdString() << " " << c.teeth.toStdString();
    }
    EXPECT_EQ(Results(), (QStringList{"18.000", "20.000", "15.500", "16.914", "0.682"}));
    EXPECT_TRUE(m_errors.isEmpty()) << m_errors.join('|').toStdString();
}

TEST_F(FormTest, SecondWorkedExample)
{
    Calculate("2", "12", "0.3");
    EXPECT_EQ(Results(), (QStringList{"24.000", "29.200", "20.200", "22.553", "0.871"}));
    EXPECT_EQ(Messages(), QStringList{"警告：歯数Ｚ１が小さい、ｱﾝﾀﾞｰｶｯﾄ発生"});
    EXPECT_EQ(Row(1), (QStringList{"1", "2.000", "12", "0.300", "29.200"}));
}

// A bad number ends the command at its box: the boxes keep what was typed, the
// fields parsed before it keep their new values, nothing else changes.
TEST_F(FormTest, BadNumbersAndWhatSurvivesThem)
{
    struct Case {
        QString module, teeth, shift;
        QString message;
        double slotModule;
        std::int32_t slotTeeth;
        double slotShift;
    };
    const Case cases[] = {
        {"2", "18.0", "0.5", "'18.0' は整数ではありません.", 2.0, 18, 0.0},
        {"", "20", "0.5", "'' は浮動小数点数ではありません.", 1.0, 18, 0.0},
        {"3", "20", "0,5", "'0,5' は浮動小数点数ではありません.", 3.0, 20, 0.0},
        {"1e309", "20", "0", "浮動小数点数のオーバーフロー.", 1.0, 18, 0.0},
        {"1", "2147483648", "0", "'2147483648' は整数ではありません.", 1.0, 18, 0.0},
        {"1", "18", "1e99999", "'1e99999' は浮動小数点数ではありません.", 1.0, 18, 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message.toStdString());
        gearTable[0].Module = 1.0;
        gearTable[0].Teeth = 18;
        gearTable[0].Shift = 0.0;
        m_errors.clear();
        Calculate(c.module, c.teeth, c.shift);
        EXPECT_EQ(m_errors, QStringList{c.message});
        EXPECT_EQ(Inputs(), (QStringList{c.module, c.teeth, c.shift}));
        EXPECT_EQ(Results(), kDefaultResults);
        EXPECT_EQ(form().ListBox1->count(), 0);
        EXPECT_EQ(Row(1)[1], QString());
        EXPECT_EQ(gearTable[0].Module, c.slotModule);
        EXPECT_EQ(gearTable[0].Teeth, c.slotTeeth);
        EXPECT_EQ(gearTable[0].Shift, c.slotShift);
    }
}

TEST_F(FormTest, TeethLimits)
{
    const QString z1Warning = QStringLiteral("警告：歯数Ｚ１が小さい、ｱﾝﾀﾞｰｶｯﾄ発生");
    const QString z1Error = QStringLiteral("エラー：歯数Ｚ1が多すぎる、計算不可");

    Calculate("1", "13", "0");
    EXPECT_EQ(Messages(), QStringList{z1Warning});
    EXPECT_EQ(Row(1), (QStringList{"1", "1.000", "13", "0.000", "15.000"}));

    // 14 teeth pass the count rule, but the rack still undercuts them at shift 0:
    // the generated tooth's finding takes the place of the no-findings block.
    Calculate("1", "14", "0");
    EXPECT_EQ(Messages(), QStringList{QStringLiteral("警告：創成歯形にｱﾝﾀﾞｰｶｯﾄ発生")});

    Calculate("1", "70", "0");
    EXPECT_EQ(Messages().size(), 4);
    EXPECT_EQ(Messages().last(), kNoFindingsTail.first());
    EXPECT_EQ(Row(1), (QStringList{"1", "1.000", "70", "0.000", "72.000"}));
    const QStringList results70 = Results();
    const QImage picture70 = form().Image1->image();

    Calculate("1", "71", "0");
    EXPECT_EQ(Messages(), QStringList{z1Error});
    EXPECT_EQ(Results(), results70);
    EXPECT_EQ(form().Image1->image(), picture70);
    EXPECT_EQ(Row(1)[2], QStringLiteral("70"));
    EXPECT_EQ(Row(3)[2], QStringLiteral("13"));
    EXPECT_EQ(Row(4)[1], QString());
    EXPECT_EQ(gearTable[0].Teeth, 71);
    EXPECT_TRUE(m_errors.isEmpty());
    // The view redrawn after the stopped command stays inside the outline buffers.
    form().findChild<QRadioButton*>("RG1_1")->click();
    form().findChild<QRadioButton*>("RG1_0")->click();
    EXPECT_TRUE(m_errors.isEmpty());
}

TEST_F(FormTest, ModuleZeroAndTeethZeroFault)
{
    Calculate("0", "18", "0");
    EXPECT_EQ(m_errors, QStringList{"不正な浮動小数点数演算命令."});
    EXPECT_EQ(Messages().size(), 4);
    EXPECT_EQ(Results(), kDefaultResults);
    EXPECT_EQ(Row(1)[1], QString());
    EXPECT_EQ(gearTable[0].PitchDiameter, 0.0);
    EXPECT_EQ(gearTable[0].TipDiameter, 0.0);
    EXPECT_EQ(gearTable[0].RootDiameter, 0.0);
    EXPECT_EQ(gearTable[0].BaseDiameter, 0.0);
    EXPECT_EQ(gearTable[0].InUse, 1);
    EXPECT_EQ(gearTable[0].TipThickness, 0.6816715558235892);

    m_errors.clear();
    Calculate("1", "0", "0");
    EXPECT_EQ(m_errors, QStringList{"0 による浮動小数点数除算."});
    EXPECT_EQ(Messages(), QStringList{"警告：歯数Ｚ１が小さい、ｱﾝﾀﾞｰｶｯﾄ発生"});
    EXPECT_EQ(Row(1)[1], QString());
    EXPECT_EQ(RegisteredCount, 0);
}

TEST_F(FormTest, NegativeModuleIsComputedDrawnAndRegistered)
{
    Calculate("-1", "18", "0");
    EXPECT_TRUE(m_errors.isEmpty()) << m_errors.join('|').toStdString();
    EXPECT_EQ(Results(), (QStringList{"-18.000", "-20.000", "-15.500", "-16.914", "-0.682"}));
    EXPECT_EQ(Row(1), (QStringList{"1", "-1.000", "18", "0.000", "-20.000"}));
}

TEST_F(FormTest, TipInsideTheBaseCircleShowsNoThickness)
{
    Calculate("1", "18", "-2");
    EXPECT_TRUE(m_errors.isEmpty()) << m_errors.join('|').toStdString();
    EXPECT_EQ(Results(), (QStringList{"18.000", "16.000", "11.500", "16.914", "NAN"}));
}

// An impossible gear is still computed, shown and registered, with its warning.
TEST_F(FormTest, ImpossibleGearIsReportedAndStillRegistered)
{
    Calculate("1", "10", "1.2");
    EXPECT_EQ(Messages(), (QStringList{"警告：歯数Ｚ１が小さい、ｱﾝﾀﾞｰｶｯﾄ発生", "警告：歯先が尖って交差、歯形不成立"}));
    EXPECT_EQ(Row(1), (QStringList{"1", "1.000", "10", "1.200", "14.400"}));
    EXPECT_EQ(Results().last(), QStringLiteral("-0.605"));
}

TEST_F(FormTest, EveryControlAtItsPlace)
{
    // At the opening size, and where the user makes the window larger or smaller.
    form().show();
    const QSize opening = form().size();
    for (const QSize size : {opening, QSize(900, 700), QSize(320, 240)}) {
        form().resize(size);
        EXPECT_EQ(form().size(), size);
        for (const layout::Placement& p : layout::kControls) {
            auto* widget = form().findChild<QWidget*>(QString::fromLatin1(p.name));
            ASSERT_NE(widget, nullptr) << p.name;
            EXPECT_EQ(widget->geometry(), QRect(p.left, p.top, p.width, p.height)) << p.name;
            EXPECT_FALSE(widget->accessibleName().isEmpty()) << p.name;
        }
    }
    form().resize(opening);
    EXPECT_EQ(form().Panel1, form().sg1->parentWidget());
    EXPECT_EQ(form().Panel1, form().Image1->parentWidget());
    EXPECT_EQ(form().Image1->size(), QSize(297, 305));
    EXPECT_EQ(form().pos(), QPoint(605, 282));
}

TEST_F(FormTest, FontsAndColours)
{
    auto pixelSize = [](QWidget* w) { return w->font().pixelSize(); };
    EXPECT_EQ(form().font().family(), QStringLiteral("ＭＳ Ｐゴシック"));
    EXPECT_EQ(pixelSize(&form()), 15);
    for (QWidget* w : {static_cast<QWidget*>(form().Edit1), static_cast<QWidget*>(form().Edit2),
                       static_cast<QWidget*>(form().Edit4), static_cast<QWidget*>(form().BitBtn1)}) {
        EXPECT_EQ(pixelSize(w), 15);
        EXPECT_TRUE(w->font().bold()) << w->objectName().toStdString();
        EXPECT_EQ(w->font().family(), QStringLiteral("ＭＳ Ｐゴシック"));
    }
    EXPECT_EQ(form().BitBtn2->font().family(), QStringLiteral("ＭＳ Ｐ明朝"));
    EXPECT_TRUE(form().BitBtn2->font().bold());
    EXPECT_EQ(pixelSize(form().BitBtn3), 13);
    EXPECT_EQ(form().BitBtn3->palette().color(QPalette::ButtonText), QColor(0xFF, 0, 0));
    EXPECT_EQ(form().BitBtn3->text(), QStringLiteral("GO\u3000ＨＰ"));
    EXPECT_FALSE(form().Edit6->font().bold());
    EXPECT_TRUE(form().Edit6->isReadOnly());
    EXPECT_EQ(form().clientArea()->palette().color(QPalette::Window), QColor(0xAE, 0xCF, 0xD5));
    EXPECT_EQ(form().Panel1->palette().color(QPalette::Window), QColor(0xCB, 0xF5, 0xFE));
    EXPECT_EQ(form().ListBox1->palette().color(QPalette::Base), QColor(0xC0, 0xC0, 0xC0));
    form().BitBtn1->click();
    EXPECT_EQ(form().ListBox1->palette().color(QPalette::Text), QColor(0, 0, 0xFF));
}

TEST_F(FormTest, TabOrder)
{
    const char* order[] = {"Edit1", "Edit2", "Edit4", "BitBtn1", "BitBtn2", "Edit6", "Edit8",
                           "Edit10", "Edit12", "Edit47", "ListBox1", "RG1_0", "sg1", "BitBtn3"};
    QWidget* w = form().findChild<QWidget*>("Edit1");
    for (std::size_t i = 1; i < std::size(order); ++i) {
        w = w->nextInFocusChain();
        while (w->focusPolicy() == Qt::NoFocus || !w->isEnabled() || w->objectName().isEmpty())
            w = w->nextInFocusChain();
        EXPECT_EQ(w->objectName().toStdString(), order[i]);
    }
}

TEST_F(FormTest, MenuBarHasEveryItem)
{
    const QString blanks(5, QChar(0x3000));
    const std::pair<const char*, QStringList> menus[] = {
        {"File1", {"ファイル" + blanks, "読み取り", "書き込み", "印刷", "ＥＮＤ"}},
        {"Edit41", {"編集" + blanks, "表コピー"}},
        {"Help1", {"ヘルプ", "ヘルプ", "バージョン"}},
    };
    for (const auto& [name, captions] : menus) {
        auto* menu = form().findChild<QMenu*>(name);
        ASSERT_NE(menu, nullptr) << name;
        QStringList actual{menu->title()};
        for (QAction* a : menu->actions())
            actual << a->text();
        EXPECT_EQ(actual, captions) << name;
    }
    const QStringList itemNames{"N1", "N2", "Print1", "N3", "N4", "Help2", "N5"};
    for (const QString& name : itemNames)
        EXPECT_NE(form().findChild<QAction*>(name), nullptr) << name.toStdString();
}

// After every command the window on the screen is what a fresh paint of it
// shows: no cell, box, message line or picture a command changed is left
// unpainted, and nothing it left alone is painted differently.
TEST_F(FormTest, EveryCommandRepaintsWhatItChanged)
{
    const int flashTime = QApplication::cursorFlashTime();
    QApplication::setCursorFlashTime(0);   // a steady cursor: the two pictures are taken apart in time
    form().show();
    const std::pair<const char*, std::function<void()>> steps[] = {
        {"70 teeth", [this] { Calculate("1", "70", "0"); }},
        {"the shift changed", [this] { Calculate("1", "70", "0.5"); }},
        {"the same gear again", [this] { Calculate("1", "70", "0.5"); }},
        {"a gear with findings", [this] { Calculate("1", "8", "0"); }},
        {"a refused number", [this] { Calculate("abc", "70", "0"); }},
        {"a row recalled", [this] { form().sg1->setCurrentCell(1, 2); Q_EMIT form().sg1->click(); }},
        {"a row deleted", [this] { form().BitBtn2->click(); }},
        {"a message chosen, then the same gear", [this] {
             form().ListBox1->setCurrentRow(1);
             Calculate("1", "8", "0");
         }},
        {"the view switched", [this] { form().m_rg1Buttons->button(2)->click(); }},
    };
    for (const auto& [what, step] : steps) {
        step();
        for (int pass = 0; pass < 4; ++pass) {
            QCoreApplication::processEvents();
            QCoreApplication::sendPostedEvents();
        }
        const QImage shown = form().screen()->grabWindow(form().winId()).toImage().convertToFormat(QImage::Format_RGB32);
        const QImage fresh = form().grab().toImage().convertToFormat(QImage::Format_RGB32);
        EXPECT_TRUE(shown == fresh) << what;
    }
    EXPECT_EQ(m_errors.size(), 1);
    QApplication::setCursorFlashTime(flashTime);
}

}  // namespace
