// SPDX-License-Identifier: GPL-3.0-or-later
// かみあい holds the whole design of the pair: each gear's class, face width
// and rows go to the design file and come back; 検査寸法 and its 要目表 take
// the chosen gear's values from it while a pair is shown.
#include "formfixture.h"

#include "geardata/designfile.h"
#include "ui/backlashpanel.h"
#include "ui/inspectionwindow.h"
#include "ui/pairwindow.h"
#include "ui/tolerancepanel.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QRadioButton>
#include <QTemporaryDir>

#include <cmath>

namespace {

class PairDesignTest : public FormTest {
protected:
    void TearDown() override
    {
        SetDesignFileAnswer({});
        SetDataSheetFileAnswer({});
        FormTest::TearDown();
    }
    PairWindow& OpenPair()
    {
        form().findChild<QAction*>(QStringLiteral("PairTool"))->trigger();
        return *form().findChild<PairWindow*>(QStringLiteral("PairWindow"));
    }
    InspectionWindow& OpenInspection()
    {
        form().findChild<QAction*>(QStringLiteral("InspectionItem"))->trigger();
        return *FindInspectionWindow(form());
    }
    static void Type(QLineEdit* box, const QString& text)
    {
        box->setText(text);
        box->setModified(true);
        Q_EMIT box->textEdited(text);   // as a user's typing
    }
    static QLineEdit* Box(PairWindow& w, const char* name) { return w.findChild<QLineEdit*>(QString::fromLatin1(name)); }
    // m 3, z 18 / 45 from a centre distance of 96 (shifts split by the tooth counts).
    PairWindow& TheReferencePair()
    {
        Calculate("3", "18", "0");
        PairWindow& w = OpenPair();
        Type(Box(w, "PairTeeth2"), "45");
        w.findChild<QRadioButton*>("PairFromCenterDistance")->click();
        Type(Box(w, "PairCenterDistance"), "96");
        w.findChild<QPushButton*>("PairCalculate")->click();
        return w;
    }
    static QString PdfText(const QString& file)
    {
        QProcess text;
        text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), file, QStringLiteral("-")});
        return text.waitForFinished(20000) ? QString::fromUtf8(text.readAllStandardOutput()).simplified() : QString();
    }
    QTemporaryDir m_dir;
};

// Every box by its name, with the name a screen reader says.
TEST_F(PairDesignTest, TheBoxesOfEachGearAreNamed)
{
    PairWindow& w = OpenPair();
    const struct {
        const char* name;
        const char* accessible;
    } boxes[] = {{"PairClass1", "精度等級 歯車１"},      {"PairClass2", "精度等級 歯車２"},
                 {"PairFaceWidth1", "歯幅 b 歯車１"},   {"PairFaceWidth2", "歯幅 b 歯車２"},
                 {"PairMaterial1", "材料 歯車１"},      {"PairMaterial2", "材料 歯車２"},
                 {"PairHeatTreatment1", "熱処理 歯車１"}, {"PairHeatTreatment2", "熱処理 歯車２"},
                 {"PairRemarks1", "備考 歯車１"},       {"PairRemarks2", "備考 歯車２"}};
    for (const auto& b : boxes) {
        QLineEdit* box = Box(w, b.name);
        ASSERT_NE(box, nullptr) << b.name;
        EXPECT_EQ(box->accessibleName(), QString::fromUtf8(b.accessible)) << b.name;
        EXPECT_TRUE(box->isEnabled() && !box->isReadOnly()) << b.name;
    }
    // A rack has no table of its own: its column is not for typing.
    w.findChild<QRadioButton*>("PairMateRack")->click();
    EXPECT_FALSE(Box(w, "PairClass2")->isEnabled() || Box(w, "PairRemarks2")->isEnabled());
    EXPECT_TRUE(Box(w, "PairClass1")->isEnabled());
}

