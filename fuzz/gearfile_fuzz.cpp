// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: any bytes as a gear data file. After a fresh start-up the bytes
// are written to a file and read back; then the user's roads are taken one
// after the other through the program's own command sequences: the file read
// (which registers the loaded current gear), a redraw of each of the three
// views, the recall of every row (each redrawn in all views), a calculation
// from the recalled gear's own box texts, the delete of one row and a save.
//
// Checks, besides the sanitizers: every failure is an AppError with one of the
// system's messages; the table image after every step equals a reference copy
// to which the same slot moves are applied with plain memcpy (so reserved
// bytes that came in survive unchanged, and nothing outside the moved slots
// changes); the saved file is that image; the outline buffers are never
// written past the points a build may fill; the view draws 14 edges per
// tooth or none, inside the bitmap.

#include "checkedsurface.h"

#include "base/apperror.h"
#include "tests/support/globalstate.h"
#include "geardata/gearfile.h"
#include "geardata/gearrecord.h"
#include "geardata/tableops.h"
#include "geometry/dimensions.h"
#include "geometry/extended.h"
#include "geometry/outline.h"
#include "commands/commands.h"
#include "commands/numbertext.h"
#include "commands/outlineview.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kViews = 3;           // "全体", "拡大", "最大"
constexpr int kFirstUnusedPoint = kPointsPerTooth * kMaxOutlineTeeth;   // 994

[[noreturn]] void Fail(const std::string& what)
{
    std::fprintf(stderr, "gearfile_fuzz: %s\n", what.c_str());
    std::abort();
}

// --- files -----------------------------------------------------------------

std::string& Folder()
{
    static std::string folder;
    return folder;
}

void RemoveFolder()
{
    for (const char* name : {"/in.hgd", "/out.hgd"})
        ::unlink((Folder() + name).c_str());
    ::rmdir(Folder().c_str());
}

void MakeFolder()
{
    struct stat st {};
    const char* base = ::stat("/dev/shm", &st) == 0 && S_ISDIR(st.st_mode) && ::access("/dev/shm", W_OK) == 0
                           ? "/dev/shm"
                           : (std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp");
    std::string templ = std::string(base) + "/tsumugi-fuzz-XXXXXX";
    std::vector<char> name(templ.begin(), templ.end());
    name.push_back('\0');
    if (::mkdtemp(name.data()) == nullptr)
        Fail("cannot make a temporary folder under " + std::string(base));
    Folder() = name.data();
    std::atexit(RemoveFolder);
}

void WriteBytes(const std::string& path, const std::uint8_t* data, std::size_t size)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr || (size > 0 && std::fwrite(data, 1, size, f) != size) || std::fclose(f) != 0)
        Fail("cannot write " + path);
}

// --- messages ----------------------------------------------------------------

bool StartsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

