// SPDX-License-Identifier: GPL-3.0-or-later
// 検査寸法 with an accuracy class and allowances, its data table saved as a PDF,
// and the backlash of かみあい.
#include "formfixture.h"

#include "ui/backlashpanel.h"
#include "ui/exportdialog.h"
#include "ui/inspectionwindow.h"
#include "ui/pairwindow.h"
#include "ui/tolerancepanel.h"
#include "geardata/designfile.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QDir>
#include <QImage>
#include <QRegularExpression>
#include <QScreen>
#include <QElapsedTimer>
#include <QPrinterInfo>
#include <QSet>
#include <QThread>
#include <QLabel>
#include <QListWidget>
#include <QProcess>
#include <QRadioButton>
#include <QFile>
#include <QTemporaryDir>

namespace {

class TolerancePanelTest : public FormTest {
protected:
    InspectionWindow& OpenInspection()
    {
        form().findChild<QAction*>(QStringLiteral("InspectionItem"))->trigger();
        return *FindInspectionWindow(form());
    }
    PairWindow& OpenPair()
    {
        form().findChild<QAction*>(QStringLiteral("PairTool"))->trigger();
        return *form().findChild<PairWindow*>(QStringLiteral("PairWindow"));
    }
    void TearDown() override
    {
        SetDataSheetFileAnswer({});
        SetExportFormAnswer({});
        SetExportFileAnswer({});
        FormTest::TearDown();
    }
};

TEST_F(TolerancePanelTest, LimitsBesideTheValuesAndTheDataTableAsPdf)
{
    Calculate("2", "20", "0");
    PairWindow& pair = OpenPair();
    pair.findChild<QLineEdit*>("PairTeeth2")->setText(QStringLiteral("40"));
    pair.findChild<BacklashPanel*>("BacklashPanel")->allowance[1][0]->setText(QStringLiteral("-0.06"));
    pair.findChild<BacklashPanel*>("BacklashPanel")->allowance[1][1]->setText(QStringLiteral("-0.12"));
    pair.findChild<QPushButton*>("PairCalculate")->click();

    // With a pair shown, gear 1's class and allowance are typed in かみあい, 検査寸法 shows them.
    pair.findChild<QLineEdit*>("PairClass1")->setText(QStringLiteral("6"));
    pair.findChild<BacklashPanel*>("BacklashPanel")->allowance[0][0]->setText(QStringLiteral("-0.05"));
    pair.findChild<BacklashPanel*>("BacklashPanel")->allowance[0][1]->setText(QStringLiteral("-0.1"));
    InspectionWindow& w = OpenInspection();
    TolerancePanel& t = *w.tolerances;
    EXPECT_EQ((QStringList{t.classEdit->text(), t.upperEdit->text(), t.lowerEdit->text()}),
              (QStringList{"6", "-0.05", "-0.1"}));
    Q_EMIT t.classEdit->returnPressed();
    EXPECT_EQ(w.limitBoxes.at("span_k")->text(), QStringLiteral("15.2269 ～ 15.2739"));
    ASSERT_EQ(t.accuracyList->count(), 8);
    EXPECT_EQ(t.accuracyList->item(0)->text(), QStringLiteral("単一ピッチ許容値 fpT　8.5 µm"));
    EXPECT_EQ(t.accuracyList->item(5)->text(), QStringLiteral("歯すじ形状許容値 ffβ　―"));
    EXPECT_EQ(t.accuracyNote->text(), QStringLiteral("精度等級　ISO 1328-1:2013（JIS B 1702-1）6級"));

    pair.findChild<QLineEdit*>("PairClass1")->setText(QStringLiteral("12"));
    Q_EMIT t.classEdit->returnPressed();
    EXPECT_EQ(m_errors.last(), QStringLiteral("精度等級 歯車１：12 は 1 から 11 の間にありません."));
    pair.findChild<QLineEdit*>("PairClass1")->setText(QStringLiteral("6"));
    // Without a pair shown the boxes are 検査寸法's own, refused by their own check.
    pair.close();
    t.classEdit->setText(QStringLiteral("12"));
    Q_EMIT t.classEdit->returnPressed();
    EXPECT_EQ(m_errors.last(), QStringLiteral("精度等級 12 は 1 から 11 の間にありません."));
    OpenPair();
    Q_EMIT t.classEdit->returnPressed();
    EXPECT_EQ(t.classEdit->text(), QStringLiteral("6"));

    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("sheet"));
    SetDataSheetFileAnswer([&](const QString&) { return file; });
    t.pdfAction->trigger();
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), file + QStringLiteral(".pdf"), QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(20000));
    const QString page = QString::fromUtf8(text.readAllStandardOutput()).simplified();
    // The mate and its allowance come from かみあい: j_bn from (0.05 + 0.06) cos 20° to (0.10 + 0.12) cos 20°.
    for (const QString& want : {QStringLiteral("要目表"), QStringLiteral("歯数 40"), QStringLiteral("中心距離 60.000"),
                                QStringLiteral("法線方向 0.103"), QStringLiteral("0.207"), QStringLiteral("6級")})
        EXPECT_TRUE(page.contains(want)) << want.toStdString() << "\n" << page.toStdString();
}

