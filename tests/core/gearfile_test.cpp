// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/apperror.h"
#include "geardata/gearfile.h"
#include "geardata/gearrecord.h"
#include "tests/support/globalstate.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

class GearFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        char templ[] = "/tmp/gearfile-test-XXXXXX";
        ASSERT_NE(::mkdtemp(templ), nullptr);
        m_dir = templ;
        ResetProgramState();
        ResetGearTable();
    }
    void TearDown() override { std::system(("rm -rf '" + m_dir + "'").c_str()); }

    std::string Path(const std::string& name) const { return m_dir + "/" + name; }

    static void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes)
    {
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    static std::vector<std::uint8_t> ReadBytes(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    static std::vector<std::uint8_t> TableImage() { return {GearTableBytes(), GearTableBytes() + kGearTableBytes}; }

    static std::string MessageOf(void (*action)(const std::string&), const std::string& path)
    {
        try {
            action(path);
        } catch (const AppError& e) {
            return e.what();
        }
        return "(no error)";
    }

    std::string m_dir;
};

TEST_F(GearFile, RoundTripKeepsEveryByte)
{
    for (std::size_t i = 0; i < kGearTableBytes; ++i)
        GearTableBytes()[i] = static_cast<std::uint8_t>(i * 7 + 3);
    const auto image = TableImage();
    WriteGearFile(Path("a.hgd"));
    EXPECT_EQ(ReadBytes(Path("a.hgd")), image);
    std::memset(GearTableBytes(), 0, kGearTableBytes);
    LoadGearTableBytes(ReadGearFile(Path("a.hgd")));
    EXPECT_EQ(TableImage(), image);
}

TEST_F(GearFile, ShortAndLongFilesReplaceOnlyWhatTheyHold)
{
    struct Case {
        std::size_t size;
        std::size_t replaced;
    };
    for (const Case c : {Case{0, 0}, Case{152, 152}, Case{4000, 3344}, Case{3344, 3344}}) {
        SCOPED_TRACE(c.size);
        std::memset(GearTableBytes(), 0x11, kGearTableBytes);
        WriteBytes(Path("f"), std::vector<std::uint8_t>(c.size, 0x22));
        const auto bytes = ReadGearFile(Path("f"));
        EXPECT_EQ(bytes.size(), c.replaced);
        LoadGearTableBytes(bytes);
        const auto image = TableImage();
        for (std::size_t i = 0; i < kGearTableBytes; ++i)
            ASSERT_EQ(image[i], i < c.replaced ? 0x22 : 0x11) << "byte " << i;
    }
}

TEST_F(GearFile, ReadFailuresNameTheFile)
{
    ::mkdir(Path("folder.hgd").c_str(), 0755);
    const std::string cases[] = {Path("missing.hgd"), Path("folder.hgd"), Path("no/such/folder.hgd")};
    for (const std::string& path : cases)
        EXPECT_EQ(MessageOf([](const std::string& p) { ReadGearFile(p); }, path), "ファイル " + path + " は開けません");
}

TEST_F(GearFile, WriteFailuresNameTheFileAndLeaveNothingBehind)
{
    ::mkdir(Path("folder.hgd").c_str(), 0755);
    WriteBytes(Path("readonly.hgd"), std::vector<std::uint8_t>(10, 1));
    ::chmod(Path("readonly.hgd").c_str(), 0444);
    const std::string cases[] = {Path("folder.hgd"), Path("no/such/folder.hgd"), Path("readonly.hgd"), "/proc/version", ""};
    for (const std::string& path : cases)
        EXPECT_EQ(MessageOf(&WriteGearFile, path), "ファイル " + path + " を作成できません");
    EXPECT_EQ(std::system(("test -z \"$(ls -A '" + m_dir + "/folder.hgd')\"").c_str()), 0);
    EXPECT_EQ(ReadBytes(Path("readonly.hgd")).size(), 10u);
}

TEST_F(GearFile, FullDiskIsAWriteError)
{
    EXPECT_EQ(MessageOf(&WriteGearFile, "/dev/full"), "ストリームへの書き込みエラー");
}

TEST_F(GearFile, FailedSaveLeavesTheGoodFileIntact)
{
    const std::vector<std::uint8_t> good(kGearTableBytes, 0x42);
    WriteBytes(Path("good.hgd"), good);
    ::chmod(Path("good.hgd").c_str(), 0640);

    // A file size limit below the table makes the write fail part-way, as a full disk does.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 1000;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const std::string message = MessageOf(&WriteGearFile, Path("good.hgd"));
    ::setrlimit(RLIMIT_FSIZE, &old);

    EXPECT_EQ(message, "ストリームへの書き込みエラー");
    EXPECT_EQ(ReadBytes(Path("good.hgd")), good);
    EXPECT_EQ(std::system(("test \"$(ls -A '" + m_dir + "')\" = good.hgd").c_str()), 0) << "a temporary file was left";

    // The next save succeeds and keeps the file's mode.
    WriteGearFile(Path("good.hgd"));
    EXPECT_EQ(ReadBytes(Path("good.hgd")), TableImage());
    struct stat st {};
    ::stat(Path("good.hgd").c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST_F(GearFile, SavingThroughALinkReplacesTheFileItNames)
{
    WriteBytes(Path("real.hgd"), std::vector<std::uint8_t>(10, 1));
    ASSERT_EQ(::symlink(Path("real.hgd").c_str(), Path("link.hgd").c_str()), 0);
    WriteGearFile(Path("link.hgd"));
    struct stat st {};
    ::lstat(Path("link.hgd").c_str(), &st);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(ReadBytes(Path("real.hgd")).size(), kGearTableBytes);
}

TEST_F(GearFile, SavingThroughALinkToAMissingFileMakesThatFile)
{
    ASSERT_EQ(::symlink(Path("later.hgd").c_str(), Path("link.hgd").c_str()), 0);
    WriteGearFile(Path("link.hgd"));
    struct stat st {};
    ::lstat(Path("link.hgd").c_str(), &st);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(ReadBytes(Path("later.hgd")), TableImage());
}

TEST_F(GearFile, HardLinkedFileStaysOneFileUnderEveryName)
{
    WriteBytes(Path("a.hgd"), std::vector<std::uint8_t>(10, 1));
    ASSERT_EQ(::link(Path("a.hgd").c_str(), Path("b.hgd").c_str()), 0);
    struct stat before {};
    ::stat(Path("a.hgd").c_str(), &before);
    WriteGearFile(Path("a.hgd"));
    struct stat after {};
    ::stat(Path("b.hgd").c_str(), &after);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_nlink, 2u);
    EXPECT_EQ(ReadBytes(Path("b.hgd")), TableImage());
}

enum class SaveOutcome { Saved, Refused, NoSuchUser };

// Runs a save as another user (nobody) when the tests run as root.
static SaveOutcome SaveAsNobody(const std::string& path)
{
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0)
            ::_exit(2);
        try {
            WriteGearFile(path);
        } catch (const AppError&) {
            ::_exit(1);
        }
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) == 2)
        return SaveOutcome::NoSuchUser;
    return WEXITSTATUS(status) == 0 ? SaveOutcome::Saved : SaveOutcome::Refused;
}

