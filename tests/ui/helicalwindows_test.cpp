// SPDX-License-Identifier: GPL-3.0-or-later
// Helical gears in the tool windows: 検査寸法, かみあい and 歯形の書き出し take a
// helix angle and hand beside the main window's spur gear, and show what the
// core computes of the helical gear or pair, or refuse what it cannot do yet.
#include "formfixture.h"

#include "base/apperror.h"
#include "commands/inspectiontext.h"
#include "commands/mate.h"
#include "geardata/designfile.h"
#include "commands/tolerancetext.h"
#include "geometry/inspection.h"
#include "ui/backlashpanel.h"
#include "ui/exportdialog.h"
#include "ui/inspectionwindow.h"
#include "ui/meshview.h"
#include "ui/pairwindow.h"
#include "ui/tolerancepanel.h"

#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTextDocument>

namespace {

class HelicalWindowsTest : public FormTest {
protected:
    void TearDown() override
    {
        SetExportFormAnswer({});
        SetExportFileAnswer({});
        ResetExportForm();
        FormTest::TearDown();
    }
    InspectionWindow& Inspection()
    {
        form().Tool1->findChild<QAction*>(QStringLiteral("InspectionItem"))->trigger();
        return *FindInspectionWindow(form());
    }
    static void SetHand(QComboBox* box, Hand hand) { box->setCurrentIndex(box->findData(static_cast<int>(hand))); }
    // Types the helix in 検査寸法 and presses 再計算.
    static void ShowHelix(InspectionWindow& w, const QString& degrees, Hand hand)
    {
        w.helixEdit->setText(degrees);
        SetHand(w.handBox, hand);
        w.showButton->click();
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
    // The handbook's pinion: m_n 3, z 12, x_n 0.09809, alpha_n 20 degrees, beta 30 degrees.
    static GearSpec Pinion(Hand hand)
    {
        GearSpec g;
        g.module = 3.0;
        g.teeth = 12;
        g.shift = 0.09809;
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

    static QLineEdit* Box(PairWindow& w, const char* name) { return w.findChild<QLineEdit*>(QString::fromLatin1(name)); }
    static void Type(QLineEdit* box, const QString& text)
    {
        box->setText(text);
        box->setModified(true);
    }
    static void CalculatePair(PairWindow& w) { w.findChild<QPushButton*>(QStringLiteral("PairCalculate"))->click(); }
    // The handbook's pair: m_n 3, beta 30 degrees, z 12 (left) / 60, x_n 0.09809 / 0, b 20.
    PairWindow& HandbookPair()
    {
        Calculate("3", "12", "0.09809");
        form().findChild<QAction*>(QStringLiteral("PairTool"))->trigger();
        PairWindow& w = *form().findChild<PairWindow*>(QStringLiteral("PairWindow"));
        Type(Box(w, "PairTeeth2"), QStringLiteral("60"));
        Type(Box(w, "PairHelixAngle"), QStringLiteral("30"));
        Type(Box(w, "PairFaceWidth1"), QStringLiteral("20"));
        SetHand(w.findChild<QComboBox*>(QStringLiteral("PairHand")), Hand::Left);
        CalculatePair(w);
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
    static QByteArray Bytes(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QTemporaryDir m_dir;
    int m_fileDialogs = 0;
};

TEST_F(HelicalWindowsTest, InspectionShowsTheHelicalGearOfTheMainWindowsValues)
{
    Calculate("3", "12", "0.09809");
    InspectionWindow& w = Inspection();
    EXPECT_EQ(w.helixEdit->objectName() + w.helixEdit->accessibleName(), QStringLiteral("InspectionHelixAngleねじれ角 β（°）"));
    EXPECT_EQ(w.handBox->objectName() + w.handBox->accessibleName(), QStringLiteral("InspectionHandねじれ方向"));
    EXPECT_FALSE(w.helixValues->isVisibleTo(&w));   // a spur gear has no transverse values of its own
    const QString spurOverPins = Value(w, "over_pins");

    ShowHelix(w, QStringLiteral("30"), Hand::Left);
    ExpectShows(w, Pinion(Hand::Left));
    EXPECT_NE(Value(w, "over_pins"), spurOverPins);
    EXPECT_EQ(w.gearLabel->text(), QStringLiteral("検査寸法　m 3　z 12　x 0.09809　α 20°　β 30°　左　（検査寸法は歯直角の値）"));
    // The transverse values as the core's report words them, two a line (α_t and d as the handbook prints them).
    QTextDocument shown;
    shown.setHtml(w.helixValues->text());
    EXPECT_TRUE(w.helixValues->isVisibleTo(&w));
    EXPECT_EQ(w.helixValues->text().count(QStringLiteral("<tr>")), 5);
    for (const char* text : {"正面圧力角 α_t（°）", "22.79588", "基準円直径 d", "41.5692", "正面モジュール m_t", "3.464102"})
        EXPECT_TRUE(shown.toPlainText().contains(QString::fromUtf8(text))) << text;
    // Copied one a line, label and value apart by a tab.
    w.copyButton->click();
    const QString copied = QGuiApplication::clipboard()->text();
    for (const char* line : {"\n正面圧力角 α_t（°）\t22.79588\n", "\n基準円直径 d\t41.5692\n"})
        EXPECT_TRUE(copied.contains(QString::fromUtf8(line))) << line << copied.toStdString();

    // The hand changes no number of one gear; the main window keeps its spur gear and the window follows it.
    ShowHelix(w, QStringLiteral("30"), Hand::Right);
    EXPECT_TRUE(w.gearLabel->text().contains(QStringLiteral("β 30°　右")));
    Calculate("2", "40", "0.5");
    GearSpec g = Pinion(Hand::Right);
    g.module = 2.0;
    g.teeth = 40;
    g.shift = 0.5;
    ExpectShows(w, g);
    EXPECT_EQ(Inputs(), (QStringList{"2", "40", "0.5"}));

    // 0 is the spur gear again.
    Calculate("3", "12", "0.09809");
    ShowHelix(w, QStringLiteral("0"), Hand::Right);
    EXPECT_EQ(Value(w, "over_pins"), spurOverPins);
    EXPECT_FALSE(w.helixValues->isVisibleTo(&w));
    EXPECT_EQ(w.gearLabel->text(), QStringLiteral("検査寸法　m 3　z 12　x 0.09809　α 20°"));
    EXPECT_TRUE(m_errors.isEmpty()) << m_errors.join('\n').toStdString();
}

TEST_F(HelicalWindowsTest, InspectionRefusesHelixAnglesAndChangesNothing)
{
    Calculate("3", "12", "0.09809");
    InspectionWindow& w = Inspection();
    ShowHelix(w, QStringLiteral("30"), Hand::Left);
    const QString shown = Value(w, "span_k");
    const struct {
        const char* typed;
        const char* message;
    } cases[] = {
        {"abc", "'abc' は浮動小数点数ではありません."},
        {"90", "ねじれ角が 0° 以上 90° 未満ではありません."},
        {"-5", "ねじれ角が 0° 以上 90° 未満ではありません."},
    };
    for (const auto& c : cases) {
        m_errors.clear();
        ShowHelix(w, QString::fromUtf8(c.typed), Hand::Left);
        EXPECT_EQ(m_errors, QStringList{QString::fromUtf8(c.message)}) << c.typed;
        EXPECT_EQ(Value(w, "span_k"), shown) << c.typed;
    }
    // No data table of a helical gear yet.
    ShowHelix(w, QStringLiteral("30"), Hand::Left);
    m_errors.clear();
    w.tolerances->pdfAction->trigger();
    EXPECT_EQ(m_errors, QStringList{QStringLiteral("はすば歯車の要目表はまだ作れません.")});
}

TEST_F(HelicalWindowsTest, InspectionChecksTheSpanAgainstTheFaceWidth)
{
    Calculate("3", "12", "0.09809");
    InspectionWindow& w = Inspection();
    ShowHelix(w, QStringLiteral("30"), Hand::Left);
    InspectionRequest request;
    for (const double width : {4.0, 20.0}) {   // narrower than W sin(beta_b), then wide enough
        w.tolerances->faceWidthEdit->setText(QString::number(width));
        w.showButton->click();
        request.faceWidth = width;
        const InspectionResult expected = ComputeInspection(Pinion(Hand::Left), request);
        EXPECT_EQ(expected.spanFindings.size(), width < 10.0 ? 1u : 0u);
        for (const std::string& finding : expected.spanFindings)
            EXPECT_TRUE(Findings(w).contains(QString::fromStdString(finding))) << Findings(w).join('\n').toStdString();
        EXPECT_EQ(Findings(w).filter(QStringLiteral("W sin βb")).size(), static_cast<int>(expected.spanFindings.size()));
    }
    EXPECT_TRUE(m_errors.isEmpty()) << m_errors.join('\n').toStdString();
}

TEST_F(HelicalWindowsTest, PairShowsTheHandbookPair)
{
    PairWindow& w = HandbookPair();
    ASSERT_TRUE(m_errors.isEmpty()) << m_errors.join('\n').toStdString();
    // As the handbook prints them.
    const std::pair<const char*, const char*> printed[] = {{"center_distance", "125.000"},
                                                           {"working_pressure_angle_transverse", "23.1126"},
                                                           {"contact_ratio_transverse", "1.294"},
                                                           {"overlap_ratio", "1.061"}};
    for (const auto& [key, text] : printed)
        EXPECT_EQ(w.resultBox(key)->text(), QString::fromUtf8(text)) << key;
    // Every row of the core's report shown in its box; the spur rows hidden.
    for (const PairRow& row : MateReportOf(ComputePair(HandbookInput()), ".").results)
        for (int gear = 0; gear < (row.perGear ? 2 : 1); ++gear) {
            EXPECT_EQ(w.resultBox(row.key, gear)->text().toStdString(), row.texts[gear]) << row.key;
            EXPECT_TRUE(w.resultBox(row.key, gear)->isVisibleTo(&w)) << row.key;
        }
    for (const char* spur : {"working_pressure_angle", "contact_ratio", "shift", "tip_thickness"})
        EXPECT_FALSE(w.resultBox(spur)->isVisibleTo(&w)) << spur;
    // Gear 2 has the other hand; the given values are captioned as the normal ones.
    EXPECT_EQ(Box(w, "PairHand2")->text(), QStringLiteral("右"));
    EXPECT_EQ(w.findChild<QLabel*>(QStringLiteral("PairLabelModule"))->text(), QStringLiteral("歯直角モジュール m_n"));
    EXPECT_EQ(w.findChild<QLabel*>(QStringLiteral("PairLabelShift"))->text(), QStringLiteral("歯直角転位係数 x_n"));
    // No transverse drawing yet: none rather than spur gears at a helical centre distance.
    EXPECT_EQ(w.findChild<MeshView*>()->mesh(), nullptr);

    // Without a face width no overlap ratio; gear 1's hand turned, gear 2's follows.
    Type(Box(w, "PairFaceWidth1"), QString());
    SetHand(w.findChild<QComboBox*>(QStringLiteral("PairHand")), Hand::Right);
    EXPECT_FALSE(w.resultBox("overlap_ratio")->isVisibleTo(&w));
    EXPECT_EQ(w.resultBox("contact_ratio_transverse")->text(), QStringLiteral("1.294"));
    EXPECT_EQ(Box(w, "PairHand2")->text(), QStringLiteral("左"));
    EXPECT_EQ(w.ShownPair()->hands, (std::array<Hand, 2>{Hand::Right, Hand::Left}));

    // β 0: the spur pair, its rows, captions and drawing.
    Type(Box(w, "PairHelixAngle"), QStringLiteral("0"));
    CalculatePair(w);
    PairInput spur = HandbookInput();
    spur.helixAngle = 0.0;
    for (const PairRow& row : MateReportOf(ComputePair(spur), ".").results)
        EXPECT_TRUE(w.resultBox(row.key)->isVisibleTo(&w) && w.resultBox(row.key)->text().toStdString() == row.texts[0])
            << row.key;
    EXPECT_FALSE(w.resultBox("working_pressure_angle_transverse")->isVisibleTo(&w));
    EXPECT_EQ(w.findChild<QLabel*>(QStringLiteral("PairLabelModule"))->text(), QStringLiteral("モジュール m"));
    EXPECT_NE(w.findChild<MeshView*>()->mesh(), nullptr);
    EXPECT_TRUE(m_errors.isEmpty()) << m_errors.join('\n').toStdString();
}

TEST_F(HelicalWindowsTest, PairRefusals)
{
    PairWindow& w = HandbookPair();
    // No design file and no mate on a spur gear's data table for a helical pair yet.
    bool asked = false;
    SetDesignFileAnswer([&asked](bool, const QString&) {
        asked = true;
        return QString();
    });
    w.findChild<QPushButton*>(QStringLiteral("PairSaveDesign"))->click();
    SetDesignFileAnswer({});
    EXPECT_FALSE(asked);
    Inspection().tolerances->pdfAction->trigger();
    EXPECT_EQ(m_errors, (QStringList{QStringLiteral("はすば歯車の組は設計ファイルにまだ保存できません."),
                                     QStringLiteral("かみあいの組ははすば歯車のため、この歯車の要目表に相手歯車を載せられません。"
                                                    "かみあいを閉じてから要目表を作ってください.")}));
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
        CalculatePair(w);
        EXPECT_EQ(m_errors, QStringList{QString::fromUtf8(c.message)}) << c.helix << " " << c.mate;
        EXPECT_FALSE(w.ShownPair().has_value()) << c.helix << " " << c.mate;
    }
}

// A helical pair's allowances go to the core with the pair: the window shows
// its backlash, or its refusal in the error box with the pair kept.
TEST_F(HelicalWindowsTest, PairAllowancesAsTheCoreTakesThem)
{
    PairWindow& w = HandbookPair();
    auto* backlash = w.findChild<BacklashPanel*>(QStringLiteral("BacklashPanel"));
    const double typed[2][2] = {{-0.05, -0.1}, {-0.06, -0.12}};
    MateRequest request;
    request.gears = HandbookInput();
    request.backlash = true;
    BacklashInput allowances;
    for (int gear = 0; gear < 2; ++gear) {
        allowances.thickness[static_cast<std::size_t>(gear)] = {typed[gear][0], typed[gear][1]};
        for (int side = 0; side < 2; ++side)
            backlash->allowance[gear][side]->setText(QString::number(typed[gear][side]));
    }
    request.allowances = [&allowances] { return allowances; };
    CalculatePair(w);
    EXPECT_EQ(w.resultBox("center_distance")->text(), QStringLiteral("125.000"));   // the pair stands either way
    std::optional<MateOutcome> outcome;
    try {
        outcome = ComputeMate(request, ".");
    } catch (const AppError& e) {
        EXPECT_EQ(m_errors.size(), 1) << e.what();
        return;
    }
    ASSERT_TRUE(m_errors.isEmpty()) << m_errors.join('\n').toStdString();
    for (const BacklashRow& row : BacklashRows(*outcome->backlash, "."))
        for (std::size_t side = 0; side < 2; ++side)
            if (QLineEdit* box = backlash->results[row.key][side]) {
                EXPECT_EQ(box->text().toStdString(), row.texts[side]) << row.key;
            }
}

TEST_F(HelicalWindowsTest, ExportRefusesTheFormsOwnHelixBeforeAnyFileDialog)
{
    Calculate("3", "12", "0.09809");
    const QString spur = m_dir.filePath(QStringLiteral("spur.dxf")), file = m_dir.filePath(QStringLiteral("h.dxf"));
    Export([](ExportForm&) {}, spur);
    ASSERT_FALSE(Bytes(spur).isEmpty());
    const std::pair<const char*, const char*> cases[] = {
        {"30", "はすば歯車はまだ書き出せません（歯形・部品・注記は平歯車のものです）."},
        {"95", "ねじれ角が 0° 以上 90° 未満ではありません."},
        {"abc", "'abc' は浮動小数点数ではありません."},
        {"0", ""},   // written, byte for byte the spur gear's
    };
    for (const auto& [typed, message] : cases) {
        m_errors.clear();
        m_fileDialogs = 0;
        QFile::remove(file);
        Export([typed = typed](ExportForm& f) {
            EXPECT_EQ(f.m_helixEdit->objectName() + f.m_handBox->objectName(), QStringLiteral("ExportHelixAngleExportHand"));
            EXPECT_TRUE(f.m_helixEdit->isEnabled());
            f.m_helixEdit->setText(QString::fromUtf8(typed));
            SetHand(f.m_handBox, Hand::Left);
        }, file);
        EXPECT_EQ(m_errors.join(QString()), QString::fromUtf8(message)) << typed;
        EXPECT_EQ(m_fileDialogs, *message ? 0 : 1) << typed;
        EXPECT_EQ(Bytes(file), *message ? QByteArray() : Bytes(spur)) << typed;
    }
    // The form keeps its own helix and hand as it keeps its other boxes.
    QString kept;
    Export([&kept](ExportForm& f) { kept = f.m_helixEdit->text() + f.m_handBox->currentText(); }, file);
    EXPECT_EQ(kept, QStringLiteral("0左"));
}

TEST_F(HelicalWindowsTest, ExportTakesTheHelixOfTheHelicalPairShown)
{
    HandbookPair();
    QStringList seen;
    Export([&seen](ExportForm& f) {
        EXPECT_FALSE(f.m_helixEdit->isEnabled() || f.m_handBox->isEnabled());
        seen << f.m_helixEdit->text() + " " + f.m_handBox->currentText();
        f.m_gear2Choice->click();
        seen << f.m_helixEdit->text() + " " + f.m_handBox->currentText();
        if (const QByteArray folder = qgetenv("TSUMUGI_SCREENSHOTS"); !folder.isEmpty()) {
            f.adjustSize();
            EXPECT_TRUE(f.grab().save(QString::fromUtf8(folder) + QStringLiteral("/export-form-helical.png")));
        }
    }, m_dir.filePath(QStringLiteral("gear2.dxf")));
    EXPECT_EQ(seen, (QStringList{QStringLiteral("30 左"), QStringLiteral("30 右")}));
    EXPECT_EQ(m_errors, QStringList{QStringLiteral("はすば歯車はまだ書き出せません（歯形・部品・注記は平歯車のものです）.")});
    EXPECT_EQ(m_fileDialogs, 0);
}

// The windows with the handbook's helical pair: nothing cut, both on the
// screen. With TSUMUGI_SCREENSHOTS set to a folder they are saved there.
TEST_F(HelicalWindowsTest, TheWindowsKeepTheirRoom)
{
    form().show();
    PairWindow& pair = HandbookPair();
    InspectionWindow& w = Inspection();
    ShowHelix(w, QStringLiteral("30"), Hand::Left);
    ASSERT_TRUE(m_errors.isEmpty()) << m_errors.join('\n').toStdString();
    QCoreApplication::processEvents();   // the layouts take the helical rows and captions
    std::vector<const QLineEdit*> boxes(w.values.begin(), w.values.end());
    for (const QLineEdit* box : pair.findChildren<QLineEdit*>())
        if (box->isVisibleTo(&pair))
            boxes.push_back(box);
    for (const QLineEdit* box : boxes) {
        const int room = box->contentsRect().width() - box->textMargins().left() - box->textMargins().right() - 4;
        EXPECT_GE(room, box->fontMetrics().horizontalAdvance(box->text())) << box->objectName().toStdString();
    }
    const QRect available = form().screen()->availableGeometry();
    for (QWidget* window : {static_cast<QWidget*>(&pair), static_cast<QWidget*>(&w)}) {
        EXPECT_TRUE(available.contains(window->geometry())) << window->objectName().toStdString();
        for (const QLabel* label : window->findChildren<QLabel*>()) {
            if (label->isVisibleTo(window) && !label->wordWrap()) {
                EXPECT_GE(label->width(), label->sizeHint().width()) << label->objectName().toStdString();
            }
        }
    }
    EXPECT_GE(w.helixValues->height(), w.helixValues->sizeHint().height());
    if (const QByteArray folder = qgetenv("TSUMUGI_SCREENSHOTS"); !folder.isEmpty()) {
        EXPECT_TRUE(pair.grab().save(QString::fromUtf8(folder) + QStringLiteral("/pair-helical.png")));
        EXPECT_TRUE(w.grab().save(QString::fromUtf8(folder) + QStringLiteral("/inspection-helical.png")));
    }
}

// A helical design file opened in かみあい comes back as the helical pair,
// not as spur gears of its numbers.
TEST_F(HelicalWindowsTest, AHelicalDesignOpensAsTheHelicalPair)
{
    QTemporaryDir dir;
    PairDesign d;
    d.module = 3.0;
    d.helixAngle = 30.0;
    d.gears[0].teeth = 12;
    d.gears[0].shift = 0.09809;
    d.gears[0].hand = Hand::Left;
    d.gears[0].faceWidth = 20.0;
    d.gears[1].teeth = 60;
    d.gears[1].hand = Hand::Right;
    const QString file = dir.filePath(QStringLiteral("helical.tsumugi"));
    WriteDesignFile(d, file.toStdString());
    Calculate("2", "20", "0");
    form().findChild<QAction*>(QStringLiteral("PairTool"))->trigger();
    PairWindow& w = *form().findChild<PairWindow*>(QStringLiteral("PairWindow"));
    SetDesignFileAnswer([&](bool, const QString&) { return file; });
    w.findChild<QPushButton*>(QStringLiteral("PairOpenDesign"))->click();
    SetDesignFileAnswer({});
    ASSERT_TRUE(m_errors.isEmpty()) << m_errors.join('\n').toStdString();
    EXPECT_EQ(Box(w, "PairHelixAngle")->text(), QStringLiteral("30"));
    EXPECT_EQ(Box(w, "PairHand2")->text(), QStringLiteral("右"));
    EXPECT_EQ(w.resultBox("center_distance")->text(), QStringLiteral("125.000"));
    EXPECT_EQ(w.resultBox("overlap_ratio")->text(), QStringLiteral("1.061"));
}

}  // namespace