bool EndsWith(std::string_view text, std::string_view suffix)
{
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

// The messages a command on a loaded table may end in; `more` adds the
// conversion messages of the box texts of a calculation.
void CheckMessage(const std::string& message, const std::vector<std::string>& more = {})
{
    for (FloatFaultKind kind : {FloatFaultKind::InvalidOperation, FloatFaultKind::DivisionByZero, FloatFaultKind::Overflow})
        if (message == FloatFaultMessage(kind))
            return;
    if (message == TooManyTeethToDrawMessage())
        return;
    if (StartsWith(message, "圧力角の番号 ") && EndsWith(message, " は使えません（0 が 14.5°、1 が 20°）"))
        return;
    if (std::find(more.begin(), more.end(), message) != more.end())
        return;
    Fail("unexpected message: " + message);
}

// --- the reference table -------------------------------------------------------

// A copy of the table to which the documented slot moves are applied with
// memcpy; fields that the arithmetic writes are taken over from the real table.
class TableModel {
public:
    void TakeWhole() { std::memcpy(m_image, GearTableBytes(), kGearTableBytes); }

    void Load(const std::uint8_t* data, std::size_t size)
    {
        std::memcpy(m_image, data, std::min(size, kGearTableBytes));
    }

    // Inserts slot 0 at row 1; the first free row takes the row above it,
    // unless the row below the free one is occupied (then the free slot is
    // overwritten, and the gears below it stay). Returns the count expected.
    std::int32_t Register()
    {
        int freeRow = 0;
        for (int r = kFirstRow; r <= kLastRow; ++r)
            if (InUse(r) == 0) {
                freeRow = r;
                break;
            }
        int last = freeRow == 0 ? kLastRow : freeRow;   // the slot moved last, into last + 1
        if (freeRow != 0 && freeRow < kLastRow && InUse(freeRow + 1) != 0)
            last = freeRow - 1;
        for (int k = last; k >= 0; --k)
            CopySlot(k, k + 1);
        return freeRow == 0 ? kLastRow : std::min(freeRow + 1, kLastRow);
    }

    bool Recall(int row)
    {
        if (InUse(row) != 1)
            return false;
        CopySlot(row, kCurrentSlot);
        return true;
    }

    bool Delete(int row)
    {
        if (InUse(row) <= 0)
            return false;
        for (int j = row; j <= kLastRow; ++j)
            CopySlot(j + 1, j);
        const std::int32_t zero = 0;
        std::memcpy(Slot(kLastRow) + offsetof(GearRecord, InUse), &zero, sizeof zero);
        return true;
    }

    // The input boxes write these fields of slot 0 ...
    void TakeInputFields()
    {
        TakeField(offsetof(GearRecord, Module), sizeof(double));
        TakeField(offsetof(GearRecord, Teeth), sizeof(std::int32_t));
        TakeField(offsetof(GearRecord, Shift), sizeof(double));
    }

    // ... and the dimension calculation these.
    void TakeComputedFields()
    {
        TakeField(offsetof(GearRecord, InUse), sizeof(std::int32_t));
        for (std::size_t offset : {offsetof(GearRecord, PitchDiameter), offsetof(GearRecord, TipDiameter),
                                   offsetof(GearRecord, RootDiameter), offsetof(GearRecord, BaseDiameter),
                                   offsetof(GearRecord, TipThickness)})
            TakeField(offset, sizeof(double));
    }

    void Expect(const std::uint8_t* actual, const char* step) const
    {
        for (std::size_t i = 0; i < kGearTableBytes; ++i)
            if (actual[i] != m_image[i])
                Fail(std::string("table image differs after ") + step + " at byte " + std::to_string(i) + " (slot " +
                     std::to_string(i / sizeof(GearRecord)) + ", offset " + std::to_string(i % sizeof(GearRecord)) +
                     "): " + std::to_string(actual[i]) + " instead of " + std::to_string(m_image[i]));
    }
    void Expect(const char* step) const { Expect(GearTableBytes(), step); }

private:
    std::uint8_t* Slot(int slot) { return m_image + sizeof(GearRecord) * static_cast<std::size_t>(slot); }
    std::int32_t InUse(int slot)
    {
        std::int32_t v;
        std::memcpy(&v, Slot(slot) + offsetof(GearRecord, InUse), sizeof v);
        return v;
    }
    void CopySlot(int from, int to) { std::memcpy(Slot(to), Slot(from), sizeof(GearRecord)); }
    void TakeField(std::size_t offset, std::size_t size)
    {
        std::memcpy(Slot(kCurrentSlot) + offset, GearTableBytes() + offset, size);
    }

    std::uint8_t m_image[kGearTableBytes];
};

// --- one run -------------------------------------------------------------------

// The front end of a run: it checks what the sequences show and draws into a
// checking bitmap.
class CheckingView : public GearView {
public:
    explicit CheckingView(std::string separator)
        : m_separator(std::move(separator)), m_surface(kOutlineViewWidth, kOutlineViewHeight) {}

    std::string DecimalSeparator() const override { return m_separator; }
    void InitTableGrid() override {}
    void ShowBoxes(const BoxTexts& t) override
    {
        for (const std::string* text : {&t.module, &t.teeth, &t.shift, &t.pitch, &t.tip, &t.root, &t.base,
                                        &t.tipThickness})
            if (text->empty())
                Fail("an empty box text");
    }
    void ShowMessages(const std::vector<std::string>&) override {}
    void ShowOutline(const GearRecord&, const OutlineBuffer&) override { Draw(m_view, true); }
    void ShowImage() override {}
    void ShowRow(int, const RowTexts& t) override
    {
        if (t.module.empty() || t.teeth.empty() || t.shift.empty() || t.tip.empty())
            Fail("an empty row text");
    }
    void ClearTableCells() override {}
    void MoveRowsUp(int) override { ++m_rowMoves; }
    void ShowError(const std::string& message) override { m_errors.push_back(message); }
    void CurrentGearChanged(const GearRecord&) override { ++m_changes; }

    // Runs one sequence; returns the message it ended in, empty when it ran through.
    std::string Run(const std::function<void()>& command)
    {
        m_errors.clear();
        RunSequence(*this, command);
        if (m_errors.size() > 1)
            Fail("one command showed two errors");
        return m_errors.empty() ? std::string() : m_errors.front();
    }
    int changes() const { return m_changes; }
    int rowMoves() const { return m_rowMoves; }
    void SetView(int view) { m_view = view; }

    // Draws slot 0 in `view` and checks the edges drawn; with `rethrow` a
    // fault ends the command as in the window, else it is only checked.
    void Draw(int view, bool rethrow = false)
    {
        const std::int32_t teeth = gearTable[kCurrentSlot].Teeth;
        const bool drawable = teeth >= 1 && teeth <= kMaxOutlineTeeth;
        const int edges = drawable ? kPointsPerTooth * teeth : 0;
        m_surface.ResetCounts();
        bool done = true;
        std::string message;
        try {
            ShowOutlineOn(m_surface, view);
        } catch (const AppError& e) {
            message = e.what();
            CheckMessage(message);
            done = false;
        }
        if (m_surface.fills() > 1 || m_surface.lines() > edges || (done && (m_surface.fills() != 1 || m_surface.lines() != edges)))
            Fail("view " + std::to_string(view) + " of a gear with " + std::to_string(teeth) + " teeth drew " +
                 std::to_string(m_surface.lines()) + " edges after " + std::to_string(m_surface.fills()) + " fills" +
                 (done ? "" : " and a fault"));
        if (done && drawable && !(m_surface.penColour() == kBlack))
            Fail("the pen is not black after a drawing");
        if (!done && rethrow)
            throw AppError(message);
    }

private:
    std::string m_separator;
    CheckedSurface m_surface;
    std::vector<std::string> m_errors;
    int m_changes = 0;
    int m_rowMoves = 0;
    int m_view = 0;
};

class Session {
public:
    explicit Session(std::string separator) : m_separator(separator), m_view(std::move(separator)) {}

    void Run(const std::uint8_t* data, std::size_t size)
    {
        StartUp();
        ReadFile(data, size);
        for (int view = 0; view < kViews; ++view)
            m_view.Draw(view);
        for (int row = kFirstRow; row <= kLastRow; ++row)
            Recall(row);
        const std::uint32_t hash = Hash(data, size);
        Calculate(static_cast<int>(hash % kViews));
        Delete(1 + static_cast<int>((hash / kViews) % kLastRow));
        Save();
        CheckOutlineTail();
    }

private:
    static std::uint32_t Hash(const std::uint8_t* data, std::size_t size)
    {
        std::uint32_t h = 2166136261u;
        for (std::size_t i = 0; i < size; ++i)
            h = (h ^ data[i]) * 16777619u;
        return h;
    }

    // The program's start-up on zeroed static storage.
    void StartUp()
    {
        ResetProgramState();
        m_view.SetView(0);
        const std::string message = m_view.Run([this] { ::StartUp(programState, m_view); });
        if (!message.empty())
            Fail("the start-up failed: " + message);
        m_model.TakeWhole();
    }

    // The file's bytes as the reader returns them, then the read command.
    void ReadFile(const std::uint8_t* data, std::size_t size)
    {
        const std::string path = Folder() + "/in.hgd";
        WriteBytes(path, data, size);
        const std::vector<std::uint8_t> bytes = ReadGearFile(path);
        const std::size_t expected = std::min(size, kGearTableBytes);
        if (bytes.size() != expected || (expected > 0 && std::memcmp(bytes.data(), data, expected) != 0))
            Fail("the file read is not the first " + std::to_string(expected) + " bytes of the file");

        const int changes = m_view.changes();
        const std::string message = m_view.Run([&] { ReadTable(programState, m_view, path); });
        if (!message.empty())
            Fail("the file read failed: " + message);
        if (m_view.changes() != changes + 1)
            Fail("the file read did not end in a new current gear");
        m_model.Load(data, size);
        ExpectRegistration("the read of the file");
    }

    void ExpectRegistration(const char* step)
    {
        const std::int32_t expectedCount = m_model.Register();
        m_model.Expect(step);
        if (RegisteredCount != expectedCount)
            Fail("RegisteredCount " + std::to_string(RegisteredCount) + " instead of " + std::to_string(expectedCount));
    }

    // A row recall in the chosen view; then the other views as RG1 would
    // draw them, also after a refused rebuild.
    void Recall(int row)
    {
        const bool expected = m_model.Recall(row);
        const OutlineBuffer before = DisplayOutline;
        m_view.SetView(0);
        const std::string message = m_view.Run([&] { RecallGear(programState, m_view, row); });
        m_model.Expect("a recall");
        if (!message.empty()) {
            CheckMessage(message);
            if (message == TooManyTeethToDrawMessage() && std::memcmp(&before, &DisplayOutline, sizeof before) != 0)
                Fail("a refused rebuild changed DisplayOutline");
        } else if (expected &&
                   std::memcmp(DisplayOutline.data(), GearOutline.data(), sizeof(OutlinePoint) * kOutlineCopied) != 0) {
            Fail("DisplayOutline is not a copy of the first 1000 points of GearOutline");
        }
        if (!expected)
            return;
        for (int view = 0; view < kViews; ++view)
            m_view.Draw(view);
    }

    // "計算・登録" on the current gear, from the texts its boxes show, with
    // the view chosen in RG1.
    void Calculate(int view)
    {
        const GearRecord& g = gearTable[kCurrentSlot];
        const InputTexts texts{FormatGeneral(g.Module, 11, m_separator), FormatInteger(g.Teeth),
                               FormatGeneral(g.Shift, 11, m_separator)};
        const std::vector<std::string> conversions{"'" + texts.module + "' は浮動小数点数ではありません",
                                                   "'" + texts.shift + "' は浮動小数点数ではありません"};
        const int changes = m_view.changes();
        m_view.SetView(view);
        const std::string message = m_view.Run([&] { ::Calculate(programState, m_view, texts); });
        if (!message.empty())
            CheckMessage(message, conversions);
        // The boxes and the arithmetic write these fields of slot 0; the
        // registration, when the command ran through, moves the slots.
        m_model.TakeInputFields();
        m_model.TakeComputedFields();
        if (m_view.changes() != changes) {
            if (!message.empty())
                Fail("a failed calculation registered the gear");
            ExpectRegistration("the registration of a calculation");
        }
        m_model.Expect("the calculation");
    }

    void Delete(int row)
    {
        const bool expected = m_model.Delete(row);
        const int moves = m_view.rowMoves();
        m_view.Run([&] { DeleteRow(programState, m_view, row); });
        if ((m_view.rowMoves() != moves) != expected)
            Fail("the delete of row " + std::to_string(row) + " did not do what the InUse test says");
        m_model.Expect("a delete");
    }

    void Save()
    {
        const std::string path = Folder() + "/out.hgd";
        const std::string message = m_view.Run([&] { WriteTable(programState, path); });
        if (!message.empty())
            Fail("the save failed: " + message);
        const std::vector<std::uint8_t> saved = ReadGearFile(path);
        if (saved.size() != kGearTableBytes)
            Fail("the saved file holds " + std::to_string(saved.size()) + " bytes");
        m_model.Expect(saved.data(), "the save");
    }

    // Nothing writes the points no outline of at most 71 teeth reaches, nor
    // DisplayOutline's last entry.
    static void CheckOutlineTail()
    {
        const OutlinePoint zeros[kOutlineCapacity - kFirstUnusedPoint]{};
        if (std::memcmp(&GearOutline[kFirstUnusedPoint], zeros, sizeof zeros) != 0 ||
            std::memcmp(&DisplayOutline[kFirstUnusedPoint], zeros, sizeof zeros) != 0)
            Fail("an outline buffer was written past point 993");
    }

    std::string m_separator;
    CheckingView m_view;
    TableModel m_model;
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    MakeFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The decimal separator follows the user's locale: both common ones.
    static Session point(".");
    static Session comma(",");
    (size % 2 == 0 ? point : comma).Run(data, size);
    return 0;
}
