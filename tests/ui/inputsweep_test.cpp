// SPDX-License-Identifier: GPL-3.0-or-later
// Hostile typed inputs through the real window: every combination of the
// module, teeth and shift texts below is typed and "計算・登録" pressed. Each
// command must end in one of three ways and nothing else:
//   - a computed gear: no error box, the gear registered as the new row 1;
//   - a teeth-check stop: no error box, the Z1 error line last in the message
//     list, the table untouched;
//   - one error box with a listed message, the table untouched: the conversion
//     message of the first box that does not read (or the overflow of a value
//     read beyond the double range), else one of the three floating-point faults.
// A watchdog ends the run if one command takes longer than a minute.

#include "formfixture.h"

#include "geardata/tableops.h"

#include <QButtonGroup>
#include <QRadioButton>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace {

enum class Reading { Value, NotANumber, Overflow };

struct FloatText {
    const char* text;
    Reading reads;
    double value;   // the double stored, when it reads
};

struct TeethText {
    const char* text;
    std::optional<std::int32_t> value;   // nothing: not an integer
};

constexpr double kMax = std::numeric_limits<double>::max();
constexpr double kTiny = std::numeric_limits<double>::denorm_min();
constexpr auto kBad = Reading::NotANumber;

// Module: ±1e-300 to ±1e308, zero, negative zero, the edges of the double
// range and texts that are no number at all.
const FloatText kModules[] = {
    {"1", Reading::Value, 1.0},
    {"-1", Reading::Value, -1.0},
    {"0", Reading::Value, 0.0},
    {"-0", Reading::Value, -0.0},
    {"1e-300", Reading::Value, 1e-300},
    {"-1e-300", Reading::Value, -1e-300},
    {"4.9e-324", Reading::Value, kTiny},
    {"1e-5000", Reading::Value, 0.0},
    {"3e-200", Reading::Value, 3e-200},
    {"0.001", Reading::Value, 0.001},
    {" +2.5E+0 ", Reading::Value, 2.5},
    {".5", Reading::Value, 0.5},
    {"-2.5", Reading::Value, -2.5},
    {"1e10", Reading::Value, 1e10},
    {"1e100", Reading::Value, 1e100},
    {"1e154", Reading::Value, 1e154},
    {"-1e154", Reading::Value, -1e154},
    {"1e308", Reading::Value, 1e308},
    {"-1e308", Reading::Value, -1e308},
    {"1.7976931348623157e308", Reading::Value, kMax},
    {"1e309", Reading::Overflow, 0},
    {"-1.8e308", Reading::Overflow, 0},
    {"", kBad, 0},
    {" ", kBad, 0},
    {"1,5", kBad, 0},
    {"0x10", kBad, 0},
    {"1e", kBad, 0},
    {"- 1", kBad, 0},
    {"nan", kBad, 0},
    {"inf", kBad, 0},
    {"1e4933", kBad, 0},
    {"１", kBad, 0},
};

// Teeth: the whole int32 range in decimal and hexadecimal, around the
// limits of the teeth checks and the outline, and texts that do not read.
const TeethText kTeeth[] = {
    {"18", 18},
    {"-2147483648", std::numeric_limits<std::int32_t>::min()},
    {"-2147483647", std::numeric_limits<std::int32_t>::min() + 1},
    {"2147483647", std::numeric_limits<std::int32_t>::max()},
    {"0", 0},
    {"-0", 0},
    {"1", 1},
    {"2", 2},
    {"-1", -1},
    {"-2", -2},
    {"-3", -3},
    {"-33", -33},
    {"-34", -34},
    {"-1000000", -1000000},
    {"13", 13},
    {"14", 14},
    {"70", 70},
    {"71", 71},
    {"$80000000", std::numeric_limits<std::int32_t>::min()},
    {"$FFFFFFFF", -1},
    {"0x46", 70},
    {" +7", 7},
    {"2147483648", std::nullopt},
    {"-2147483649", std::nullopt},
    {"18 ", std::nullopt},
    {"1e2", std::nullopt},
    {"", std::nullopt},
    {"$100000000", std::nullopt},
};

