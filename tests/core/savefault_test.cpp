// Saves killed at every step and saves under a file-size limit, each in a child
// process: the target holds the old or the new bytes and keeps its links,
// group, mode and attributes, and no hidden file outlives the next save.
#include "geardata/apperror.h"
#include "geardata/safefile.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <vector>

namespace {

const std::vector<std::uint8_t> kOld(3344, 0x42);
const std::vector<std::uint8_t> kNew(3344, 0x17);
int killAt;   // a SaveStep, or -1 for none

std::string Shell(const std::string& command)
{
    std::string out;
    FILE* pipe = ::popen(command.c_str(), "r");
    for (int c; (c = std::fgetc(pipe)) != EOF;)
        out += static_cast<char>(c);
    ::pclose(pipe);
    return out;
}

// "old", "new", "none" or "cut".
std::string Content(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return !in.is_open() ? "none" : bytes == kOld ? "old" : bytes == kNew ? "new" : "cut";
}

// What a save must keep: the names in the folder, the target's group, mode, links and attribute.
std::string Kept(const std::string& dir)
{
    std::string kept = Shell("ls -A '" + dir + "' | tr '\\n' ' '");
    struct stat st {};
    char note[16] = {};
    if (::stat((dir + "/t.hgd").c_str(), &st) == 0 && ::getxattr((dir + "/t.hgd").c_str(), "user.note", note, 15) >= 0)
        kept += std::to_string(st.st_gid) + " " + std::to_string(st.st_mode & 07777) + " " +
                std::to_string(st.st_nlink) + " " + note;
    return kept;
}

// The save in a child process; its wait status (exit 2: the write error).
int SaveInChild(const std::string& path, rlim_t sizeLimit)
{
    const pid_t child = ::fork();
    if (child == 0) {
        SetSaveStepHook([](SaveStep step) {
            if (static_cast<int>(step) == killAt)
                ::raise(SIGKILL);
        });
        const rlimit limit{sizeLimit, sizeLimit};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        try {
            WriteFileSafely(path, kNew.data(), kNew.size());
        } catch (const AppError& e) {
            ::_exit(std::string(e.what()) == "ストリームへの書き込みエラー" ? 2 : 3);
        }
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return status;
}

TEST(SaveFaults, KilledAtEveryStepOrLimitedInSizeTheTargetIsOldOrNew)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to give the file group 100";
    char templ[] = "/tmp/savefault-XXXXXX";
    ASSERT_NE(::mkdtemp(templ), nullptr);
    const std::string root = templ, dir = root + "/d", target = dir + "/t.hgd";
    std::ofstream(root + "/old", std::ios::binary).write(reinterpret_cast<const char*>(kOld.data()), 3344);
    const std::pair<const char*, const char*> targets[] = {
        {"single", "cp old d/t.hgd"},
        {"hard-linked", "cp old d/t.hgd && ln d/t.hgd d/u.hgd"},
        {"group+xattr", "cp old d/t.hgd && chgrp 100 d/t.hgd && chmod 660 d/t.hgd"},
        {"new file", "true"}};
    const char* const steps[] = {"open", "write", "fsync", "link", "rename", "1000-byte size limit"};
    std::map<std::string, int> outcomes;
    for (const auto& [targetName, setup] : targets) {
        for (int step = 0; step < 6; ++step) {
            const bool limited = step == 5;
            for (int repeat = 0; repeat < 10; ++repeat) {
                SCOPED_TRACE(std::string(targetName) + " at " + steps[step]);
                Shell("cd '" + root + "' && rm -rf d && mkdir d && " + setup);
                ::setxattr(target.c_str(), "user.note", "gears", 5, 0);
                const std::string before = Kept(dir);
                killAt = limited ? -1 : step;
                const int status = SaveInChild(target, limited ? 1000 : RLIM_INFINITY);
                const bool killed = WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
                ASSERT_TRUE(killed || (WIFEXITED(status) && WEXITSTATUS(status) == (limited ? 2 : 0))) << status;
                const std::string content = Content(target);
                ++outcomes[std::string(targetName) + " at " + steps[step] + ": " +
                           (limited ? "" : killed ? "killed, " : "not reached, ") + content];
                if (before.empty()) {
                    EXPECT_TRUE(content == "none" || content == "new");
                    EXPECT_EQ(Kept(dir), content == "new" ? "t.hgd " : "");
                    continue;
                }
                EXPECT_TRUE(content == "old" || content == "new") << content;
                // Only a kill between naming and replacing leaves a hidden name, and the next save removes it.
                if (Kept(dir) != before) {
                    EXPECT_EQ(step, static_cast<int>(SaveStep::Named)) << Kept(dir);
                    killAt = -1;
                    EXPECT_EQ(SaveInChild(target, RLIM_INFINITY), 0);
                    EXPECT_EQ(Kept(dir), before);
                }
                EXPECT_EQ(Content(dir + "/u.hgd"), std::string(setup).find(" ln ") != std::string::npos ? content : "none");
            }
        }
    }
    for (const auto& [what, count] : outcomes)
        std::printf("  %-50s %d\n", what.c_str(), count);
    Shell("rm -rf '" + root + "'");
}

}  // namespace
