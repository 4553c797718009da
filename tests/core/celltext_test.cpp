// SPDX-License-Identifier: GPL-3.0-or-later
#include "commands/celltext.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <string>

namespace {

constexpr int kCols = 5;
constexpr int kRows = 21;

using Cells = std::array<std::array<std::string, kCols>, kRows>;

// The grid as it stands right after start-up: headers and row numbers only.
Cells StartupCells()
{
    Cells cells;
    cells[0] = {"", "ﾓｼﾞｭｰﾙ", "歯数", "転位係数", "歯先円"};
    for (int row = 1; row < kRows; ++row)
        cells[row][0] = std::to_string(row);
    return cells;
}

std::string Copy(const Cells& cells, std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom)
{
    return BuildCellsText([&cells](int col, int row) { return cells.at(row).at(col); }, kCols, kRows, left, top,
        right, bottom);
}

// Every cell named by its column letter and row number: "A0" ... "E20".
Cells NamedCells()
{
    Cells cells;
    for (int row = 0; row < kRows; ++row)
        for (int col = 0; col < kCols; ++col)
            cells[row][col] = std::string(1, static_cast<char>('A' + col)) + std::to_string(row);
    return cells;
}

TEST(CellText, WholeGridAfterStartUp)
{
    std::string expected = "\tﾓｼﾞｭｰﾙ\t歯数\t転位係数\t歯先円\r\n";
    for (int row = 1; row <= 20; ++row)
        expected += std::to_string(row) + "\t\t\t\t\r\n";
    EXPECT_EQ(Copy(StartupCells(), 0, 0, 11, 11), expected);
}

TEST(CellText, GearRowAndBlankedLastRow)
{
    Cells cells = StartupCells();
    cells[1] = {"1", "1.000", "18", "0.000", "20.000"};
    cells[20] = {"20", " ", " ", " ", " "};
    const std::string text = Copy(cells, 0, 0, 11, 11);

    const std::string header = "\tﾓｼﾞｭｰﾙ\t歯数\t転位係数\t歯先円\r\n";
    const std::string line2 = "1\t1.000\t18\t0.000\t20.000\r\n";
    const std::string line21 = "20\t \t \t \t \r\n";
    ASSERT_EQ(text.substr(0, header.size() + line2.size()), header + line2);
    ASSERT_GE(text.size(), line21.size());
    EXPECT_EQ(text.substr(text.size() - line21.size()), line21);
    EXPECT_EQ(Copy(cells, 0, 1, 4, 1), line2);
    EXPECT_EQ(Copy(cells, 1, 20, 4, 20), " \t \t \t \r\n");
}

TEST(CellText, SmallRectanglesLiterally)
{
    const Cells cells = NamedCells();
    EXPECT_EQ(Copy(cells, 0, 0, 4, 3),
        "A0\tB0\tC0\tD0\tE0\r\n"
        "A1\tB1\tC1\tD1\tE1\r\n"
        "A2\tB2\tC2\tD2\tE2\r\n"
        "A3\tB3\tC3\tD3\tE3\r\n");
    EXPECT_EQ(Copy(cells, 4, 20, 4, 20), "E20\r\n");
    EXPECT_EQ(Copy(cells, -1, -1, 0, 1), "A0\r\nA1\r\n");
    EXPECT_EQ(Copy(cells, 2, 3, 3, 4), "C3\tD3\r\nC4\tD4\r\n");
}

// Which cells a rectangle copies: the expected rectangle after clamping, or
// none (the empty text).
struct RectCase {
    const char* name;
    std::int32_t left, top, right, bottom;
    bool valid;
    int expLeft, expTop, expRight, expBottom;
};

std::string Expected(const Cells& cells, const RectCase& c)
{
    if (!c.valid)
        return {};
    std::string text;
    for (int row = c.expTop; row <= c.expBottom; ++row) {
        for (int col = c.expLeft; col <= c.expRight; ++col) {
            text += cells[row][col];
            text += col < c.expRight ? "\t" : "\r\n";
        }
    }
    return text;
}

TEST(CellText, RectangleValidityAndClamping)
{
    const RectCase cases[] = {
        {"left after right", 3, 0, 2, 5, false, 0, 0, 0, 0},
        {"bottom above top", 0, 5, 4, 4, false, 0, 0, 0, 0},
        {"right negative", -3, 0, -1, 3, false, 0, 0, 0, 0},
        {"bottom negative", 0, -3, 4, -1, false, 0, 0, 0, 0},
        {"left at column count", 5, 0, 7, 3, false, 0, 0, 0, 0},
        {"top at row count", 0, 21, 4, 30, false, 0, 0, 0, 0},
        {"everything beyond", 0, 21, 11, 11, false, 0, 0, 0, 0},
        {"table copy", 0, 0, 11, 11, true, 0, 0, 4, 20},
        {"rows 0 to 3 stay", 0, 0, 4, 3, true, 0, 0, 4, 3},
        {"bottom 4 stays", 1, 2, 2, 4, true, 1, 2, 2, 4},
        {"bottom 5 becomes 20", 1, 2, 2, 5, true, 1, 2, 2, 20},
        {"bottom 6 from top 6 becomes 20", 0, 6, 0, 6, true, 0, 6, 0, 20},
        {"bottom 20 stays 20", 2, 19, 3, 20, true, 2, 19, 3, 20},
        {"bottom 99 becomes 20", 2, 19, 3, 99, true, 2, 19, 3, 20},
        {"negative left and top raised", -5, -7, 1, 2, true, 0, 0, 1, 2},
        {"right 5 lowered", 3, 1, 5, 1, true, 3, 1, 4, 1},
        {"int32 extremes", INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, true, 0, 0, 4, 20},
        {"last column only", 4, 0, 4, 2, true, 4, 0, 4, 2},
    };
    const Cells cells = NamedCells();
    for (const RectCase& c : cases)
        EXPECT_EQ(Copy(cells, c.left, c.top, c.right, c.bottom), Expected(cells, c)) << c.name;
}

TEST(CellText, InvalidRectangleReadsNoCell)
{
    int reads = 0;
    const auto counting = [&reads](int, int) {
        ++reads;
        return std::string("x");
    };
    EXPECT_EQ(BuildCellsText(counting, kCols, kRows, 3, 0, 2, 0), "");
    EXPECT_EQ(BuildCellsText(counting, kCols, kRows, 0, 21, 4, 21), "");
    EXPECT_EQ(reads, 0);
}

} // namespace