// The table carries the pair かみあい shows: shifts solved from a centre
// distance (refused while the gear is not that pair's gear 1), the pair's
// shortened tip, and a ring as a ring (its centre distance, no backlash); the
// rows typed for 材料, 熱処理 and 備考 end it, and the findings stay off it.
TEST_F(TolerancePanelTest, TheDataTableIsThePairAsShownFromACentreDistanceOrWithARing)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("sheet.pdf"));
    SetDataSheetFileAnswer([&](const QString&) { return file; });
    const auto page = [&] {
        QProcess text;
        text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), file, QStringLiteral("-")});
        return text.waitForFinished(20000) ? QString::fromUtf8(text.readAllStandardOutput()).simplified() : QString();
    };
    Calculate("3", "18", "0");
    PairWindow& pair = OpenPair();
    pair.findChild<QLineEdit*>("PairTeeth2")->setText(QStringLiteral("45"));
    pair.findChild<QLineEdit*>("PairTeeth2")->setModified(true);   // typed: it no longer follows the main window
    pair.findChild<QRadioButton*>("PairFromCenterDistance")->click();
    pair.findChild<QLineEdit*>("PairCenterDistance")->setText(QStringLiteral("96"));
    pair.findChild<QPushButton*>("PairCalculate")->click();
    const QString x1 = pair.resultBox("shift", 0)->text(), x2 = pair.resultBox("shift", 1)->text();
    ASSERT_NE(x1.toDouble(), 0.0);

    InspectionWindow& w = OpenInspection();
    w.tolerances->pdfAction->trigger();
    ASSERT_FALSE(m_errors.isEmpty());
    EXPECT_TRUE(m_errors.last().startsWith(QStringLiteral("かみあいの歯車１（転位係数 ") + x1)) << m_errors.last().toStdString();
    EXPECT_TRUE(m_errors.last().contains(QStringLiteral("この歯車（転位係数 0）と違います"))) << m_errors.last().toStdString();
    EXPECT_FALSE(QFile::exists(file));

    // この組を使う types gear 1's shift into the main window and calculates it
    // there; the table is then that pair's: a = 96.
    pair.findChild<QPushButton*>("PairUseDesign")->click();
    EXPECT_NEAR(form().currentGear().Shift, x1.toDouble(), 5e-7);
    EXPECT_EQ(pair.resultBox("shift", 1)->text(), x2);
    w.tolerances->pdfAction->trigger();
    QString text = page();
    for (const QString& want : {QStringLiteral("歯数 45"), QStringLiteral("中心距離 96.000"),
                                QStringLiteral("転位量 +%1").arg(3 * x2.toDouble(), 0, 'f', 3),
                                QStringLiteral("歯先円直径 %1").arg(pair.resultBox("tip_diameter", 0)->text().toDouble(), 0, 'f', 3),
                                QStringLiteral("全歯たけ 6.665")})
        EXPECT_TRUE(text.contains(want)) << want.toStdString() << "\n" << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("警告"))) << text.toStdString();

    // 歯車２: the inspection and the table of gear 2, gear 1 its mate.
    w.gear2Choice->click();
    EXPECT_TRUE(w.gearLabel->text().contains(QStringLiteral("z 45"))) << w.gearLabel->text().toStdString();
    w.tolerances->pdfAction->trigger();
    text = page();
    for (const QString& want : {QStringLiteral("基準ピッチ円直径 135.000"), QStringLiteral("歯数 18"),
                                QStringLiteral("中心距離 96.000"), QStringLiteral("全歯たけ 6.665")})
        EXPECT_TRUE(text.contains(want)) << want.toStdString() << "\n" << text.toStdString();
    w.gear1Choice->click();

    // A 72-tooth ring around the 18-tooth gear: its centre distance 81, and
    // without allowances no backlash.
    Calculate("3", "18", "0");
    pair.findChild<QRadioButton*>("PairFromShifts")->click();
    pair.findChild<QRadioButton*>("PairMateInternal")->click();
    pair.findChild<QLineEdit*>("PairTeeth2")->setText(QStringLiteral("72"));
    pair.findChild<QLineEdit*>("PairShift2")->setText(QStringLiteral("0"));
    pair.findChild<QPushButton*>("PairCalculate")->click();
    pair.findChild<QLineEdit*>("PairMaterial1")->setText(QStringLiteral("S45C"));   // the table reads かみあい's boxes
    pair.findChild<QLineEdit*>("PairHeatTreatment1")->setText(QStringLiteral("高周波焼入れ"));
    pair.findChild<QLineEdit*>("PairRemarks1")->setText(QStringLiteral("歯面 HRC50 以上"));
    w.tolerances->pdfAction->trigger();
    text = page();
    for (const QString& want : {QStringLiteral("種類 内歯車"), QStringLiteral("歯数 72"), QStringLiteral("中心距離 81.000"),
                                QStringLiteral("材料 S45C 熱処理 高周波焼入れ 備考 歯面 HRC50 以上")})
        EXPECT_TRUE(text.contains(want)) << want.toStdString() << "\n" << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("法線方向 0.000 〜 0.000"))) << text.toStdString();
    // A ring has no 歯車２ here: the error box says why and 歯車１ stays chosen.
    w.gear2Choice->click();
    EXPECT_TRUE(w.gear1Choice->isChecked());
    EXPECT_EQ(m_errors.last(), QStringLiteral("歯車２は、かみあいに外歯車どうしの組が出ているときに選べます."));
}

