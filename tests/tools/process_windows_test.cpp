// The tools' child processes on Windows: exit codes and exceptions as a
// caller sees them, arguments that need quoting, environment and working
// directory, a program that cannot run, the wall-clock wait and a kill that
// ends the child's own children too; and temporary directories.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "process.h"

namespace {

namespace fs = std::filesystem;
using kv390::tools::ExitStatus;
using kv390::tools::Process;
using kv390::tools::SpawnRequest;
using kv390::tools::TempDir;

SpawnRequest child(std::vector<std::string> args) {
    return SpawnRequest{PROCESS_TEST_CHILD, std::move(args), {}, ""};
}

std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

ExitStatus run_to_end(const SpawnRequest& request) {
    Process process;
    std::string error;
    ExitStatus status{true, -1, "not started"};
    EXPECT_TRUE(process.start(request, &error)) << error;
    EXPECT_TRUE(process.wait_for(20000, &status));
    EXPECT_FALSE(process.running());
    return status;
}

TEST(WindowsProcessTest, ReportsTheExitCodeOrTheExceptionByName) {
    struct Case {
        std::vector<std::string> args;
        bool signalled;
        int code;
        const char* name;
    } cases[] = {
        {{"exit", "0"}, false, 0, ""},
        {{"exit", "3"}, false, 3, ""},
        {{"exit", "255"}, false, 255, ""},
        {{"crash"}, true, int(EXCEPTION_ACCESS_VIOLATION), "EXCEPTION_ACCESS_VIOLATION"},
    };
    for (const Case& c : cases) {
        ExitStatus status = run_to_end(child(c.args));
        EXPECT_EQ(status.signalled, c.signalled) << c.args[0];
        EXPECT_EQ(status.code, c.code) << c.args[0];
        EXPECT_EQ(status.signal_name, c.name) << c.args[0];
    }
}

TEST(WindowsProcessTest, ArgumentsArriveUnchangedWithTheEnvironmentAndWorkingDirectory) {
    TempDir dir;
    std::string error;
    ASSERT_TRUE(dir.create("kv390-process-test-", &error)) << error;
    // Spaces, quotes, backslashes before quotes and at the end, an empty one.
    const std::vector<std::string> tricky = {
        "two words", "say \"hi\"", "C:\\path with space\\", "a\\\\\"b", "", "tab\there", "plain"};
    SpawnRequest request = child({"report", dir.file("out.txt")});
    request.args.insert(request.args.end(), tricky.begin(), tricky.end());
    request.env = {{"KV390_PROBE", "a=b c"}, {"kv390_probe", "same name, later wins"}};
    request.cwd = dir.path();
    EXPECT_EQ(run_to_end(request).code, 0);
    std::string expected;
    for (const std::string& arg : tricky) expected += "[" + arg + "]\n";
    expected += "probe=same name, later wins\n";
    expected += "cwd=" + fs::canonical(dir.path()).string() + "\n";
    EXPECT_EQ(read_file(dir.file("out.txt")), expected);
}

TEST(WindowsProcessTest, AProgramThatCannotRunIsAnErrorNamingIt) {
    TempDir dir;
    std::string made;
    ASSERT_TRUE(dir.create("kv390-process-test-", &made)) << made;
    const std::string not_a_program = dir.file("notes.txt");
    std::ofstream(not_a_program) << "not a program\n";
    const SpawnRequest cases[] = {
        {dir.file("student-42.exe"), {}, {}, ""},
        {not_a_program, {}, {}, ""},
        {PROCESS_TEST_CHILD, {"exit", "0"}, {}, dir.file("no such folder")},
    };
    for (const SpawnRequest& request : cases) {
        Process process;
        std::string error;
        EXPECT_FALSE(process.start(request, &error));
        const std::string start = "cannot run " + request.program + ": ";
        EXPECT_EQ(error.substr(0, start.size()), start);
        EXPECT_GT(error.size(), start.size()) << "a reason follows";
        EXPECT_EQ(error.find('\n'), std::string::npos) << error;
        EXPECT_FALSE(process.running());
    }
}

TEST(WindowsProcessTest, WaitGivesUpAtItsTimeoutAndAKillEndsTheChildsChildrenToo) {
    TempDir dir;
    std::string error;
    ASSERT_TRUE(dir.create("kv390-process-test-", &error)) << error;
    Process process;
    ASSERT_TRUE(process.start(child({"family", dir.file("pid.txt")}), &error)) << error;
    DWORD grandchild_id = 0;
    for (int i = 0; i < 200 && grandchild_id == 0; ++i) {
        Sleep(50);
        std::istringstream(read_file(dir.file("pid.txt"))) >> grandchild_id;
    }
    ASSERT_NE(grandchild_id, 0u);
    HANDLE grandchild = OpenProcess(SYNCHRONIZE, FALSE, grandchild_id);
    ASSERT_NE(grandchild, nullptr);

    const auto start = std::chrono::steady_clock::now();
    ExitStatus status;
    EXPECT_FALSE(process.wait_for(200, &status));
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, std::chrono::milliseconds(190));
    EXPECT_LT(waited, std::chrono::milliseconds(3000));
    EXPECT_TRUE(process.running());

    process.kill();
    ASSERT_TRUE(process.wait_for(10000, &status));
    EXPECT_TRUE(status.signalled);
    EXPECT_EQ(status.signal_name, "SIGKILL");
    EXPECT_EQ(WaitForSingleObject(grandchild, 10000), WAIT_OBJECT_0) << "the grandchild lives on";
    CloseHandle(grandchild);
}

TEST(WindowsTempDirTest, IsFreshAndRemovedWithItsFiles) {
    std::string first, error;
    {
        TempDir a, b;
        ASSERT_TRUE(a.create("kv390-temp-test-", &error)) << error;
        ASSERT_TRUE(b.create("kv390-temp-test-", &error)) << error;
        EXPECT_NE(a.path(), b.path());
        fs::create_directories(a.file("sub/deeper"));
        std::ofstream(a.file("sub/deeper/f.txt")) << "x";
        first = a.path();
        EXPECT_TRUE(fs::exists(a.file("sub/deeper/f.txt")));
    }
    EXPECT_FALSE(fs::exists(first));
}

}  // namespace