// Typed, saved, read back by the file's reader; opened again into empty
// boxes; rows of other names a file had stay after the three.
TEST_F(PairDesignTest, EachGearsClassFaceWidthAndRowsGoToTheFileAndComeBack)
{
    const QString file = m_dir.filePath(QStringLiteral("pair.tsumugi"));
    SetDesignFileAnswer([&](bool, const QString&) { return file; });
    PairWindow& w = TheReferencePair();
    Type(Box(w, "PairClass1"), "6");
    Type(Box(w, "PairClass2"), " 7");
    Type(Box(w, "PairFaceWidth1"), "30");
    Type(Box(w, "PairFaceWidth2"), "28.5");
    Type(Box(w, "PairMaterial2"), "S45C");
    Type(Box(w, "PairHeatTreatment1"), "浸炭焼入れ");
    Type(Box(w, "PairRemarks1"), " 歯先面取り C0.5 ");
    w.findChild<QPushButton*>("PairSaveDesign")->click();
    ASSERT_TRUE(m_errors.isEmpty()) << m_errors.join('|').toStdString();
    PairDesign saved = ReadDesignFile(file.toStdString());
    EXPECT_EQ(saved.gears[0].accuracyClass, 6);
    EXPECT_EQ(saved.gears[1].accuracyClass, 7);
    EXPECT_EQ(saved.gears[0].faceWidth, 30.0);
    EXPECT_EQ(saved.gears[1].faceWidth, 28.5);
    using Rows = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(saved.gears[0].rows, (Rows{{"熱処理", "浸炭焼入れ"}, {"備考", "歯先面取り C0.5"}}));
    EXPECT_EQ(saved.gears[1].rows, (Rows{{"材料", "S45C"}}));

    // A file with a row of another name, in an order of its own.
    saved.gears[1].rows = {{"備考", "研削仕上げ"}, {"硬さ", "HRC 55"}, {"材料", "SCM415"}};
    saved.gears[0].accuracyClass.reset();
    saved.gears[0].faceWidth.reset();
    saved.gears[0].rows.clear();
    WriteDesignFile(saved, file.toStdString());
    w.findChild<QPushButton*>("PairOpenDesign")->click();
    ASSERT_TRUE(m_errors.isEmpty()) << m_errors.join('|').toStdString();
    const QStringList shown{Box(w, "PairClass1")->text(),    Box(w, "PairFaceWidth1")->text(), Box(w, "PairRemarks1")->text(),
                            Box(w, "PairClass2")->text(),    Box(w, "PairFaceWidth2")->text(), Box(w, "PairMaterial2")->text(),
                            Box(w, "PairHeatTreatment2")->text(), Box(w, "PairRemarks2")->text()};
    EXPECT_EQ(shown, (QStringList{"", "", "", "7", "28.5", "SCM415", "", "研削仕上げ"}));
    // 備考 emptied: its row goes, 硬さ stays after the three.
    Type(Box(w, "PairRemarks2"), "");
    Type(Box(w, "PairHeatTreatment2"), "調質");
    w.findChild<QPushButton*>("PairSaveDesign")->click();
    EXPECT_EQ(ReadDesignFile(file.toStdString()).gears[1].rows,
              (Rows{{"材料", "SCM415"}, {"熱処理", "調質"}, {"硬さ", "HRC 55"}}));
    EXPECT_TRUE(m_errors.isEmpty()) << m_errors.join('|').toStdString();
}

// A box that does not parse is named in the error box, and no file is asked for or written.
TEST_F(PairDesignTest, ABadBoxIsRefusedByNameAndNothingIsSaved)
{
    const QString file = m_dir.filePath(QStringLiteral("never.tsumugi"));
    int asked = 0;
    SetDesignFileAnswer([&](bool, const QString&) {
        ++asked;
        return file;
    });
    PairWindow& w = TheReferencePair();
    const struct {
        const char* box;
        const char* text;
        const char* message;
    } cases[] = {
        {"PairClass1", "abc", "精度等級 歯車１：'abc' は整数ではありません."},
        {"PairClass2", "12", "精度等級 歯車２：12 は 1 から 11 の間にありません."},
        {"PairClass2", "0", "精度等級 歯車２：0 は 1 から 11 の間にありません."},
        {"PairFaceWidth1", "3,5", "歯幅 b 歯車１：'3,5' は浮動小数点数ではありません."},
        {"PairFaceWidth2", "0", "歯幅 b 歯車２：歯幅は正の有限の数にしてください."},
        {"PairFaceWidth2", "-4", "歯幅 b 歯車２：歯幅は正の有限の数にしてください."},
        {"PairFaceWidth1", "1e999", "歯幅 b 歯車１：浮動小数点数のオーバーフロー."},
    };
    for (const auto& c : cases) {
        m_errors.clear();
        QLineEdit* box = Box(w, c.box);
        Type(box, QString::fromUtf8(c.text));
        w.findChild<QPushButton*>("PairSaveDesign")->click();
        EXPECT_EQ(m_errors, QStringList{QString::fromUtf8(c.message)}) << c.box << " " << c.text;
        Type(box, QString());
    }
    EXPECT_EQ(asked, 0);
    EXPECT_FALSE(QFile::exists(file));
    // The boxes emptied again, the design saves.
    m_errors.clear();
    w.findChild<QPushButton*>("PairSaveDesign")->click();
    EXPECT_TRUE(m_errors.isEmpty()) << m_errors.join('|').toStdString();
    EXPECT_TRUE(QFile::exists(file));
}

