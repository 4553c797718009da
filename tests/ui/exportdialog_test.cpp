// SPDX-License-Identifier: GPL-3.0-or-later
#include "formfixture.h"

#include "export/profileexport.h"
#include "base/apperror.h"
#include "geometry/internalgear.h"
#include "ui/backlashpanel.h"
#include "ui/exportdialog.h"
#include "ui/pairwindow.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QProcess>
#include <QRadioButton>
#include <QTemporaryDir>

#include <cmath>
#include <cstdlib>

namespace {

class ExportToolTest : public FormTest {
protected:
    void TearDown() override
    {
        SetExportFormAnswer({});
        SetExportFileAnswer({});
        ResetExportForm();
        FormTest::TearDown();
    }

    // Chooses "歯形の書き出し" with the boxes typed and the file (and filter) chosen.
    void Export(const QStringList& boxes, const QString& file, const QString& filter = QStringLiteral("DXF (*.dxf)"))
    {
        SetExportFormAnswer([&](ExportForm& f) {
            m_defaults = {f.m_toleranceEdit->text(), f.m_tipRadiusEdit->text(), f.m_boreEdit->text()};
            f.m_toleranceEdit->setText(boxes.value(0, f.m_toleranceEdit->text()));
            f.m_tipRadiusEdit->setText(boxes.value(1, f.m_tipRadiusEdit->text()));
            f.m_boreEdit->setText(boxes.value(2, f.m_boreEdit->text()));
            return !file.isNull();
        });
        SetExportFileAnswer([&](const QString&, QString& selected) {
            ++m_fileDialogs;
            selected = filter;
            return file;
        });
        Action()->trigger();
    }
    QAction* Action() { return form().Tool1->findChild<QAction*>(QStringLiteral("ExportProfile1")); }
    QByteArray Bytes(const QString& path) const
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir m_dir;
    QStringList m_defaults;
    int m_fileDialogs = 0;
};

TEST_F(ExportToolTest, MenuItemAndFormAsTheUserMeetsThem)
{
    ASSERT_NE(Action(), nullptr);
    EXPECT_EQ(Action()->text(), QStringLiteral("歯形の書き出し"));
    ExportForm f(&form(), gearTable[kCurrentSlot], ".");
    EXPECT_EQ(f.windowTitle(), QStringLiteral("歯形の書き出し"));
    EXPECT_EQ(f.m_gearLabel->text(), QStringLiteral("モジュール 1　歯数 18　転位係数 0　圧力角 20°"));
    const std::pair<QWidget*, const char*> boxes[] = {
        {f.m_toleranceEdit, "許容差 (mm)"}, {f.m_tipRadiusEdit, "工具の歯先丸み半径 ρ (mm)"},
        {f.m_boreEdit, "穴径 (mm、0 は穴なし)"}, {f.m_okButton, "保存先を選ぶ"}, {f.m_cancelButton, "キャンセル"},
        {f.m_allowanceUpperEdit, "歯厚の増減 上 (mm、負で薄く)"}, {f.m_allowanceLowerEdit, "歯厚の増減 下 (mm、負で薄く)"},
        {static_cast<QWidget*>(f.m_keywayCheck), "キー溝 (JIS B 1301 平行キー 普通形)"},
        {f.m_faceWidthEdit, "歯幅 (mm、STL・3MF・STEP)"}, {f.m_hubDiameterEdit, "ハブの直径 (mm、0 はハブなし)"},
        {f.m_hubLengthEdit, "ハブの長さ (mm)"}, {f.m_kerfEdit, "切り幅 (mm、DXF・SVG、0 は補正なし)"},
        {static_cast<QWidget*>(f.m_noteCheck), "歯車の諸元を注記する (DXF・SVG)"}};
    for (const auto& [widget, name] : boxes) {
        EXPECT_FALSE(widget->objectName().isEmpty());
        EXPECT_EQ(widget->accessibleName(), QString::fromUtf8(name));
    }
    for (QLabel* label : f.findChildren<QLabel*>())
        EXPECT_TRUE(!label->objectName().isEmpty() && !label->accessibleName().isEmpty()) << label->text().toStdString();
    EXPECT_EQ(ExportFilters(), QStringLiteral("DXF (*.dxf);;SVG (*.svg);;STL (*.stl);;3MF (*.3mf);;STEP (*.step *.stp)"));
    // The generated tooth's findings, worded as in the message list.
    EXPECT_TRUE(f.m_findingsLabel->text().isEmpty());
    Calculate("1", "14", "0");
    ExportForm undercut(&form(), gearTable[kCurrentSlot], ".");
    EXPECT_EQ(undercut.m_findingsLabel->text(), QStringLiteral("警告：創成歯形にｱﾝﾀﾞｰｶｯﾄ発生"));
}

TEST_F(ExportToolTest, WritesTheCurrentGearInTheChosenFormat)
{
    Calculate("2", "20", "0");
    Export({"0.001", "0.76", "10"}, m_dir.filePath("gear"), QStringLiteral("SVG (*.svg)"));
    EXPECT_EQ(m_defaults, (QStringList{"0.001", "0.76", "0"}));
    ExportRequest request;
    request.gear = {2.0, 20, 0.0, 20.0};
    request.gear.cutter.tipRadius = 0.76;
    request.tolerance = 0.001;
    const std::string svg = ProfileSvg(BuildGearProfile(request.gear, request.tolerance), 10.0);
    EXPECT_EQ(Bytes(m_dir.filePath("gear.svg")).toStdString(), svg);   // the filter's extension added
    Export({"0.01", "0.5", "0"}, m_dir.filePath("g.DXF"));
    request.tolerance = 0.01;
    request.gear.cutter.tipRadius = 0.5;
    EXPECT_EQ(Bytes(m_dir.filePath("g.DXF")).toStdString(),
              ProfileDxf(BuildGearProfile(request.gear, request.tolerance), 0.0));
    EXPECT_TRUE(m_errors.isEmpty()) << m_errors.join(' ').toStdString();
}

// The same form writes a ring with the current gear's teeth and a rack of its module.
TEST_F(ExportToolTest, WritesARingAndARack)
{
    Calculate("2", "60", "0");
    const struct {
        const char* shape;
        const char* file;
        std::string bytes;
    } cases[] = {
        {"ExportShapeRing", "ring.svg",
         DrawingSvg(RingDrawing(BuildInternalGearProfile({.module = 2.0, .teeth = 60, .kind = GearKind::Internal, .cutter = {.kind = CutterKind::Pinion}}, 0.001), 137.0))},
        {"ExportShapeRack", "rack.dxf", DrawingDxf(RackDrawing(BuildRackProfile(2.0, 20.0, 40.0, 0.001)))},
    };
    for (const auto& c : cases) {
        SetExportFormAnswer([&](ExportForm& f) {
            f.findChild<QRadioButton*>(QString::fromLatin1(c.shape))->setChecked(true);
            f.m_lengthEdit->setText(QStringLiteral("40"));
            return true;
        });
        SetExportFileAnswer([&](const QString&, QString&) { return m_dir.filePath(QString::fromLatin1(c.file)); });
        Action()->trigger();
        EXPECT_EQ(Bytes(m_dir.filePath(QString::fromLatin1(c.file))).toStdString(), c.bytes) << c.file;
    }
    EXPECT_TRUE(m_errors.isEmpty()) << m_errors.join(' ').toStdString();
    // A rim no drawing holds is refused before a file is chosen.
    SetExportFormAnswer([](ExportForm& f) {
        f.findChild<QRadioButton*>(QStringLiteral("ExportShapeRing"))->setChecked(true);
        f.m_rimEdit->setText(QStringLiteral("1e300"));
        return true;
    });
    SetExportFileAnswer([&](const QString&, QString&) { return m_dir.filePath(QStringLiteral("huge.dxf")); });
    Action()->trigger();
    EXPECT_EQ(m_errors, QStringList{QStringLiteral("内歯車の外径は 1000000 mm 以下にしてください.")});
    EXPECT_FALSE(QFile::exists(m_dir.filePath(QStringLiteral("huge.dxf"))));
}

TEST_F(ExportToolTest, RefusalsEndTheCommandBeforeTheFileIsChosen)
{
    const struct {
        QStringList boxes;
        QString message;
    } cases[] = {
        {{"abc"}, "'abc' は浮動小数点数ではありません."},
        {{"0"}, QString::fromUtf8(ProfileToleranceMessage()) + "."},
        {{"0.001", "1"}, QString::fromUtf8(ProfileTipRadiusMessage()) + "."},
        {{"0.001", "0.38", "15.5"}, "穴径は 0 以上で、歯底円直径より小さくしてください."},
    };
    for (const auto& c : cases) {
        m_errors.clear();
        Export(c.boxes, m_dir.filePath("never.dxf"));
        EXPECT_EQ(m_errors, QStringList{c.message});
    }
    Export({}, QString());   // the form cancelled
    EXPECT_EQ(m_fileDialogs, 0);
    EXPECT_FALSE(QFile::exists(m_dir.filePath("never.dxf")));
}

TEST_F(ExportToolTest, ThePartWithKeywayAndHubGoesToTheChosenSolidFormatAndTheFormKeepsItsValues)
{
    Calculate("2", "20", "0");
    SetExportFormAnswer([](ExportForm& f) {
        f.m_allowanceUpperEdit->setText(QStringLiteral("-0.1"));   // one value in both boxes: the old single box's file
        f.m_allowanceLowerEdit->setText(QStringLiteral("-0.1"));
        f.m_boreEdit->setText(QStringLiteral("10"));
        f.m_keywayCheck->setChecked(true);
        f.m_faceWidthEdit->setText(QStringLiteral("8"));
        f.m_hubDiameterEdit->setText(QStringLiteral("20"));
        f.m_hubLengthEdit->setText(QStringLiteral("5"));
        return true;
    });
    SetExportFileAnswer([&](const QString&, QString& selected) {
        selected = QStringLiteral("STL (*.stl)");
        return m_dir.filePath("part");
    });
    Action()->trigger();
    ASSERT_TRUE(m_errors.isEmpty()) << m_errors.join(' ').toStdString();
    ExportRequest request;
    request.gear = {2.0, 20, 0.0, 20.0};
    request.gear.cutter.tipRadius = 0.76;
    request.gear.thicknessAllowance = -0.1;
    request.tolerance = 0.001;
    request.boreDiameter = 10;
    request.keyway = true;
    request.faceWidth = 8;
    request.hubDiameter = 20;
    request.hubLength = 5;
    EXPECT_EQ(Bytes(m_dir.filePath("part.stl")).toStdString(), ExportBytes(PrepareExport(request), ExportFormat::Stl));

    // Opened again, the form shows what was typed; the save dialog starts at the STL.
    QStringList shown;
    QString initial;
    SetExportFormAnswer([&](ExportForm& f) {
        shown = {f.m_allowanceUpperEdit->text() + "/" + f.m_allowanceLowerEdit->text(), f.m_boreEdit->text(), f.m_faceWidthEdit->text(), f.m_hubDiameterEdit->text(),
                 f.m_hubLengthEdit->text(), QString(f.m_keywayCheck->isChecked() ? "key" : ""), f.m_tipRadiusEdit->text()};
        return false;
    });
    Action()->trigger();
    EXPECT_EQ(shown, (QStringList{"-0.1/-0.1", "10", "8", "20", "5", "key", "0.76"}));
    // A gear of another module gets its own tip radius.
    Calculate("3", "20", "0");
    Action()->trigger();
    EXPECT_EQ(shown.last(), QStringLiteral("1.14"));
}

// The allowance 上 / 下: the teeth are cut at its middle, as tsumugi-cli
// export --thickness-allowance UPPER,LOWER cuts them; an upper value below the
// lower is refused before a file is chosen.
TEST_F(ExportToolTest, TheAllowanceIsCutAtTheMiddleOfUpperAndLower)
{
    Calculate("2", "20", "0");
    const struct {
        const char* upper;
        const char* lower;
        double middle;
        const char* file;
    } cases[] = {{"-0.05", "-0.15", -0.1, "middle.dxf"}, {"0.02", "-0.06", -0.02, "middle.svg"}, {"-0.08", "-0.08", -0.08, "one.dxf"}};
    for (const auto& c : cases) {
        SetExportFormAnswer([&](ExportForm& f) {
            f.m_allowanceUpperEdit->setText(QString::fromLatin1(c.upper));
            f.m_allowanceLowerEdit->setText(QString::fromLatin1(c.lower));
            return true;
        });
        const QString file = m_dir.filePath(QString::fromLatin1(c.file));
        SetExportFileAnswer([&](const QString&, QString&) { return file; });
        Action()->trigger();
        ExportRequest request = ExportRequestOf(gearTable[kCurrentSlot], 0.001, 0.76, 0.0);
        request.gear.thicknessAllowance = c.middle;
        const GearProfile profile = BuildGearProfile(request.gear, request.tolerance);
        EXPECT_EQ(Bytes(file).toStdString(), file.endsWith(".svg") ? ProfileSvg(profile, 0.0) : ProfileDxf(profile, 0.0))
            << c.file;
    }
    ASSERT_TRUE(m_errors.isEmpty()) << m_errors.join('|').toStdString();
    // Read back: the rack set deeper by -A / (2 tan 20°) puts the root circle
    // at 17.5 mm - 0.1 / (2 tan 20°) = 17.362626 mm for the middle -0.1.
    QProcess reader;
    reader.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral("-c"),
                  QStringLiteral("import sys, math, ezdxf\n"
                                 "d = ezdxf.readfile(sys.argv[1])\n"
                                 "r = [math.hypot(v.dxf.location.x, v.dxf.location.y) for p in d.modelspace().query('POLYLINE')"
                                 " for v in p.vertices]\n"
                                 "print('%.4f' % min(r))"),
                  m_dir.filePath(QStringLiteral("middle.dxf"))});
    ASSERT_TRUE(reader.waitForFinished(30000));
    EXPECT_EQ(QString::fromUtf8(reader.readAllStandardOutput()).trimmed(), QStringLiteral("17.3626"))
        << reader.readAllStandardError().toStdString();

    SetExportFormAnswer([](ExportForm& f) {
        f.m_allowanceUpperEdit->setText(QStringLiteral("-0.2"));
        f.m_allowanceLowerEdit->setText(QStringLiteral("-0.1"));
        return true;
    });
    SetExportFileAnswer([&](const QString&, QString&) {
        ++m_fileDialogs;
        return m_dir.filePath(QStringLiteral("never.dxf"));
    });
    Action()->trigger();
    EXPECT_EQ(m_errors, QStringList{QStringLiteral("歯厚許容差の上の値が下の値より小さくなっています.")});
    EXPECT_EQ(m_fileDialogs, 0);
    EXPECT_FALSE(QFile::exists(m_dir.filePath(QStringLiteral("never.dxf"))));
}

