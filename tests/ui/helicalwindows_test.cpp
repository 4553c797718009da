// SPDX-License-Identifier: GPL-3.0-or-later
// Helical gears in the tool windows: 検査寸法 shows the main window's gear
// with a helix angle and hand typed there, read in the normal section by the core.
#include "formfixture.h"

#include "base/apperror.h"
#include "commands/inspectiontext.h"
#include "geometry/gearmodel.h"
#include "geometry/inspection.h"
#include "commands/mate.h"
#include "commands/tolerancetext.h"
#include "ui/backlashpanel.h"
#include "ui/exportdialog.h"
#include "ui/inspectionwindow.h"
#include "ui/meshview.h"
#include "ui/pairwindow.h"
#include "ui/tolerancepanel.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QTextDocument>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QScreen>

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
    const QString spurOverPins = Value(w, "over_pins");

    ShowHelix(w, QStringLiteral("30"), Hand::Left);
    ASSERT_TRUE(m_errors.isEmpty()) << m_errors.join('\n').toStdString();
    ExpectShows(w, Pinion(Hand::Left));
    EXPECT_NE(Value(w, "over_pins"), spurOverPins);
    EXPECT_EQ(w.gearLabel->text(), QStringLiteral("検査寸法　m 3　z 12　x 0.09809　α 20°　β 30°　左　（検査寸法は歯直角の値）"));
    // The transverse values as the core's helical report words them (α_t and d as the handbook prints them).
    EXPECT_TRUE(w.helixValues->isVisibleTo(&w));
    QTextDocument shown;
    shown.setHtml(w.helixValues->text());
    const QString transverse = shown.toPlainText();
    EXPECT_EQ(w.helixValues->text().count(QStringLiteral("<tr>")), 5);   // ten values, two a line
    for (const char* text : {"正面圧力角 α_t（°）", "22.79588", "基準円直径 d", "41.5692", "正面モジュール m_t", "3.464102"})
        EXPECT_TRUE(transverse.contains(QString::fromUtf8(text))) << text << transverse.toStdString();
    // The copied text has them one a line, label and value apart by a tab.
    w.copyButton->click();
    const QString copied = QGuiApplication::clipboard()->text();
    for (const char* line : {"\n正面圧力角 α_t（°）\t22.79588\n", "\n基準円直径 d\t41.5692\n", "\n正面モジュール m_t\t3.464102\n"})
        EXPECT_TRUE(copied.contains(QString::fromUtf8(line))) << line << copied.toStdString();

    // The hand changes no number of a single gear; the main window keeps its spur gear.
    ShowHelix(w, QStringLiteral("30"), Hand::Right);
    ExpectShows(w, Pinion(Hand::Right));
    EXPECT_TRUE(w.gearLabel->text().contains(QStringLiteral("β 30°　右")));
    EXPECT_EQ(Inputs(), (QStringList{"3", "12", "0.09809"}));

    // 0 is the spur gear again, as is an empty box.
    ShowHelix(w, QStringLiteral("0"), Hand::Right);
    EXPECT_EQ(Value(w, "over_pins"), spurOverPins);
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
    EXPECT_EQ(m_errors, QStringList{QStringLiteral("はすば歯車の要目表はまだ作れません.")});
}

class HelicalPairTest : public FormTest {
protected:
    PairWindow& Open()
    {
        form().findChild<QAction*>(QStringLiteral("PairTool"))->trigger();
        auto* window = form().findChild<PairWindow*>(QStringLiteral("PairWindow"));
        EXPECT_NE(window, nullptr);
        return *window;
    }
    static QLineEdit* Box(PairWindow& w, const char* name) { return w.findChild<QLineEdit*>(QString::fromLatin1(name)); }
    static void Type(QLineEdit* box, const QString& text)
    {
        box->setText(text);
        box->setModified(true);
    }
    static QComboBox* HandBox(PairWindow& w) { return w.findChild<QComboBox*>(QStringLiteral("PairHand")); }
    static void Calculate(PairWindow& w) { w.findChild<QPushButton*>(QStringLiteral("PairCalculate"))->click(); }
    // The handbook's pair: m_n 3, beta 30 degrees, z 12 (left) / 60, x_n 0.09809 / 0, b 20.
    PairWindow& HandbookPair()
    {
        FormTest::Calculate("3", "12", "0.09809");
        PairWindow& w = Open();
        Type(Box(w, "PairTeeth2"), QStringLiteral("60"));
        Type(Box(w, "PairShift2"), QStringLiteral("0"));
        Type(Box(w, "PairHelixAngle"), QStringLiteral("30"));
        Type(Box(w, "PairFaceWidth1"), QStringLiteral("20"));
        HandBox(w)->setCurrentIndex(HandBox(w)->findData(static_cast<int>(Hand::Left)));
        Calculate(w);
        return w;
    }
    static PairInput HandbookInput()
    {
        PairInput in;
        in.module = 3.0;
        in.teeth = {12, 60};
        in.shift = {0.09809, 0.0};
        in.helixAngle = 30.0;
        in.hands = {Hand::Left, Hand::Right};
        in.faceWidth = 20.0;
        return in;
    }
};