// かみあい saves the pair shown as a design file and opens it again: its
// gear 1 becomes the main window's gear, the boxes hold the rest, and the
// pair comes back; a bad file changes nothing.
TEST_F(TolerancePanelTest, ThePairGoesToADesignFileAndComesBack)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("pair"));
    QString answer = file;
    SetDesignFileAnswer([&](bool, const QString&) { return answer; });
    Calculate("3", "18", "0");
    PairWindow& pair = OpenPair();
    pair.findChild<QLineEdit*>("PairTeeth2")->setText(QStringLiteral("45"));
    pair.findChild<QLineEdit*>("PairTeeth2")->setModified(true);
    pair.findChild<QRadioButton*>("PairFromCenterDistance")->click();
    pair.findChild<QLineEdit*>("PairCenterDistance")->setText(QStringLiteral("96"));
    pair.findChild<BacklashPanel*>("BacklashPanel")->allowance[1][0]->setText(QStringLiteral("-0.06"));
    pair.findChild<BacklashPanel*>("BacklashPanel")->allowance[1][1]->setText(QStringLiteral("-0.12"));
    pair.findChild<QPushButton*>("PairCalculate")->click();
    const QString x1 = pair.resultBox("shift", 0)->text(), x2 = pair.resultBox("shift", 1)->text();
    pair.findChild<QPushButton*>("PairSaveDesign")->click();
    const PairDesign saved = ReadDesignFile((file + QStringLiteral(".tsumugi")).toStdString());
    EXPECT_EQ(saved.gears[1].teeth, 45);
    EXPECT_EQ(saved.gears[1].allowance.lower, -0.12);
    ASSERT_TRUE(saved.centerDistance.has_value());
    EXPECT_DOUBLE_EQ(*saved.centerDistance, 96.0);

    // Elsewhere meanwhile: another gear, another mate.
    Calculate("2", "20", "0");
    pair.findChild<QRadioButton*>("PairFromShifts")->click();
    pair.findChild<QLineEdit*>("PairTeeth2")->setText(QStringLiteral("30"));
    pair.findChild<QPushButton*>("PairCalculate")->click();

    answer = file + QStringLiteral(".tsumugi");
    pair.findChild<QPushButton*>("PairOpenDesign")->click();
    EXPECT_EQ(form().currentGear().Module, 3.0);
    EXPECT_NEAR(form().currentGear().Shift, x1.toDouble(), 5e-7);
    EXPECT_EQ(pair.resultBox("shift", 1)->text(), x2);
    EXPECT_EQ(pair.resultBox("center_distance", 0)->text(), QStringLiteral("96.000"));
    EXPECT_EQ(pair.findChild<BacklashPanel*>("BacklashPanel")->allowance[1][1]->text(), QStringLiteral("-0.12"));

    // A file of a later version is refused by name, and the pair stays.
    QFile later(dir.filePath(QStringLiteral("later.tsumugi")));
    ASSERT_TRUE(later.open(QIODevice::WriteOnly));
    later.write(R"({"format": "tsumugi-design", "version": 3})");
    later.close();
    answer = later.fileName();
    const int errors = m_errors.size();
    pair.findChild<QPushButton*>("PairOpenDesign")->click();
    ASSERT_EQ(m_errors.size(), errors + 1);
    EXPECT_TRUE(m_errors.last().contains(QStringLiteral("新しい版（version 3）"))) << m_errors.last().toStdString();
    EXPECT_EQ(pair.resultBox("shift", 1)->text(), x2);
    SetDesignFileAnswer({});
}

