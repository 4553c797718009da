// SPDX-License-Identifier: GPL-3.0-or-later
#include "formfixture.h"

#include "geardata/tableops.h"
#include "ui/filedialog.h"
#include "ui/imagebox.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstring>
#include <optional>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes DoubleBytes(double v)
{
    Bytes b(8);
    std::memcpy(b.data(), &v, 8);
    return b;
}

Bytes Slice(const QByteArray& data, int offset, int length)
{
    return Bytes(data.begin() + offset, data.begin() + offset + length);
}

class TableTest : public FormTest {
protected:
    void SetUp() override
    {
        FormTest::SetUp();
        ASSERT_TRUE(m_dir.isValid());
        FileDialog::SetChooser([this](FileDialog::Kind kind, const QString& initial) {
            m_offered << initial;
            m_kinds << kind;
            return m_answer;
        });
    }
    void TearDown() override
    {
        FileDialog::SetChooser({});
        FormTest::TearDown();
    }

    QString Path(const QString& name) const { return m_dir.filePath(name); }
    void Save(const std::optional<QString>& path)
    {
        m_answer = path;
        form().N2->trigger();
    }
    void Load(const std::optional<QString>& path)
    {
        m_answer = path;
        form().N1->trigger();
    }
    static QByteArray ReadFile(const QString& path)
    {
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
        return f.readAll();
    }
    static void WriteFile(const QString& path, const QByteArray& data)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(data);
    }
    QString Clipboard()
    {
        form().N4->trigger();
        return QGuiApplication::clipboard()->text();
    }
    QStringList AllRows() const
    {
        QStringList rows;
        for (int r = 0; r <= 20; ++r)
            rows << Row(r).join('|');
        return rows;
    }
    static QByteArray TableImage() { return QByteArray(reinterpret_cast<const char*>(GearTableBytes()), 3344); }

    QTemporaryDir m_dir;
    std::optional<QString> m_answer;
    QStringList m_offered;
    QList<FileDialog::Kind> m_kinds;
};

