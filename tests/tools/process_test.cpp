// The tools' child processes: exit codes and signals as a caller sees them,
// environment and working directory, a program that cannot run, the
// wall-clock wait and the kill; and temporary directories.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "process.h"

namespace {

namespace fs = std::filesystem;
using kv390::tools::ExitStatus;
using kv390::tools::Process;
using kv390::tools::SpawnRequest;
using kv390::tools::TempDir;

SpawnRequest shell(const std::string& script) {
    return SpawnRequest{"/bin/sh", {"-c", script}, {}, ""};
}

TEST(ProcessTest, ReportsTheExitCodeOrTheSignalByName) {
    struct Case {
        const char* script;
        bool signalled;
        int code;
        const char* signal_name;
    } cases[] = {
        {"exit 0", false, 0, ""},
        {"exit 3", false, 3, ""},
        {"kill -SEGV $$", true, 11, "SIGSEGV"},
        {"kill -ABRT $$", true, 6, "SIGABRT"},
    };
    for (const Case& c : cases) {
        Process process;
        std::string error;
        ASSERT_TRUE(process.start(shell(c.script), &error)) << error;
        ExitStatus status;
        ASSERT_TRUE(process.wait_for(10000, &status)) << c.script;
        EXPECT_EQ(status.signalled, c.signalled) << c.script;
        EXPECT_EQ(status.code, c.code) << c.script;
        EXPECT_EQ(status.signal_name, c.signal_name) << c.script;
        EXPECT_FALSE(process.running());
    }
}

TEST(ProcessTest, ChildGetsItsArgumentsEnvironmentAndWorkingDirectory) {
    TempDir dir;
    std::string error;
    ASSERT_TRUE(dir.create("kv390-process-test-", &error)) << error;
    SpawnRequest request = shell("printf '%s|%s|%s' \"$1\" \"$KV390_PROBE\" \"$(pwd)\" > out.txt");
    request.args.push_back("first arg");  // becomes $0 ...
    request.args.push_back("two words");  // ... and $1
    request.env = {{"KV390_PROBE", "a=b c"}, {"HOME", "/nowhere"}};
    request.cwd = dir.path();
    Process process;
    ASSERT_TRUE(process.start(request, &error)) << error;
    ExitStatus status;
    ASSERT_TRUE(process.wait_for(10000, &status));
    EXPECT_EQ(status.code, 0);
    std::ifstream in(dir.file("out.txt"));
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text, "two words|a=b c|" + fs::canonical(dir.path()).string());
}

TEST(ProcessTest, AProgramThatCannotRunIsAnErrorNamingItAndTheReason) {
    TempDir dir;
    std::string made;
    ASSERT_TRUE(dir.create("kv390-process-test-", &made)) << made;
    const std::string not_executable = dir.file("notes.txt");
    std::ofstream(not_executable) << "not a program\n";
    fs::permissions(not_executable, fs::perms::owner_read | fs::perms::owner_write);
    struct Case {
        SpawnRequest request;
        const char* reason;
    } cases[] = {
        {{"/nonexistent/student-42", {}, {}, ""}, "No such file or directory"},
        {{not_executable, {}, {}, ""}, "Permission denied"},
        {{"/bin/sh", {}, {}, "/nonexistent/dir"}, "No such file or directory"},
    };
    for (const Case& c : cases) {
        Process process;
        std::string error;
        EXPECT_FALSE(process.start(c.request, &error));
        EXPECT_EQ(error, "cannot run " + c.request.program + ": " + c.reason);
        EXPECT_FALSE(process.running());
    }
}

TEST(ProcessTest, WaitGivesUpAtItsTimeoutAndAKillEndsTheWholeGroup) {
    Process process;
    std::string error;
    // The shell's child sleeps too; the kill must end it as well.
    ASSERT_TRUE(process.start(shell("sleep 30 & sleep 30; wait"), &error)) << error;
    const auto start = std::chrono::steady_clock::now();
    ExitStatus status;
    EXPECT_FALSE(process.wait_for(200, &status));
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, std::chrono::milliseconds(200));
    EXPECT_LT(waited, std::chrono::milliseconds(2000));
    EXPECT_TRUE(process.running());
    process.kill();
    ASSERT_TRUE(process.wait_for(5000, &status));
    EXPECT_TRUE(status.signalled);
    EXPECT_EQ(status.signal_name, "SIGKILL");
}

TEST(TempDirTest, IsPrivateFreshAndRemovedWithItsFiles) {
    std::string first, error;
    {
        TempDir a, b;
        ASSERT_TRUE(a.create("kv390-temp-test-", &error)) << error;
        ASSERT_TRUE(b.create("kv390-temp-test-", &error)) << error;
        EXPECT_NE(a.path(), b.path());
        EXPECT_EQ(fs::status(a.path()).permissions() & fs::perms::all, fs::perms::owner_all);
        fs::create_directories(a.file("sub/deeper"));
        std::ofstream(a.file("sub/deeper/f.txt")) << "x";
        first = a.path();
        EXPECT_TRUE(fs::exists(a.file("sub/deeper/f.txt")));
    }
    EXPECT_FALSE(fs::exists(first));
}

}  // namespace