TEST_F(TolerancePanelTest, BacklashOfThePairOnlyWhenAllowancesAreTyped)
{
    Calculate("2", "20", "0");
    PairWindow& w = OpenPair();
    w.findChild<QLineEdit*>("PairTeeth2")->setText(QStringLiteral("40"));
    w.findChild<QPushButton*>("PairCalculate")->click();
    EXPECT_EQ(w.findChild<QListWidget*>("PairFindings")->item(0)->text(), QStringLiteral("警告＝０"));
    EXPECT_TRUE(w.findChild<BacklashPanel*>("BacklashPanel")->results.at("normal_backlash")[0]->text().isEmpty());

    w.findChild<BacklashPanel*>("BacklashPanel")->allowance[0][0]->setText(QStringLiteral("-0.05"));
    w.findChild<BacklashPanel*>("BacklashPanel")->allowance[0][1]->setText(QStringLiteral("-0.1"));
    w.findChild<BacklashPanel*>("BacklashPanel")->allowance[1][0]->setText(QStringLiteral("-0.05"));
    w.findChild<BacklashPanel*>("BacklashPanel")->allowance[1][1]->setText(QStringLiteral("-0.1"));
    Q_EMIT w.findChild<BacklashPanel*>("BacklashPanel")->allowance[1][1]->returnPressed();
    EXPECT_EQ(w.findChild<BacklashPanel*>("BacklashPanel")->results.at("normal_backlash")[0]->text(), QStringLiteral("0.094"));
    EXPECT_EQ(w.findChild<BacklashPanel*>("BacklashPanel")->results.at("normal_backlash")[1]->text(), QStringLiteral("0.188"));
    EXPECT_EQ(w.findChild<BacklashPanel*>("BacklashPanel")->results.at("recommended_min_backlash")[0]->text(), QStringLiteral("0.100"));
    EXPECT_EQ(w.findChild<QListWidget*>("PairFindings")->item(0)->text(), QStringLiteral("警告：最小法線バックラッシが ISO/TR 10064-2 の推奨値未満"));
    w.findChild<QPushButton*>("PairCopy")->click();   // the copy, like the list, counts the backlash warning
    const QString copied = QGuiApplication::clipboard()->text();
    EXPECT_FALSE(copied.contains(QStringLiteral("警告＝０"))) << copied.toStdString();
    EXPECT_TRUE(copied.contains(QStringLiteral("推奨値未満"))) << copied.toStdString();

    w.findChild<BacklashPanel*>("BacklashPanel")->centerAllowance[0]->setText(QStringLiteral("-0.1"));
    w.findChild<QPushButton*>("PairCalculate")->click();
    EXPECT_EQ(m_errors.last(), QStringLiteral("中心距離の許容差の上の値が下の値より小さいか、有限の数ではありません."));
}