TEST_F(TableTest, FileSavedRightAfterStartUp)
{
    Save(Path("start.hgd"));
    const QByteArray file = ReadFile(Path("start.hgd"));
    ASSERT_EQ(file.size(), 3344);
    EXPECT_EQ(Slice(file, 0, 4), (Bytes{1, 0, 0, 0}));
    EXPECT_EQ(Slice(file, 64, 8), (Bytes{0, 0, 0, 0, 0, 0, 0x32, 0x40}));
    EXPECT_EQ(Slice(file, 80, 8), (Bytes{0, 0, 0, 0, 0, 0, 0x34, 0x40}));
    EXPECT_EQ(Slice(file, 96, 8), (Bytes{0, 0, 0, 0, 0, 0, 0x2F, 0x40}));
    EXPECT_EQ(Slice(file, 112, 8), DoubleBytes(16.914467173865752));
    EXPECT_EQ(Slice(file, 136, 8), DoubleBytes(0.6816715558235892));
    const Bytes defaultSlot{0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
                            0x00, 0x00, 0x00, 0xF0, 0x3F, 0x12, 0x00, 0x00, 0x00, 0x14, 0x00,
                            0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
    for (int slot = 1; slot <= 20; ++slot)
        EXPECT_EQ(Slice(file, 152 * slot, 32), defaultSlot) << "slot " << slot;
    const int reserved[][2] = {{32, 32}, {72, 8}, {88, 8}, {104, 8}, {120, 16}, {144, 8}};
    for (int slot = 0; slot <= 21; ++slot)
        for (const auto& r : reserved)
            EXPECT_EQ(Slice(file, 152 * slot + r[0], r[1]), Bytes(r[1], 0)) << "slot " << slot << " at " << r[0];
    EXPECT_EQ(Slice(file, 3192, 152), Bytes(152, 0));
    EXPECT_TRUE(m_errors.isEmpty());
}

TEST_F(TableTest, FileSavedAfterOneCalculation)
{
    Calculate("2", "12", "0.3");
    Save(Path("one.hgd"));
    const QByteArray file = ReadFile(Path("one.hgd"));
    EXPECT_EQ(Slice(file, 64, 8), DoubleBytes(24.0));
    EXPECT_EQ(Slice(file, 80, 8), DoubleBytes(29.2));
    EXPECT_EQ(Slice(file, 96, 8), DoubleBytes(20.2));
    EXPECT_EQ(Slice(file, 112, 8), DoubleBytes(22.55262289848767));
    EXPECT_EQ(Slice(file, 136, 8), DoubleBytes(0.871499331441594));
    EXPECT_EQ(Slice(file, 0, 4), (Bytes{1, 0, 0, 0}));
    EXPECT_EQ(Slice(file, 152, 4), (Bytes{1, 0, 0, 0}));
    EXPECT_EQ(Slice(file, 304, 4), (Bytes{0, 0, 0, 0}));
    EXPECT_EQ(file.mid(0, 152), file.mid(152, 152));
}

TEST_F(TableTest, RoundTripPutsTheSavedGearAboveTheSavedRows)
{
    Calculate("1", "30", "0");
    Calculate("2", "12", "0.3");
    Save(Path("two.hgd"));
    const QStringList boxes = Inputs() + Results();
    Calculate("1", "40", "0");
    Load(Path("two.hgd"));
    EXPECT_EQ(Inputs() + Results(), boxes);
    EXPECT_EQ(Row(1), (QStringList{"1", "2.000", "12", "0.300", "29.200"}));
    EXPECT_EQ(Row(2), (QStringList{"2", "2.000", "12", "0.300", "29.200"}));
    EXPECT_EQ(Row(3), (QStringList{"3", "1.000", "30", "0.000", "32.000"}));
    EXPECT_EQ(Row(4), (QStringList{"4", "", "", "", ""}));
    EXPECT_TRUE(m_errors.isEmpty());
}

TEST_F(TableTest, ShortLongAndEmptyFiles)
{
    Calculate("1", "30", "0");
    Calculate("1", "40", "0");
    // 152 bytes: only slot 0 is replaced; it lands in row 1 above the rows already there.
    Save(Path("full.hgd"));
    QByteArray slot0 = ReadFile(Path("full.hgd")).left(152);
    GearRecord g;
    std::memcpy(&g, slot0.constData(), 152);
    g.Teeth = 25;
    g.TipDiameter = 27.0;
    std::memcpy(slot0.data(), &g, 152);
    WriteFile(Path("slot0.hgd"), slot0);
    Load(Path("slot0.hgd"));
    EXPECT_EQ(Inputs(), (QStringList{"1", "25", "0"}));
    EXPECT_EQ(Row(1)[2], "25");
    EXPECT_EQ(Row(2)[2], "40");
    EXPECT_EQ(Row(3)[2], "30");

    // Empty: no byte replaced, the current gear registered again.
    WriteFile(Path("empty.hgd"), QByteArray());
    Load(Path("empty.hgd"));
    EXPECT_EQ(Row(1)[2], "25");
    EXPECT_EQ(Row(2)[2], "25");
    EXPECT_EQ(Row(3)[2], "40");

    // 4000 bytes: the first 3344 replace the table, the rest is ignored.
    QByteArray big = ReadFile(Path("full.hgd")) + QByteArray(656, '\x7F');
    WriteFile(Path("big.hgd"), big);
    Load(Path("big.hgd"));
    // The registration then moved the file's slots 0-3 one slot down; the rest is the file's.
    EXPECT_EQ(TableImage().mid(152, 152 * 4), big.mid(0, 152 * 4));
    EXPECT_EQ(TableImage().mid(152 * 5), big.mid(152 * 5, 3344 - 152 * 5));
    EXPECT_EQ(Row(1)[2], "40");
    EXPECT_EQ(Row(2)[2], "40");
    EXPECT_EQ(Row(3)[2], "30");
    EXPECT_TRUE(m_errors.isEmpty());
}

TEST_F(TableTest, CancelledDialogs)
{
    Calculate("1", "30", "0");
    Load(std::nullopt);
    EXPECT_EQ(Row(1)[2], "30");
    EXPECT_EQ(Row(2)[2], "30");
    Save(std::nullopt);
    EXPECT_TRUE(QDir(m_dir.path()).isEmpty());
    EXPECT_TRUE(m_errors.isEmpty());
}

TEST_F(TableTest, DialogsOfferTheLastConfirmedName)
{
    Save(std::nullopt);
    Save(Path("first.hgd"));
    Save(std::nullopt);
    Save(Path("second"));
    Load(std::nullopt);
    Load(Path("first.hgd"));
    Load(std::nullopt);
    EXPECT_EQ(m_offered, (QStringList{"dumy.hgd", "dumy.hgd", Path("first.hgd"), Path("first.hgd"), "",
                                      "", Path("first.hgd")}));
    EXPECT_TRUE(QFile::exists(Path("second")));
    EXPECT_FALSE(QFile::exists(Path("second.hgd")));
}

// A failed read or write changes nothing: table, boxes, grid and list.
TEST_F(TableTest, FileFailuresChangeNothing)
{
    Calculate("1", "30", "0");
    QDir(m_dir.path()).mkdir("folder.hgd");
    WriteFile(Path("good.hgd"), QByteArray(3344, '\x42'));
    struct Case {
        bool save;
        QString path;
        QString message;
    };
    const Case cases[] = {
        {false, Path("missing.hgd"), "ファイル " + Path("missing.hgd") + " は開けません."},
        {false, Path("folder.hgd"), "ファイル " + Path("folder.hgd") + " は開けません."},
        {true, Path("folder.hgd"), "ファイル " + Path("folder.hgd") + " を作成できません."},
        {true, Path("no/such/dir.hgd"), "ファイル " + Path("no/such/dir.hgd") + " を作成できません."},
        {true, "/proc/version", "ファイル /proc/version を作成できません."},
        {true, "/dev/full", "ストリームへの書き込みエラー."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        const QByteArray table = TableImage();
        const QStringList rows = AllRows();
        const QStringList boxes = Inputs() + Results();
        const int lines = form().ListBox1->count();
        m_errors.clear();
        if (c.save)
            Save(c.path);
        else
            Load(c.path);
        EXPECT_EQ(m_errors, QStringList{c.message});
        EXPECT_EQ(TableImage(), table);
        EXPECT_EQ(AllRows(), rows);
        EXPECT_EQ(Inputs() + Results(), boxes);
        EXPECT_EQ(form().ListBox1->count(), lines);
    }
    EXPECT_EQ(ReadFile(Path("good.hgd")), QByteArray(3344, '\x42'));
}

TEST_F(TableTest, ClipboardTexts)
{
    QString startUp = "\tﾓｼﾞｭｰﾙ\t歯数\t転位係数\t歯先円\r\n";
    for (int r = 1; r <= 20; ++r)
        startUp += QString::number(r) + "\t\t\t\t\r\n";
    EXPECT_EQ(Clipboard(), startUp);

    form().BitBtn1->click();
    const QStringList lines = Clipboard().split("\r\n");
    ASSERT_EQ(lines.size(), 22);
    EXPECT_EQ(lines[1], "1\t1.000\t18\t0.000\t20.000");
    EXPECT_EQ(lines[2], "2\t\t\t\t");
    EXPECT_EQ(lines[21], "");

    form().BitBtn2->click();
    const QStringList afterDelete = Clipboard().split("\r\n");
    EXPECT_EQ(afterDelete[1], "1\t\t\t\t");
    EXPECT_EQ(afterDelete[20], "20\t \t \t \t ");
    EXPECT_TRUE(m_errors.isEmpty());
}

TEST_F(TableTest, RecallShowsAndDrawsTheRowWithoutRecomputing)
{
    Calculate("1", "30", "0");
    const QImage picture30 = form().Image1->image();
    Calculate("1", "18", "0");
    const QStringList messages = Messages();
    const QStringList rows = AllRows();
    gearTable[2].TipThickness = 9.875;   // stored values are shown as they are
    ClickGridCell(*form().sg1, 2, 2);
    EXPECT_EQ(Inputs(), (QStringList{"1", "30", "0"}));
    EXPECT_EQ(Results()[4], "9.875");
    EXPECT_EQ(Messages(), messages);
    EXPECT_EQ(AllRows(), rows);
    EXPECT_EQ(form().Image1->image(), picture30);
    EXPECT_EQ(form().sg1->currentRow(), 2);

    // A free row recalls nothing.
    ClickGridCell(*form().sg1, 1, 5);
    EXPECT_EQ(Inputs(), (QStringList{"1", "30", "0"}));
    EXPECT_TRUE(m_errors.isEmpty());
}

TEST_F(TableTest, DeleteInTheMiddleAndThenRegister)
{
    for (int teeth : {21, 22, 23, 24, 25})
        Calculate("1", QString::number(teeth), "0");
    form().sg1->setCurrentCell(1, 3);
    form().BitBtn2->click();
    EXPECT_EQ(Row(1)[2], "25");
    EXPECT_EQ(Row(2)[2], "24");
    EXPECT_EQ(Row(3)[2], "22");
    EXPECT_EQ(Row(4)[2], "21");
    for (int r = 5; r <= 19; ++r)
        EXPECT_EQ(Row(r), (QStringList{QString::number(r), "", "", "", ""}));
    EXPECT_EQ(Row(20), (QStringList{"20", " ", " ", " ", " "}));
    for (int slot = 1; slot <= 4; ++slot)
        EXPECT_EQ(gearTable[slot].InUse, 1);
    EXPECT_EQ(gearTable[5].InUse, 0);
    EXPECT_EQ(form().sg1->currentRow(), 3);
    // Pressing again deletes the gear that moved up.
    form().BitBtn2->click();
    EXPECT_EQ(Row(3)[2], "21");
    Calculate("1", "26", "0");
    EXPECT_EQ(Row(1)[2], "26");
    EXPECT_EQ(Row(4)[2], "21");
    EXPECT_EQ(Row(5)[2], "");
    EXPECT_EQ(Row(20)[1], " ");
}

TEST_F(TableTest, FullTableSpillsAndDeleteBringsTheSpilledGearBackAsFree)
{
    for (int teeth = 21; teeth <= 41; ++teeth)
        Calculate("1", QString::number(teeth), "0");
    EXPECT_EQ(Row(1)[2], "41");
    EXPECT_EQ(Row(20)[2], "22");
    EXPECT_EQ(gearTable[21].Teeth, 21);
    EXPECT_EQ(RegisteredCount, 20);
    form().sg1->setCurrentCell(1, 1);
    form().BitBtn2->click();
    EXPECT_EQ(Row(19)[2], "22");
    EXPECT_EQ(Row(20), (QStringList{"20", " ", " ", " ", " "}));
    EXPECT_EQ(gearTable[20].Teeth, 21);
    EXPECT_EQ(gearTable[20].InUse, 0);
    EXPECT_EQ(gearTable[21].InUse, 1);
}

TEST_F(TableTest, ReservedBytesFromAFileSurviveEveryMove)
{
    // Every slot carries its number in all its reserved bytes.
    Calculate("1", "30", "0");
    Calculate("1", "31", "0");
    Calculate("1", "32", "0");
    for (int slot = 0; slot < 22; ++slot) {
        GearRecord& g = gearTable[slot];
        for (auto* field : {g.Reserved32.data(), g.Reserved72.data(), g.Reserved88.data(), g.Reserved104.data(),
                            g.Reserved120.data(), g.Reserved144.data()})
            field[0] = static_cast<std::uint8_t>(0xA0 + slot);
        g.Reserved120[15] = static_cast<std::uint8_t>(0xA0 + slot);
    }
    Save(Path("marked.hgd"));
    std::memset(GearTableBytes(), 0, 3344);
    Load(Path("marked.hgd"));          // slot 0 (A0) registered again: rows A0, A1, A2, A3
    ClickGridCell(*form().sg1, 1, 3);  // recall row 3 (A2) into slot 0
    form().BitBtn2->click();           // delete row 3: rows A0, A1, A3
    Calculate("1", "33", "0");         // slot 0 (A2, recomputed) registered: A2, A0, A1, A3
    Save(Path("after.hgd"));
    const QByteArray file = ReadFile(Path("after.hgd"));
    const int expected[] = {0xA2, 0xA2, 0xA0, 0xA1, 0xA3};
    for (int slot = 0; slot < 5; ++slot)
        for (int offset : {32, 72, 88, 104, 120, 135, 144})
            EXPECT_EQ(static_cast<std::uint8_t>(file[152 * slot + offset]), expected[slot])
                << "slot " << slot << " offset " << offset;
}

TEST_F(TableTest, FreeRowAboveOccupiedRowsKeepsTheGearBelowIt)
{
    for (int teeth : {31, 32, 33, 34})
        Calculate("1", QString::number(teeth), "0");
    gearTable[2].InUse = 0;   // as a file can hold it: rows 34, free, 32, 31
    Save(Path("gap.hgd"));
    Load(Path("gap.hgd"));
    EXPECT_EQ(Row(1)[2], "34");
    EXPECT_EQ(Row(2)[2], "34");
    EXPECT_EQ(Row(3)[2], "32");
    EXPECT_EQ(Row(4)[2], "31");
}

TEST_F(TableTest, InUseFromAFile)
{
    Calculate("1", "30", "0");
    Calculate("1", "31", "0");
    gearTable[1].InUse = 2;
    gearTable[2].InUse = -1;
    Save(Path("odd.hgd"));
    Load(Path("odd.hgd"));   // rows: 31 (1), 31 (2), 30 (-1)
    ClickGridCell(*form().sg1, 1, 2);
    EXPECT_EQ(gearTable[0].InUse, 1);   // InUse 2 cannot be recalled
    form().sg1->setCurrentCell(1, 3);
    form().BitBtn2->click();             // InUse -1 cannot be deleted
    EXPECT_EQ(Row(3)[2], "30");
    form().sg1->setCurrentCell(1, 2);
    form().BitBtn2->click();             // InUse 2 can
    EXPECT_EQ(Row(2)[2], "30");
}

TEST_F(TableTest, TeethBeyondTheOutlineInARowAreRefusedWhenRecalled)
{
    Calculate("1", "30", "0");
    gearTable[1].Teeth = 500;
    const QImage picture = form().Image1->image();
    ClickGridCell(*form().sg1, 1, 1);
    EXPECT_EQ(m_errors, QStringList{"歯数が多すぎて歯形を描けません（描けるのは 71 枚まで）."});
    EXPECT_EQ(Inputs()[1], "500");
    EXPECT_EQ(form().Image1->image(), picture);
}

}  // namespace