// With a pair in かみあい the boxes start at the chosen gear's allowance there,
// and the gear is cut with the pair's shortened tip.
TEST_F(ExportToolTest, TheAllowanceOfTheChosenGearComesFromThePair)
{
    Calculate("2", "20", "0.3");
    form().findChild<QAction*>(QStringLiteral("PairTool"))->trigger();
    auto* pair = form().findChild<PairWindow*>(QStringLiteral("PairWindow"));
    auto* backlash = pair->findChild<BacklashPanel*>("BacklashPanel");
    const char* const typed[2][2] = {{"-0.04", "-0.08"}, {"-0.06", "-0.12"}};
    for (int gear = 0; gear < 2; ++gear)
        for (int side = 0; side < 2; ++side)
            backlash->allowance[gear][side]->setText(QString::fromLatin1(typed[gear][side]));
    pair->findChild<QLineEdit*>("PairTeeth2")->setText(QStringLiteral("40"));
    pair->findChild<QLineEdit*>("PairTeeth2")->setModified(true);
    pair->findChild<QLineEdit*>("PairShift2")->setText(QStringLiteral("0.5"));
    pair->findChild<QPushButton*>("PairCalculate")->click();
    PairInput shown;
    shown.module = 2;
    shown.teeth = {20, 40};
    shown.shift = {0.3, 0.5};
    const double k = ComputePair(shown).tipShortening;
    ASSERT_GT(k, 0.01);
    QStringList seen;
    SetExportFormAnswer([&](ExportForm& f) {
        seen << f.m_allowanceUpperEdit->text() + "/" + f.m_allowanceLowerEdit->text();
        f.m_gear2Choice->click();
        seen << f.m_allowanceUpperEdit->text() + "/" + f.m_allowanceLowerEdit->text();
        if (const QByteArray folder = qgetenv("TSUMUGI_SCREENSHOTS"); !folder.isEmpty()) {
            f.adjustSize();
            EXPECT_TRUE(f.grab().save(QString::fromUtf8(folder) + QStringLiteral("/export-form.png")));
        }
        return true;
    });
    const QString file = m_dir.filePath(QStringLiteral("gear2.dxf"));
    SetExportFileAnswer([&](const QString&, QString&) { return file; });
    Action()->trigger();
    EXPECT_EQ(seen, (QStringList{"-0.04/-0.08", "-0.06/-0.12"}));
    GearRecord gear2 = gearTable[kCurrentSlot];
    gear2.Teeth = 40;
    gear2.Shift = 0.5;
    ExportRequest request = ExportRequestOf(gear2, 0.001, 0.76, 0.0);
    request.gear.thicknessAllowance = (-0.06 + -0.12) / 2.0;
    request.gear.tipShortening = k;
    EXPECT_EQ(Bytes(file).toStdString(), ProfileDxf(BuildGearProfile(request.gear, request.tolerance), 0.0));

    // かみあい closed: the boxes hold what was typed last.
    pair->close();
    seen.clear();
    SetExportFormAnswer([&](ExportForm& f) {
        seen << f.m_allowanceUpperEdit->text() + "/" + f.m_allowanceLowerEdit->text();
        return false;
    });
    Action()->trigger();
    EXPECT_EQ(seen, QStringList{"-0.06/-0.12"});
    EXPECT_TRUE(m_errors.isEmpty()) << m_errors.join('|').toStdString();
}