// Shift: small, huge, past the point where the tip circle lies inside the
// base circle, and texts that do not read.
const FloatText kShifts[] = {
    {"0", Reading::Value, 0.0},
    {"-0", Reading::Value, -0.0},
    {"1e-300", Reading::Value, 1e-300},
    {"-1e-300", Reading::Value, -1e-300},
    {"0.3", Reading::Value, 0.3},
    {"-1", Reading::Value, -1.0},
    {"-1.5", Reading::Value, -1.5},
    {"-1.55", Reading::Value, -1.55},
    {"-10", Reading::Value, -10.0},
    {"1E15", Reading::Value, 1e15},
    {"-1e15", Reading::Value, -1e15},
    {"1e308", Reading::Value, 1e308},
    {"-1e308", Reading::Value, -1e308},
    {"1e309", Reading::Overflow, 0},
    {"0.3.", kBad, 0},
};

const QString kZ1Error = QStringLiteral("エラー：歯数Ｚ1が多すぎる、計算不可");
const QStringList kFaults{QStringLiteral("不正な浮動小数点数演算命令."), QStringLiteral("0 による浮動小数点数除算."),
                          QStringLiteral("浮動小数点数のオーバーフロー.")};

// Ends the process when one command runs longer than its limit.
class Watchdog {
public:
    explicit Watchdog(std::chrono::seconds limit) : m_limit(limit), m_thread([this] { Watch(); }) {}
    ~Watchdog()
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_stop = true;
        }
        m_wake.notify_one();
        m_thread.join();
    }
    void Start(std::string what)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_what = std::move(what);
        m_deadline = std::chrono::steady_clock::now() + m_limit;
        m_running = true;
        m_wake.notify_one();
    }
    void Stop()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_running = false;
    }

private:
    void Watch()
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        while (!m_stop) {
            if (m_running && std::chrono::steady_clock::now() >= m_deadline) {
                std::fprintf(stderr, "A command hangs: %s\n", m_what.c_str());
                std::_Exit(1);
            }
            m_wake.wait_for(lock, std::chrono::milliseconds(200));
        }
    }

    const std::chrono::seconds m_limit;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stop = false;
    bool m_running = false;
    std::string m_what;
    std::chrono::steady_clock::time_point m_deadline;
    std::thread m_thread;
};

bool Reads(const FloatText& t)
{
    return t.reads == Reading::Value;
}

// Every combination of texts that read; those that do not read (or overflow)
// are combined with everything when in the shift box, and with the plain
// shift "0" when in the module or teeth box.
bool InGrid(const FloatText& module, const TeethText& teeth, const FloatText& shift)
{
    if (!Reads(shift))
        return true;
    return (Reads(module) && teeth.value) || std::strcmp(shift.text, "0") == 0;
}

bool SameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