TEST_F(TolerancePanelTest, ProfileExportCarriesTheTableOfInspection)
{
    Calculate("2", "20", "0");
    InspectionWindow& w = OpenInspection();
    w.tolerances->classEdit->setText(QStringLiteral("7"));
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("gear.dxf"));
    SetExportFormAnswer([](ExportForm& f) {
        f.m_dataTableCheck->setChecked(true);
        return true;
    });
    SetExportFileAnswer([&](const QString&, QString&) { return file; });
    form().findChild<QAction*>(QStringLiteral("ExportProfile1"))->trigger();
    QProcess reader;
    reader.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral("-c"), QStringLiteral("import sys, ezdxf\n"
                                                       "d = ezdxf.readfile(sys.argv[1])\n"
                                                       "t = [e.dxf.text for e in d.modelspace().query('TEXT[layer==\"DATATABLE\"]')]\n"
                                                       "print(t[t.index('精度') + 1])"),
                  file});
    ASSERT_TRUE(reader.waitForFinished(30000));
    EXPECT_EQ(QString::fromUtf8(reader.readAllStandardOutput()).trimmed(),
              QStringLiteral("ISO 1328-1:2013（JIS B 1702-1）7級"))
        << reader.readAllStandardError().toStdString();

    SetExportFileAnswer([&](const QString&, QString&) { return dir.filePath(QStringLiteral("gear.svg")); });
    form().findChild<QAction*>(QStringLiteral("ExportProfile1"))->trigger();
    EXPECT_EQ(m_errors.last(), QStringLiteral("要目表は DXF にだけ書き出せます."));
}

// With a pair in かみあい, 歯形の書き出し can write its gear 2, with that
// gear's table (gear 1 its mate).
TEST_F(TolerancePanelTest, ProfileExportWritesGear2OfThePair)
{
    Calculate("2", "20", "0");
    PairWindow& pair = OpenPair();
    pair.findChild<QLineEdit*>("PairTeeth2")->setText(QStringLiteral("40"));
    pair.findChild<QLineEdit*>("PairTeeth2")->setModified(true);
    pair.findChild<QLineEdit*>("PairShift2")->setText(QStringLiteral("0.2"));
    pair.findChild<QPushButton*>("PairCalculate")->click();
    OpenInspection();
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("gear2.dxf"));
    QString label;
    SetExportFormAnswer([&](ExportForm& f) {
        if (f.m_gear2Choice == nullptr)
            return false;
        f.m_gear2Choice->click();
        label = f.m_gearLabel->text();
        f.m_dataTableCheck->setChecked(true);
        return true;
    });
    SetExportFileAnswer([&](const QString&, QString&) { return file; });
    form().findChild<QAction*>(QStringLiteral("ExportProfile1"))->trigger();
    EXPECT_EQ(label, QStringLiteral("モジュール 2　歯数 40　転位係数 0.2　圧力角 20°"));
    QProcess reader;
    reader.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral("-c"), QStringLiteral("import sys, ezdxf\n"
                                                       "d = ezdxf.readfile(sys.argv[1])\n"
                                                       "t = [e.dxf.text for e in d.modelspace().query('TEXT[layer==\"DATATABLE\"]')]\n"
                                                       "m = t.index('相手歯車')\n"
                                                       "print(t[t.index('歯数') + 1], t[t.index('歯数', m) + 1])"),
                  file});
    ASSERT_TRUE(reader.waitForFinished(30000));
    EXPECT_EQ(QString::fromUtf8(reader.readAllStandardOutput()).trimmed(), QStringLiteral("40 20"))
        << reader.readAllStandardError().toStdString() << m_errors.join(QStringLiteral("|")).toStdString();
}