TEST_F(ExportToolTest, AFailedSaveEndsInTheErrorBox)
{
    Export({}, m_dir.filePath("missing/x.dxf"));
    ASSERT_EQ(m_errors.size(), 1);
    EXPECT_TRUE(m_errors[0].startsWith(QStringLiteral("ファイル "))) << m_errors[0].toStdString();
    EXPECT_FALSE(QFile::exists(m_dir.filePath("missing")));
}

}  // namespace

// The drawing writers themselves: a number of any finite size is written
// whole (read back by the C library), one that is not finite is refused.
TEST(DrawingWriters, WriteEveryFiniteNumberWholeAndRefuseTheOthers)
{
    const GearProfile ring = BuildInternalGearProfile({.module = 2.0, .teeth = 60, .kind = GearKind::Internal, .cutter = {.kind = CutterKind::Pinion}}, 0.001);
    const std::string dxf = DrawingDxf(RingDrawing(ring, 1e300));
    const std::size_t at = dxf.find("$EXTMAX\n 10\n");
    ASSERT_NE(at, std::string::npos);
    EXPECT_EQ(std::strtod(dxf.c_str() + at + 12, nullptr), 5e299);
    for (const double rim : {std::nan(""), HUGE_VAL}) {
        EXPECT_THROW(DrawingDxf(RingDrawing(ring, rim)), AppError);
        EXPECT_THROW(DrawingSvg(RingDrawing(ring, rim)), AppError);
    }
}