TEST_F(FormTest, HostileInputsEndInAGearAStopOrAListedMessage)
{
    Watchdog watchdog(std::chrono::seconds(60));
    std::map<std::string, int> outcomes;
    int inputs = 0;
    auto slowest = std::chrono::steady_clock::duration::zero();
    std::uint8_t rowsBefore[kGearTableBytes];
    constexpr std::size_t kRowsOffset = sizeof(GearRecord);   // slots 1-21
    constexpr std::size_t kRowsSize = kGearTableBytes - kRowsOffset;

    for (const FloatText& module : kModules) {
        for (const TeethText& teeth : kTeeth) {
            for (const FloatText& shift : kShifts) {
                if (!InGrid(module, teeth, shift))
                    continue;
                // The view changes with the input, so all three views are drawn;
                // the redraw of what slot 0 holds may itself end in a fault.
                m_errors.clear();
                form().m_rg1Buttons->button(inputs % 3)->setChecked(true);
                EXPECT_TRUE(m_errors.isEmpty() || (m_errors.size() == 1 && kFaults.contains(m_errors[0])))
                    << m_errors.join('|').toStdString();
                const std::string input = std::string("module '") + module.text + "', teeth '" + teeth.text +
                                          "', shift '" + shift.text + "'";
                SCOPED_TRACE(input);
                ++inputs;
                std::memcpy(rowsBefore, GearTableBytes() + kRowsOffset, kRowsSize);
                const QStringList messagesBefore = Messages();
                m_errors.clear();

                watchdog.Start(input);
                const auto start = std::chrono::steady_clock::now();
                Calculate(QString::fromUtf8(module.text), QString::fromUtf8(teeth.text), QString::fromUtf8(shift.text));
                slowest = std::max(slowest, std::chrono::steady_clock::now() - start);
                watchdog.Stop();

                const bool rowsUntouched = std::memcmp(rowsBefore, GearTableBytes() + kRowsOffset, kRowsSize) == 0;
                // The first box that does not read ends the command with its message.
                std::optional<QString> conversion;
                if (module.reads == Reading::NotANumber)
                    conversion = QStringLiteral("'%1' は浮動小数点数ではありません.").arg(QString::fromUtf8(module.text));
                else if (module.reads == Reading::Overflow)
                    conversion = kFaults[2];
                else if (!teeth.value)
                    conversion = QStringLiteral("'%1' は整数ではありません.").arg(QString::fromUtf8(teeth.text));
                else if (shift.reads == Reading::NotANumber)
                    conversion = QStringLiteral("'%1' は浮動小数点数ではありません.").arg(QString::fromUtf8(shift.text));
                else if (shift.reads == Reading::Overflow)
                    conversion = kFaults[2];

                if (conversion) {
                    ++outcomes["a box that does not read"];
                    EXPECT_EQ(m_errors, QStringList{*conversion});
                    EXPECT_TRUE(rowsUntouched);
                    EXPECT_EQ(Messages(), messagesBefore);
                    continue;
                }

                // All three boxes read: slot 0 holds what they say.
                EXPECT_TRUE(SameBits(gearTable[0].Module, module.value));
                EXPECT_EQ(gearTable[0].Teeth, *teeth.value);
                EXPECT_TRUE(SameBits(gearTable[0].Shift, shift.value));
                ASSERT_FALSE(Messages().isEmpty());

                if (*teeth.value > 70) {
                    ++outcomes["a teeth-check stop"];
                    EXPECT_TRUE(m_errors.isEmpty()) << m_errors.join('|').toStdString();
                    EXPECT_EQ(Messages().last(), kZ1Error);
                    EXPECT_TRUE(rowsUntouched);
                    continue;
                }
                if (m_errors.isEmpty()) {
                    ++outcomes["a computed gear"];
                    EXPECT_EQ(std::memcmp(&gearTable[1], &gearTable[0], sizeof(GearRecord)), 0);
                    EXPECT_EQ(std::memcmp(&gearTable[2], rowsBefore, sizeof(GearRecord)), 0);
                    EXPECT_EQ(Row(1)[2], QString::number(*teeth.value));
                    continue;
                }
                ++outcomes[m_errors.value(0).toStdString()];
                EXPECT_EQ(m_errors.size(), 1) << m_errors.join('|').toStdString();
                EXPECT_TRUE(kFaults.contains(m_errors.value(0))) << m_errors.join('|').toStdString();
                EXPECT_TRUE(rowsUntouched);
            }
        }
    }

    std::printf("[ sweep    ] %d inputs, slowest command %.3f s\n", inputs,
                std::chrono::duration<double>(slowest).count());
    for (const auto& [outcome, count] : outcomes)
        std::printf("[ sweep    ]   %6d  %s\n", count, outcome.c_str());
    EXPECT_GT(inputs, 7000);
}

}  // namespace