// 検査寸法 on gear 2 of the pair: the class, allowance and rows typed in
// かみあい fill its boxes, which cannot be edited; the 要目表 is gear 2's, read
// back from the PDF. Closed かみあい gives the user's own boxes back.
TEST_F(PairDesignTest, InspectionAndItsDataTableTakeTheChosenGearsDesign)
{
    Calculate("3", "18", "0");
    InspectionWindow& w = OpenInspection();
    TolerancePanel& t = *w.tolerances;
    t.remarksEdit->setText(QStringLiteral("自分の備考"));   // put aside while the design fills the boxes
    t.classEdit->setText(QStringLiteral("9"));
    PairWindow& pair = TheReferencePair();
    auto* backlash = pair.findChild<BacklashPanel*>("BacklashPanel");
    Type(backlash->allowance[0][0], "-0.04");
    Type(backlash->allowance[0][1], "-0.08");
    Type(backlash->allowance[1][0], "-0.06");
    Type(backlash->allowance[1][1], "-0.12");
    Type(backlash->centerAllowance[0], "0.03");
    Type(backlash->centerAllowance[1], "-0.03");
    Type(Box(pair, "PairClass1"), "6");
    Type(Box(pair, "PairClass2"), "7");
    Type(Box(pair, "PairMaterial2"), "S45C");
    Type(Box(pair, "PairMaterial1"), "SCM415");
    pair.findChild<QPushButton*>("PairCalculate")->click();
    const QString x2 = pair.resultBox("shift", 1)->text();
    EXPECT_EQ(x2, QStringLiteral("0.150978"));

    w.gear2Choice->click();
    ASSERT_TRUE(w.gear2Choice->isChecked()) << m_errors.join('|').toStdString();
    EXPECT_EQ((QStringList{t.classEdit->text(), t.faceWidthEdit->text(), t.upperEdit->text(), t.lowerEdit->text(),
                           t.materialEdit->text(), t.remarksEdit->text()}),
              (QStringList{"7", "", "-0.06", "-0.12", "S45C", ""}));
    for (QLineEdit* box : {t.classEdit, t.faceWidthEdit, t.upperEdit, t.lowerEdit, t.materialEdit, t.heatTreatmentEdit,
                           t.remarksEdit})
        EXPECT_TRUE(box->isReadOnly()) << box->objectName().toStdString();
    EXPECT_EQ(t.designNote->text(), QStringLiteral("かみあいの設計の値です（かみあいで変えてください）"));

    // Span W over k teeth of gear 2: m cos α (π (k − 0.5) + z inv α) + 2 x m sin α, thinned by A cos α.
    const QString k = w.findChild<QLabel*>("Label_span_k")->text();
    const int spanTeeth = k.mid(k.indexOf(QStringLiteral("k＝")) + 2).chopped(1).toInt();
    ASSERT_GT(spanTeeth, 1) << k.toStdString();
    const double alpha = 20.0 * M_PI / 180.0;
    const double nominal = 3.0 * std::cos(alpha) * (M_PI * (spanTeeth - 0.5) + 45.0 * (std::tan(alpha) - alpha)) +
                           2.0 * x2.toDouble() * 3.0 * std::sin(alpha);
    const QString upperSpan = QString::number(nominal - 0.06 * std::cos(alpha), 'f', 3);
    const QString lowerSpan = QString::number(nominal - 0.12 * std::cos(alpha), 'f', 3);
    EXPECT_TRUE(w.limitBoxes.at("span_k")->text().contains(lowerSpan)) << w.limitBoxes.at("span_k")->text().toStdString();

    const QString file = m_dir.filePath(QStringLiteral("gear2.pdf"));
    SetDataSheetFileAnswer([&](const QString&) { return file; });
    t.pdfAction->trigger();
    ASSERT_TRUE(m_errors.isEmpty()) << m_errors.join('|').toStdString();
    const QString page = PdfText(file);
    for (const QString& want :
         {QStringLiteral("歯数 45"), QStringLiteral("転位量 +%1").arg(3.0 * x2.toDouble(), 0, 'f', 3), QStringLiteral("7級"),
          QStringLiteral("材料 S45C"), upperSpan, lowerSpan, QStringLiteral("中心距離 96.000"), QStringLiteral("歯数 18")})
        EXPECT_TRUE(page.contains(want)) << want.toStdString() << "\n" << page.toStdString();
    EXPECT_FALSE(page.contains(QStringLiteral("SCM415"))) << page.toStdString();

    // 歯車１: gear 1's design, as typed in かみあい.
    w.gear1Choice->click();
    EXPECT_EQ((QStringList{t.classEdit->text(), t.upperEdit->text(), t.lowerEdit->text(), t.materialEdit->text()}),
              (QStringList{"6", "-0.04", "-0.08", "SCM415"}));
    // Edited in かみあい, followed at once.
    Type(Box(pair, "PairMaterial1"), "SNCM439");
    EXPECT_EQ(t.materialEdit->text(), QStringLiteral("SNCM439"));

    // かみあい closed: the user's own boxes again.
    pair.close();
    EXPECT_EQ((QStringList{t.classEdit->text(), t.upperEdit->text(), t.materialEdit->text(), t.remarksEdit->text()}),
              (QStringList{"9", "", "", "自分の備考"}));
    EXPECT_FALSE(t.classEdit->isReadOnly());
    EXPECT_TRUE(t.designNote->text().isEmpty());
    EXPECT_TRUE(m_errors.isEmpty()) << m_errors.join('|').toStdString();
}

}  // namespace