// On the PDF queue tools/cups-pdf.sh sets up, made this process's default
// printer by its name (CUPS reads PRINTER): the page the printer gets is the
// table, its texts read back from the printed file.
TEST_F(TolerancePanelTest, PrintsTheDataTableOnTheDefaultPrinter)
{
    const QString queue = QStringLiteral("TsumugiPDF");
    const DefaultPrinterByName byName(queue);
    const QDir out(QStringLiteral("/var/spool/cups-pdf/tsumugi"));
    const QPrinterInfo target = QPrinterInfo::defaultPrinter();
    if (target.isNull() || target.printerName() != queue)
        GTEST_SKIP() << "the default printer is not the PDF queue; tools/cups-pdf.sh sets it up";
    const QStringList before = out.entryList({QStringLiteral("*.pdf")}, QDir::Files);
    const QSet<QString> earlier(before.begin(), before.end());

    Calculate("2", "20", "0");
    InspectionWindow& w = OpenInspection();
    w.tolerances->upperEdit->setText(QStringLiteral("-0.05"));
    w.tolerances->lowerEdit->setText(QStringLiteral("-0.1"));
    w.tolerances->printAction->trigger();
    ASSERT_TRUE(m_errors.isEmpty()) << m_errors.join('|').toStdString();

    // Other jobs may land in the folder meanwhile: the one wanted carries the
    // document name 要目表 (the queue writes its UTF-8 bytes in octal). The queue
    // draws the glyphs anew without their characters, so the page is read as
    // pixels: the table's frame and texts, inked, on one A4 page.
    const QString prefix = QStringLiteral("350_246_201_347_233_256_350_241_250");
    QElapsedTimer waited;
    waited.start();
    QString pdf;
    // The job is done when its file is there and the queue is empty.
    auto queueEmpty = [&] {
        QProcess lpstat;
        lpstat.start(QStringLiteral("lpstat"), {QStringLiteral("-o"), queue});
        lpstat.waitForFinished(20000);
        return lpstat.readAllStandardOutput().trimmed().isEmpty();
    };
    while (waited.elapsed() < 120000) {
        for (const QString& name : out.entryList({QStringLiteral("*.pdf")}, QDir::Files))
            if (!earlier.contains(name) && name.startsWith(prefix))
                pdf = out.filePath(name);
        if (!pdf.isEmpty() && queueEmpty())
            break;
        QThread::msleep(200);
    }
    ASSERT_FALSE(pdf.isEmpty()) << "no printed table within 120 s";
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {pdf});
    info.waitForFinished(20000);
    EXPECT_TRUE(QString::fromUtf8(info.readAllStandardOutput())
                    .contains(QRegularExpression(QStringLiteral("\\nPages: +1\\n"))));
    QTemporaryDir dir;
    QProcess render;
    render.start(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("20"), QStringLiteral("-gray"),
                                             QStringLiteral("-singlefile"), QStringLiteral("-png"), pdf,
                                             dir.filePath(QStringLiteral("page"))});
    render.waitForFinished(60000);
    const QImage image(dir.filePath(QStringLiteral("page.png")));
    ASSERT_FALSE(image.isNull());
    int inked = 0, inkedBelowMargin = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128) {
                ++inked;
                inkedBelowMargin += y > image.height() / 2 ? 1 : 0;
            }
    EXPECT_GT(inked, 300);                 // the frame and the texts
    EXPECT_EQ(inkedBelowMargin, 0);        // all of it in the upper half: one table, no stray job
}

// A face width far outside the formulas' range is named in a line that wraps;
// the window keeps its width, inside the screen.
TEST_F(TolerancePanelTest, AHugeFaceWidthKeepsTheWindowsWidth)
{
    Calculate("2", "20", "0");
    InspectionWindow& w = OpenInspection();
    const int width = w.width();
    TolerancePanel& t = *w.tolerances;
    t.classEdit->setText(QStringLiteral("7"));
    t.faceWidthEdit->setText(QStringLiteral("1e308"));
    Q_EMIT t.faceWidthEdit->returnPressed();
    QCoreApplication::processEvents();
    EXPECT_TRUE(t.accuracyNote->text().endsWith(
        QStringLiteral("\n歯幅 b 1e+308 は精度等級の式の適用範囲（4～1200）の外です（外挿した値）")))
        << t.accuracyNote->text().toStdString();
    EXPECT_EQ(w.width(), width);
    EXPECT_LE(w.frameGeometry().right(), w.screen()->availableGeometry().right());
}

}  // namespace