TEST_F(HelicalPairTest, TheHandbookPairInItsBoxes)
{
    PairWindow& w = HandbookPair();
    ASSERT_TRUE(m_errors.isEmpty()) << m_errors.join('\n').toStdString();
    // As the handbook prints them.
    const struct {
        const char* key;
        const char* text;
    } printed[] = {
        {"center_distance", "125.000"},
        {"working_pressure_angle_transverse", "23.1126"},
        {"contact_ratio_transverse", "1.294"},
        {"overlap_ratio", "1.061"},
    };
    for (const auto& p : printed) {
        ASSERT_NE(w.resultBox(p.key), nullptr) << p.key;
        EXPECT_EQ(w.resultBox(p.key)->text(), QString::fromUtf8(p.text)) << p.key;
        EXPECT_TRUE(w.resultBox(p.key)->isVisibleTo(&w)) << p.key;
    }
    // Every row of the core's report in its box, caption and all; the spur rows hidden.
    const MateReport report = MateReportOf(ComputePair(HandbookInput()), ".");
    for (const PairRow& row : report.results)
        for (int gear = 0; gear < (row.perGear ? 2 : 1); ++gear) {
            EXPECT_EQ(w.resultBox(row.key, gear)->text().toStdString(), row.texts[gear]) << row.key;
            EXPECT_TRUE(w.resultBox(row.key, gear)->isVisibleTo(&w)) << row.key;
        }
    for (const char* spur : {"working_pressure_angle", "contact_ratio", "shift", "tip_thickness"})
        EXPECT_FALSE(w.resultBox(spur)->isVisibleTo(&w)) << spur;
    EXPECT_EQ(w.findChild<QLabel*>(QStringLiteral("PairLabel_overlap_ratio"))->text(), QStringLiteral("重なりかみあい率 εβ"));
    // Gear 2 takes the other hand; the given values are captioned as the normal ones.
    EXPECT_EQ(Box(w, "PairHand2")->text(), QStringLiteral("右"));
    EXPECT_EQ(w.findChild<QLabel*>(QStringLiteral("PairLabelModule"))->text(), QStringLiteral("歯直角モジュール m_n"));
    EXPECT_EQ(w.findChild<QLabel*>(QStringLiteral("PairLabelShift"))->text(), QStringLiteral("歯直角転位係数 x_n"));
    EXPECT_EQ(w.ShownPair()->helixAngle, 30.0);
    EXPECT_EQ(w.ShownPair()->hands[0], Hand::Left);
    EXPECT_EQ(w.ShownPair()->hands[1], Hand::Right);
    // No transverse drawing yet: the view says so instead of drawing spur gears at a helical centre distance.
    EXPECT_EQ(w.findChild<MeshView*>()->mesh(), nullptr);
}

TEST_F(HelicalPairTest, WithoutAFaceWidthNoOverlapRatio)
{
    PairWindow& w = HandbookPair();
    Type(Box(w, "PairFaceWidth1"), QString());
    Calculate(w);
    EXPECT_FALSE(w.resultBox("overlap_ratio")->isVisibleTo(&w));
    EXPECT_FALSE(w.resultBox("total_contact_ratio")->isVisibleTo(&w));
    EXPECT_EQ(w.resultBox("contact_ratio_transverse")->text(), QStringLiteral("1.294"));
    // Gear 1's hand turned: gear 2 follows, the numbers stay.
    HandBox(w)->setCurrentIndex(HandBox(w)->findData(static_cast<int>(Hand::Right)));
    EXPECT_EQ(Box(w, "PairHand2")->text(), QStringLiteral("左"));
    EXPECT_EQ(w.ShownPair()->hands[0], Hand::Right);
    EXPECT_EQ(w.resultBox("center_distance")->text(), QStringLiteral("125.000"));
    EXPECT_TRUE(m_errors.isEmpty()) << m_errors.join('\n').toStdString();
}