TEST_F(GearFile, WritableFileInAFolderThatTakesNoNewNamesIsSaved)
{
    WriteBytes(Path("a.hgd"), std::vector<std::uint8_t>(10, 1));
    ::chmod(Path("a.hgd").c_str(), 0666);
    if (::geteuid() == 0) {
        ::chmod(m_dir.c_str(), 0755);
        const SaveOutcome existing = SaveAsNobody(Path("a.hgd"));
        if (existing == SaveOutcome::NoSuchUser)
            GTEST_SKIP() << "this system has no user nobody to switch to";
        EXPECT_EQ(existing, SaveOutcome::Saved);
        EXPECT_EQ(SaveAsNobody(Path("new.hgd")), SaveOutcome::Refused);
    } else {
        ::chmod(m_dir.c_str(), 0555);
        WriteGearFile(Path("a.hgd"));
        EXPECT_EQ(MessageOf(&WriteGearFile, Path("new.hgd")), "ファイル " + Path("new.hgd") + " を作成できません");
        ::chmod(m_dir.c_str(), 0755);
    }
    EXPECT_EQ(ReadBytes(Path("a.hgd")), TableImage());
    EXPECT_EQ(std::system(("test \"$(ls -A '" + m_dir + "')\" = a.hgd").c_str()), 0) << "a stray file was left";
}

TEST_F(GearFile, AnotherUsersFileKeepsItsOwner)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to give the file away";
    WriteBytes(Path("a.hgd"), std::vector<std::uint8_t>(10, 1));
    if (::chown(Path("a.hgd").c_str(), 65534, 65534) != 0)
        GTEST_SKIP() << "this system has no user nobody to give the file to";
    WriteGearFile(Path("a.hgd"));
    struct stat st {};
    ::stat(Path("a.hgd").c_str(), &st);
    EXPECT_EQ(st.st_uid, 65534u);
    EXPECT_EQ(ReadBytes(Path("a.hgd")), TableImage());
}

TEST_F(GearFile, NameWithoutExtensionIsUsedAsTyped)
{
    WriteGearFile(Path("gears"));
    EXPECT_EQ(ReadBytes(Path("gears")).size(), kGearTableBytes);
}

}  // namespace