namespace {

// The windows as a user sees them with a design shown: every box of かみあい
// wide enough for a shift to six decimals, both windows on the screen, and
// 検査寸法 the same size whether its boxes are the user's or the design's.
// With TSUMUGI_SCREENSHOTS set to a folder, both windows are saved there as PNG.
TEST_F(PairDesignTest, TheWindowsKeepTheirRoomWithADesignShown)
{
    form().show();
    InspectionWindow& w = OpenInspection();
    const QSize own = w.size();
    PairWindow& pair = TheReferencePair();
    Type(Box(pair, "PairClass2"), "7");
    Type(Box(pair, "PairMaterial2"), "S45C");
    Type(Box(pair, "PairHeatTreatment2"), "高周波焼入れ");
    Type(pair.findChild<BacklashPanel*>("BacklashPanel")->allowance[1][0], "-0.06");
    Type(pair.findChild<BacklashPanel*>("BacklashPanel")->allowance[1][1], "-0.12");
    pair.findChild<QPushButton*>("PairCalculate")->click();
    w.gear2Choice->click();
    ASSERT_TRUE(w.tolerances->usesDesign());
    EXPECT_EQ(w.size(), own);
    const QRect available = form().screen()->availableGeometry();
    for (const QWidget* window : {static_cast<const QWidget*>(&pair), static_cast<const QWidget*>(&w)})
        EXPECT_TRUE(available.contains(window->geometry())) << window->objectName().toStdString();
    std::vector<const QLineEdit*> boxes{w.tolerances->upperEdit, w.tolerances->lowerEdit, w.tolerances->faceWidthEdit};
    for (const QLineEdit* box : pair.findChildren<QLineEdit*>())
        if (box->isVisibleTo(&pair))
            boxes.push_back(box);
    for (const QLineEdit* box : boxes) {
        const int room = box->contentsRect().width() - box->textMargins().left() - box->textMargins().right() - 4;
        EXPECT_GE(room, box->fontMetrics().horizontalAdvance(QStringLiteral("0.377445")))
            << box->objectName().toStdString();
    }
    const QByteArray folder = qgetenv("TSUMUGI_SCREENSHOTS");
    if (!folder.isEmpty()) {
        EXPECT_TRUE(pair.grab().save(QString::fromUtf8(folder) + QStringLiteral("/pair.png")));
        EXPECT_TRUE(w.grab().save(QString::fromUtf8(folder) + QStringLiteral("/inspection.png")));
    }
    // A ring's longer report: the window is no taller (its width follows the ring's captions).
    const int height = pair.height();
    pair.findChild<QRadioButton*>("PairMateInternal")->click();
    Type(Box(pair, "PairTeeth2"), "72");
    pair.findChild<QPushButton*>("PairCalculate")->click();
    EXPECT_EQ(pair.height(), height);
    if (!folder.isEmpty()) {
        EXPECT_TRUE(pair.grab().save(QString::fromUtf8(folder) + QStringLiteral("/pair-ring.png")));
    }
    EXPECT_TRUE(m_errors.isEmpty()) << m_errors.join('|').toStdString();
}

}  // namespace