TEST_F(HelicalPairTest, BackToSpurGears)
{
    PairWindow& w = HandbookPair();
    Type(Box(w, "PairHelixAngle"), QStringLiteral("0"));
    Calculate(w);
    PairInput spur = HandbookInput();
    spur.helixAngle = 0.0;
    spur.faceWidth = std::numeric_limits<double>::quiet_NaN();
    const MateReport report = MateReportOf(ComputePair(spur), ".");
    for (const PairRow& row : report.results) {
        EXPECT_EQ(w.resultBox(row.key)->text().toStdString(), row.texts[0]) << row.key;
        EXPECT_TRUE(w.resultBox(row.key)->isVisibleTo(&w)) << row.key;
    }
    for (const char* helical : {"working_pressure_angle_transverse", "overlap_ratio", "module_transverse"})
        EXPECT_FALSE(w.resultBox(helical)->isVisibleTo(&w)) << helical;
    EXPECT_EQ(w.findChild<QLabel*>(QStringLiteral("PairLabelModule"))->text(), QStringLiteral("モジュール m"));
    EXPECT_NE(w.findChild<MeshView*>()->mesh(), nullptr);
    EXPECT_TRUE(m_errors.isEmpty()) << m_errors.join('\n').toStdString();
}

TEST_F(HelicalPairTest, RefusalsInTheErrorBox)
{
    PairWindow& w = HandbookPair();
    const struct {
        const char* helix;
        const char* mate;
        const char* message;
    } cases[] = {
        {"abc", "PairMateExternal", "ねじれ角 β（°）：'abc' は浮動小数点数ではありません."},
        {"90", "PairMateExternal", "ねじれ角は 0° 以上 90° 未満でなければなりません."},
        {"30", "PairMateInternal", "はすば歯車の組はまだ外歯車どうしだけです."},
        {"30", "PairMateRack", "はすば歯車の組はまだ外歯車どうしだけです."},
    };
    for (const auto& c : cases) {
        w.findChild<QRadioButton*>(QString::fromLatin1(c.mate))->click();
        Type(Box(w, "PairHelixAngle"), QString::fromUtf8(c.helix));
        m_errors.clear();
        Calculate(w);
        EXPECT_EQ(m_errors, QStringList{QString::fromUtf8(c.message)}) << c.helix << " " << c.mate;
        EXPECT_FALSE(w.ShownPair().has_value()) << c.helix << " " << c.mate;
    }
}

// The allowances of a helical pair go to the core with the pair: the window
// shows its backlash, or its refusal in the error box with the pair kept.
TEST_F(HelicalPairTest, TheAllowancesAsTheCoreTakesThem)
{
    PairWindow& w = HandbookPair();
    auto* backlash = w.findChild<BacklashPanel*>(QStringLiteral("BacklashPanel"));
    const char* const typed[2][2] = {{"-0.05", "-0.1"}, {"-0.06", "-0.12"}};
    for (int gear = 0; gear < 2; ++gear)
        for (int side = 0; side < 2; ++side)
            backlash->allowance[gear][side]->setText(QString::fromLatin1(typed[gear][side]));
    m_errors.clear();
    Calculate(w);

    MateRequest request;
    request.gears = HandbookInput();
    request.allowances = [] {
        BacklashInput in;
        in.thickness = {ThicknessAllowance{-0.05, -0.1}, ThicknessAllowance{-0.06, -0.12}};
        return in;
    };
    request.backlash = true;
    std::optional<MateOutcome> outcome;
    std::string refusal;
    try {
        outcome = ComputeMate(request, ".");
    } catch (const AppError& e) {
        refusal = e.what();
    }
    EXPECT_EQ(w.resultBox("center_distance")->text(), QStringLiteral("125.000"));   // the pair stands either way
    if (!outcome) {
        EXPECT_EQ(m_errors.size(), 1) << refusal;
        return;
    }
    ASSERT_TRUE(m_errors.isEmpty()) << m_errors.join('\n').toStdString();
    ASSERT_TRUE(outcome->backlash.has_value());
    for (const BacklashRow& row : BacklashRows(*outcome->backlash, "."))
        for (int side = 0; side < 2; ++side)
            if (QLineEdit* box = backlash->results[row.key][static_cast<std::size_t>(side)]) {
                EXPECT_EQ(box->text().toStdString(), row.texts[side]) << row.key;
            }
}

