// SPDX-License-Identifier: GPL-3.0-or-later
// The command sequences against a view that records what it is told to show.
#include "tests/support/globalstate.h"
#include "commands/commands.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class RecordingView : public GearView {
public:
    std::vector<std::string> log;

    std::string DecimalSeparator() const override { return ","; }
    void InitTableGrid() override { log.push_back("headers"); }
    void ShowBoxes(const BoxTexts& t) override
    {
        log.push_back("boxes " + t.module + " " + t.teeth + " " + t.shift + " " + t.pitch + " " + t.tip + " " +
                      t.root + " " + t.base + " " + t.tipThickness);
    }
    void ShowMessages(const std::vector<std::string>& lines) override
    {
        log.push_back("messages " + std::to_string(lines.size()) + " " + (lines.empty() ? "" : lines.back()));
    }
    void ShowOutline(const GearRecord&, const OutlineBuffer&) override { log.push_back("outline"); }
    void ShowImage() override { log.push_back("image"); }
    void ShowRow(int row, const RowTexts& t) override
    {
        log.push_back("row " + std::to_string(row) + " " + t.module + " " + t.teeth + " " + t.shift + " " + t.tip);
    }
    void ClearTableCells() override { log.push_back("clear rows"); }
    void MoveRowsUp(int row) override { log.push_back("rows up from " + std::to_string(row)); }
    void ShowError(const std::string& message) override { log.push_back("error " + message); }
    void CurrentGearChanged(const GearRecord&) override { log.push_back("changed"); }
};

TEST(CommandSequences, TellTheViewWhatToShowInOrder)
{
    using Log = std::vector<std::string>;
    ResetProgramState();
    RecordingView view;
    const auto run = [&view](auto&& command) {
        view.log.clear();
        RunSequence(view, command);
        return view.log;
    };

    EXPECT_EQ(run([&] { StartUp(programState, view); }),
              (Log{"headers", "image", "boxes 1 18 0 18,000 20,000 15,500 16,914 0,682", "outline"}));

    EXPECT_EQ(run([&] { Calculate(programState, view, {"2", "12", "0,3"}); }),
              (Log{"messages 1 警告：歯数Ｚ１が小さい、ｱﾝﾀﾞｰｶｯﾄ発生",
                   "boxes 2 12 0,3 24,000 29,200 20,200 22,553 0,871", "outline", "image",
                   "row 1 2,000 12 0,300 29,200", "changed"}));

    // The teeth checks stop the calculation: only the message list changes.
    EXPECT_EQ(run([&] { Calculate(programState, view, {"1", "71", "0"}); }),
              (Log{"messages 1 エラー：歯数Ｚ1が多すぎる、計算不可"}));

    // A fault ends the sequence after the findings; nothing is registered.
    EXPECT_EQ(run([&] { Calculate(programState, view, {"0", "18", "0"}); }),
              (Log{"messages 4 エラー＝０、警告＝０", "error 不正な浮動小数点数演算命令"}));
    EXPECT_EQ(run([&] { Calculate(programState, view, {"1", "1,5", "0"}); }), (Log{"error '1,5' は整数ではありません"}));

    // Recall of row 1 shows and draws the stored gear; an empty row does nothing.
    EXPECT_EQ(run([&] { RecallGear(programState, view, 1); }),
              (Log{"boxes 2 12 0,3 24,000 29,200 20,200 22,553 0,871", "outline", "changed"}));
    EXPECT_EQ(run([&] { RecallGear(programState, view, 2); }), Log{});
    EXPECT_EQ(run([&] { DeleteRow(programState, view, 1); }), (Log{"rows up from 1"}));
    EXPECT_EQ(run([&] { ReadTable(programState, view, "/nonexistent/a.hgd"); }),
              (Log{"error ファイル /nonexistent/a.hgd は開けません"}));
}

}  // namespace
