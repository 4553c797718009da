// SPDX-License-Identifier: GPL-3.0-or-later
#include "formfixture.h"

#include "export/profileexport.h"
#include "ui/exportdialog.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QTemporaryDir>

namespace {

class ExportToolTest : public FormTest {
protected:
    void TearDown() override
    {
        SetExportFormAnswer({});
        SetExportFileAnswer({});
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
        {f.m_boreEdit, "穴径 (mm、0 は穴なし)"}, {f.m_okButton, "保存先を選ぶ"}, {f.m_cancelButton, "キャンセル"}};
    for (const auto& [widget, name] : boxes) {
        EXPECT_FALSE(widget->objectName().isEmpty());
        EXPECT_EQ(widget->accessibleName(), QString::fromUtf8(name));
    }
    for (QLabel* label : f.findChildren<QLabel*>())
        EXPECT_TRUE(!label->objectName().isEmpty() && !label->accessibleName().isEmpty()) << label->text().toStdString();
    EXPECT_EQ(ExportFilters(), QStringLiteral("DXF (*.dxf);;SVG (*.svg)"));
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
    request.gear = {20, 2.0, 0.0, 1, 0.001, 0.76};
    const std::string svg = ProfileSvg(BuildGearProfile(request.gear), 10.0);
    EXPECT_EQ(Bytes(m_dir.filePath("gear.svg")).toStdString(), svg);   // the filter's extension added
    Export({"0.01", "0.5", "0"}, m_dir.filePath("g.DXF"));
    request.gear.tolerance = 0.01;
    request.gear.tipRadius = 0.5;
    EXPECT_EQ(Bytes(m_dir.filePath("g.DXF")).toStdString(), ProfileDxf(BuildGearProfile(request.gear), 0.0));
    EXPECT_TRUE(m_errors.isEmpty()) << m_errors.join(' ').toStdString();
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

TEST_F(ExportToolTest, AFailedSaveEndsInTheErrorBox)
{
    Export({}, m_dir.filePath("missing/x.dxf"));
    ASSERT_EQ(m_errors.size(), 1);
    EXPECT_TRUE(m_errors[0].startsWith(QStringLiteral("ファイル "))) << m_errors[0].toStdString();
    EXPECT_FALSE(QFile::exists(m_dir.filePath("missing")));
}

}  // namespace