// The spur gear of 検査寸法 takes no helical pair of かみあい as the mate on its data table.
TEST_F(HelicalPairTest, NoHelicalMateOnASpurGearsDataTable)
{
    HandbookPair();
    form().Tool1->findChild<QAction*>(QStringLiteral("InspectionItem"))->trigger();
    InspectionWindow& w = *FindInspectionWindow(form());
    m_errors.clear();
    w.tolerances->pdfAction->trigger();
    EXPECT_EQ(m_errors, QStringList{QStringLiteral("かみあいの組ははすば歯車のため、この歯車の要目表に相手歯車を載せられません。"
                                                   "かみあいを閉じてから要目表を作ってください.")});
}

TEST_F(HelicalPairTest, NoDesignFileForAHelicalPairYet)
{
    PairWindow& w = HandbookPair();
    bool asked = false;
    SetDesignFileAnswer([&asked](bool, const QString&) {
        asked = true;
        return QString();
    });
    w.findChild<QPushButton*>(QStringLiteral("PairSaveDesign"))->click();
    SetDesignFileAnswer({});
    EXPECT_FALSE(asked);
    EXPECT_EQ(m_errors, QStringList{QStringLiteral("はすば歯車の組は設計ファイルにまだ保存できません.")});
}

class HelicalExportTest : public HelicalPairTest {
protected:
    void TearDown() override
    {
        SetExportFormAnswer({});
        SetExportFileAnswer({});
        ResetExportForm();
        HelicalPairTest::TearDown();
    }
    // Chooses 歯形の書き出し: `fill` answers the form (OK), the file dialog answers `file`.
    void Export(const std::function<void(ExportForm&)>& fill, const QString& file)
    {
        SetExportFormAnswer([&fill](ExportForm& f) {
            fill(f);
            return true;
        });
        SetExportFileAnswer([this, &file](const QString&, QString& filter) {
            ++m_fileDialogs;
            filter = QStringLiteral("DXF (*.dxf)");
            return file;
        });
        form().Tool1->findChild<QAction*>(QStringLiteral("ExportProfile1"))->trigger();
    }
    static void SetHand(QComboBox* box, Hand hand) { box->setCurrentIndex(box->findData(static_cast<int>(hand))); }
    static QByteArray Bytes(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QTemporaryDir m_dir;
    int m_fileDialogs = 0;
};

const QString kNotYet = QStringLiteral("はすば歯車はまだ書き出せません（歯形・部品・注記は平歯車のものです）.");

TEST_F(HelicalExportTest, TheFormsOwnHelixIsRefusedBeforeAnyFileDialog)
{
    FormTest::Calculate("3", "12", "0.09809");
    const QString spur = m_dir.filePath(QStringLiteral("spur.dxf"));
    Export([](ExportForm&) {}, spur);
    ASSERT_TRUE(m_errors.isEmpty()) << m_errors.join('\n').toStdString();
    ASSERT_FALSE(Bytes(spur).isEmpty());
    const QString file = m_dir.filePath(QStringLiteral("helical.dxf"));
    const struct {
        const char* typed;
        const char* message;   // empty: written, byte for byte the spur gear's
    } cases[] = {
        {"30", "はすば歯車はまだ書き出せません（歯形・部品・注記は平歯車のものです）."},
        {"95", "ねじれ角が 0° 以上 90° 未満ではありません."},
        {"abc", "'abc' は浮動小数点数ではありません."},
        {"0", ""},
    };
    for (const auto& c : cases) {
        m_errors.clear();
        m_fileDialogs = 0;
        QFile::remove(file);
        Export([&c](ExportForm& f) {
            EXPECT_TRUE(f.m_helixEdit->isEnabled());
            EXPECT_EQ(f.m_helixEdit->objectName(), QStringLiteral("ExportHelixAngle"));
            EXPECT_EQ(f.m_handBox->objectName(), QStringLiteral("ExportHand"));
            f.m_helixEdit->setText(QString::fromUtf8(c.typed));
            SetHand(f.m_handBox, Hand::Left);
        }, file);
        if (*c.message == '\0') {
            EXPECT_TRUE(m_errors.isEmpty()) << m_errors.join('\n').toStdString();
            EXPECT_EQ(Bytes(file), Bytes(spur));
        } else {
            EXPECT_EQ(m_errors, QStringList{QString::fromUtf8(c.message)}) << c.typed;
            EXPECT_EQ(m_fileDialogs, 0) << c.typed;
            EXPECT_FALSE(QFile::exists(file)) << c.typed;
        }
    }
    // The form keeps its own helix and hand as it keeps its other boxes.
    QString kept;
    int hand = -1;
    Export([&](ExportForm& f) {
        kept = f.m_helixEdit->text();
        hand = f.m_handBox->currentData().toInt();
    }, file);
    EXPECT_EQ(kept, QStringLiteral("0"));
    EXPECT_EQ(hand, static_cast<int>(Hand::Left));
}

TEST_F(HelicalExportTest, TheHelixOfTheHelicalPairShown)
{
    HandbookPair();
    ASSERT_TRUE(m_errors.isEmpty()) << m_errors.join('\n').toStdString();
    QStringList seen;
    Export([&](ExportForm& f) {
        const auto shown = [&f] { return f.m_helixEdit->text() + " " + f.m_handBox->currentText(); };
        EXPECT_FALSE(f.m_helixEdit->isEnabled());
        EXPECT_FALSE(f.m_handBox->isEnabled());
        seen << shown();
        ASSERT_NE(f.m_gear2Choice, nullptr);
        f.m_gear2Choice->click();
        seen << shown();
        if (const QByteArray folder = qgetenv("TSUMUGI_SCREENSHOTS"); !folder.isEmpty()) {
            f.adjustSize();
            EXPECT_TRUE(f.grab().save(QString::fromUtf8(folder) + QStringLiteral("/export-form-helical.png")));
        }
    }, m_dir.filePath(QStringLiteral("gear2.dxf")));
    EXPECT_EQ(seen, (QStringList{QStringLiteral("30 左"), QStringLiteral("30 右")}));
    EXPECT_EQ(m_errors, QStringList{kNotYet});
    EXPECT_EQ(m_fileDialogs, 0);
}

// With TSUMUGI_SCREENSHOTS set to a folder, かみあい and 検査寸法 with the handbook's helical pair are saved there.
TEST_F(HelicalExportTest, TheWindowsWithAHelicalPair)
{
    form().show();
    PairWindow& pair = HandbookPair();
    form().Tool1->findChild<QAction*>(QStringLiteral("InspectionItem"))->trigger();
    InspectionWindow& w = *FindInspectionWindow(form());
    w.helixEdit->setText(QStringLiteral("30"));
    w.handBox->setCurrentIndex(w.handBox->findData(static_cast<int>(Hand::Left)));
    w.showButton->click();
    ASSERT_TRUE(m_errors.isEmpty()) << m_errors.join('\n').toStdString();
    QCoreApplication::processEvents();   // the layouts take the rows and captions of the helical pair
    // Every box shown wide enough for its text, every caption for its own.
    std::vector<const QLineEdit*> boxes(w.values.begin(), w.values.end());
    for (const QLineEdit* box : pair.findChildren<QLineEdit*>())
        if (box->isVisibleTo(&pair))
            boxes.push_back(box);
    for (const QLineEdit* box : boxes)
            if (!box->text().isEmpty()) {
                const int room = box->contentsRect().width() - box->textMargins().left() - box->textMargins().right() - 4;
                EXPECT_GE(room, box->fontMetrics().horizontalAdvance(box->text())) << box->objectName().toStdString();
            }
    for (QWidget* window : {static_cast<QWidget*>(&pair), static_cast<QWidget*>(&w)})
        for (const QLabel* label : window->findChildren<QLabel*>()) {
            if (label->isVisibleTo(window) && !label->wordWrap()) {
                EXPECT_GE(label->width(), label->sizeHint().width()) << label->objectName().toStdString();
            }
        }
    EXPECT_GE(w.helixValues->height(), w.helixValues->sizeHint().height());
    const QRect available = form().screen()->availableGeometry();
    for (const QWidget* window : {static_cast<const QWidget*>(&pair), static_cast<const QWidget*>(&w)}) {
        const QRect g = window->geometry();
        EXPECT_TRUE(available.contains(g)) << window->objectName().toStdString() << " " << g.x() << "," << g.y() << " "
                                           << g.width() << "x" << g.height();
    }
    if (const QByteArray folder = qgetenv("TSUMUGI_SCREENSHOTS"); !folder.isEmpty()) {
        EXPECT_TRUE(pair.grab().save(QString::fromUtf8(folder) + QStringLiteral("/pair-helical.png")));
        EXPECT_TRUE(w.grab().save(QString::fromUtf8(folder) + QStringLiteral("/inspection-helical.png")));
    }
}

}  // namespace
