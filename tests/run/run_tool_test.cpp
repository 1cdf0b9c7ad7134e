// kv390-run on small programs built for the desktop, each run headless
// through the environment: pictures, logs, answers typed into the line-input
// dialog, and every way a run can fail with its own exit status and message.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "harness_test.h"
#include "kv390/harness.h"
#include "tool_run.h"

namespace {

namespace fs = std::filesystem;

using kv390::test::quoted;
using kv390::test::read_file;
using kv390::test::ToolRun;

class RunToolTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = kv390::test::fresh_temp_dir(
            std::string("run-tool-") +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    std::string file_with(const std::string& name, const std::string& content) const {
        std::ofstream(path(name), std::ios::binary) << content;
        return path(name);
    }
    // kv390-run with these arguments (a shell prefix such as "VAR=x" first).
    ToolRun run(const std::vector<std::string>& args, const std::string& prefix = "") {
        std::string command = prefix + " " + quoted(KV390_RUN_TOOL);
        for (const std::string& a : args) command.append(" ").append(quoted(a));
        return kv390::test::run_command(command, dir_ / "tool-output.txt");
    }

    fs::path dir_;
};

constexpr std::uint32_t RED_PIXEL = 0xFF0000;

// The subject is built for the desktop: without a display it runs only
// when the environment asks for the headless backend.
TEST_F(RunToolTest, TheEnvironmentChoosesTheBackendOfADesktopProgram) {
    struct Case {
        const char* backend;
        int status;
        const char* message;
    } cases[] = {
        {"headless", 0, ""},
        {"martian", 2, "KV390: unknown backend KV390_BACKEND=martian (use headless or sdl)\n"},
    };
    for (const Case& c : cases) {
        const std::string command = std::string("DISPLAY= WAYLAND_DISPLAY= KV390_BACKEND=") +
                                    c.backend + " " + quoted(KV390_RUN_SUBJECT) + " red-disc 2> " +
                                    quoted(path("err.txt"));
        const int raw = std::system(command.c_str());
        EXPECT_EQ(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, c.status) << c.backend;
        EXPECT_EQ(read_file(path("err.txt")), c.message);
    }
}

TEST_F(RunToolTest, RedDiscInColour99GivesARedCentreAndTheCorrectionInTheLog) {
    ToolRun r = run({"--out", path("disc.png"), "--log", path("disc.log"), "--program",
                     KV390_RUN_SUBJECT, "red-disc"});
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(r.output, "");
    win::Image picture;
    std::string error;
    ASSERT_TRUE(kv390::harness::load_png(path("disc.png"), &picture, &error)) << error;
    EXPECT_EQ(picture.width, 595);
    EXPECT_EQ(picture.height, 497);
    // Drawn, never shown by a wait, and still in the picture.
    EXPECT_EQ(picture.at(297, 248), RED_PIXEL);
    EXPECT_EQ(picture.at(297 + 59, 248), RED_PIXEL);
    EXPECT_NE(picture.at(297 + 62, 248), RED_PIXEL);
    EXPECT_EQ(read_file(path("disc.log")), "Illegal color 99; using RED.\n");
}

TEST_F(RunToolTest, AnAnswerTypedIntoTheDialogReachesThePictureAndTheLog) {
    const std::string input = file_with("answer.txt", "at 100 type Ada\nat 200 key 13\n");
    ToolRun r = run({"--input", input, "--out", path("quiz.png"), "--log", path("quiz.log"),
                     "--program", KV390_RUN_SUBJECT, "quiz"});
    ASSERT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(read_file(path("quiz.log")), "answer: Ada\n");
    win::Image picture;
    ASSERT_TRUE(kv390::harness::load_png(path("quiz.png"), &picture, nullptr));
    int black = 0;
    for (int y = 200; y < 260; ++y) {
        for (int x = 40; x < 160; ++x) black += picture.at(x, y) == 0 ? 1 : 0;
    }
    EXPECT_GT(black, 100) << "the answer is drawn left of the centre";
}

// Each failure: its exit status, a message naming the cause, and no output.
TEST_F(RunToolTest, EveryFailureHasItsStatusAndMessageAndWritesNothing) {
    const std::string script = file_with("bad.scr", "KV390_PERIODIC(3);\nKV390_CLICK(1, 2);\n");
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string message;
        std::string prefix = "";
    } cases[] = {
        {{"--timeout", "2", "--program", KV390_RUN_SUBJECT, "ignore-quit"},
         3,
         "stopped after 2 s of program time (virtual clock); its window was closed but it did not "
         "end"},
        {{"--timeout", "1", "--program", KV390_RUN_SUBJECT, "spin"},
         3,
         "stopped after 1 s of wall-clock time"},
        // The sanitizers of a sanitizer build would catch the fault first.
        {{"--program", KV390_RUN_SUBJECT, "null"},
         4,
         "crashed: SIGSEGV",
         "ASAN_OPTIONS=handle_segv=0"},
        {{"--program", KV390_RUN_SUBJECT, "exit-3"}, 5, "exited with status 3"},
        {{"--script", script, "--program", KV390_RUN_SUBJECT, "red-disc"},
         6,
         "script line 2 cannot be played: \"KV390_CLICK(1, 2);\""},
        {{"--program", "/bin/true"}, 7, "/bin/true ended without opening KV390"},
        {{"--program", KV390_RUN_SUBJECT, "no-library"}, 7, "ended without opening KV390"},
        {{"--program", path("student-17")},
         2,
         "cannot run " + path("student-17") + ": there is no such file"},
        {{"--program", dir_.string()}, 2, "it is a directory"},
        {{"--input", script, "--program", KV390_RUN_SUBJECT, "red-disc"}, 2, "line 1:"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"--out", path("o.png"), "--log", path("o.log")};
        args.insert(args.end(), c.args.begin(), c.args.end());
        ToolRun r = run(args, c.prefix);
        EXPECT_EQ(r.status, c.status) << c.message << "\n" << r.output;
        EXPECT_NE(r.output.find("kv390-run: "), std::string::npos) << r.output;
        EXPECT_NE(r.output.find(c.message), std::string::npos) << r.output;
        EXPECT_EQ(std::count(r.output.begin(), r.output.end(), '\n'), 1) << r.output;
        EXPECT_FALSE(fs::exists(path("o.png"))) << c.message;
        EXPECT_FALSE(fs::exists(path("o.log"))) << c.message;
    }
}

// Options go before --program in any order; one of kv390-run's own written
// after it is refused, never handed to the program, unless "--" says so.
TEST_F(RunToolTest, OptionsInAnyOrderAndNoneOfOursSlipsToTheProgram) {
    const std::string input = file_with("input.txt", "at 500 end\n");
    const std::string out = path("o.png"), log = path("o.log");
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string message;  // empty: the run is done and writes both outputs
    } cases[] = {
        {{"--out", out, "--timeout", "5", "--input", input, "--log", log, "--program",
          KV390_RUN_SUBJECT, "blue-disc"},
         0,
         ""},
        {{"--log=" + log, "--input", input, "--out=" + out, "--program", KV390_RUN_SUBJECT,
          "blue-disc"},
         0,
         ""},
        {{"--log", log, "--program", KV390_RUN_SUBJECT, "blue-disc", "--out", out},
         2,
         "--out comes after --program"},
        {{"--out", out, "--program", KV390_RUN_SUBJECT, "--log=" + log}, 2, "--log=" + log},
        {{"--out", out, "--log", log, "--program", KV390_RUN_SUBJECT, "--", "--out", "x.png"},
         0,
         ""},
        {{"--out", out, "--bogus", "--program", KV390_RUN_SUBJECT}, 2, "--bogus"},
        {{"--out", out, "--timeout", "0", "--program", KV390_RUN_SUBJECT},
         2,
         "--timeout needs whole seconds from 1 to 1000000, not \"0\""},
    };
    for (const Case& c : cases) {
        fs::remove(out);
        fs::remove(log);
        ToolRun r = run(c.args);
        EXPECT_EQ(r.status, c.status) << r.output;
        EXPECT_EQ(fs::exists(out), c.message.empty()) << r.output;
        if (c.message.empty()) continue;
        EXPECT_NE(r.output.find("kv390-run: "), std::string::npos) << r.output;
        EXPECT_NE(r.output.find(c.message), std::string::npos) << r.output;
        EXPECT_EQ(std::count(r.output.begin(), r.output.end(), '\n'), 1) << r.output;
        EXPECT_FALSE(fs::exists(log));
        EXPECT_FALSE(fs::exists(path("x.png")));
    }
}

// --sandbox: the same verdicts, outputs that belong to the caller, and a
// program that cannot see or change the caller's home or /tmp.
TEST_F(RunToolTest, ASandboxedRunKeepsItsVerdictsAndTouchesNothingOutside) {
    if (std::system("bwrap --ro-bind / / --unshare-all true > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "bubblewrap cannot make a sandbox here";
    const std::string input = file_with("input.txt", "at 500 end\n");
    const std::string out = path("o.png");
    // The subject reads its mode only; a shell does the writing outside.
    const std::string marker = "/tmp/kv390-run-sandbox-test-" + std::to_string(::getpid());
    const std::string writer =
        file_with("writer.sh", "#!/bin/sh\ntouch " + marker + " \"$HOME/../escaped\" " +
                                   quoted(path("outside")) + "\n");
    fs::permissions(writer, fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string message;
    } cases[] = {
        {{"--program", KV390_RUN_SUBJECT, "blue-disc"}, 0, ""},
        {{"--program", KV390_RUN_SUBJECT, "null"}, 4, "crashed: SIGSEGV"},
        {{"--program", KV390_RUN_SUBJECT, "exit-3"}, 5, "exited with status 3"},
        {{"--program", writer}, 7, "ended without opening KV390"},
    };
    for (const Case& c : cases) {
        fs::remove(out);
        std::vector<std::string> args = {"--sandbox", "--input", input, "--out", out};
        args.insert(args.end(), c.args.begin(), c.args.end());
        ToolRun r = run(args, "ASAN_OPTIONS=handle_segv=0");
        EXPECT_EQ(r.status, c.status) << r.output;
        EXPECT_NE(r.output.find(c.message), std::string::npos) << r.output;
        if (c.status == 0) {
            struct stat info {};
            ASSERT_EQ(::stat(out.c_str(), &info), 0);
            EXPECT_EQ(info.st_uid, ::getuid());
        }
    }
    EXPECT_FALSE(fs::exists(marker));
    EXPECT_FALSE(fs::exists(path("outside")));
    EXPECT_FALSE(fs::exists("/tmp/escaped"));
}

TEST_F(RunToolTest, AGifPastItsLimitFailsAndLeavesNoFile) {
    const std::string input = file_with("long.txt", "at 50000 end\n");
    ToolRun r = run({"--gif", path("big.gif"), "--gif-limit", "1", "--input", input, "--program",
                     KV390_RUN_SUBJECT, "noise"});
    EXPECT_EQ(r.status, 1) << r.output;
    EXPECT_NE(r.output.find("the GIF passed its size limit of 1048576 bytes"), std::string::npos)
        << r.output;
    EXPECT_FALSE(fs::exists(path("big.gif")));
}

TEST_F(RunToolTest, AnInterruptedRunLeavesNoFile) {
    const std::string input = file_with("long.txt", "at 50000 end\n");
    const std::string command = quoted(KV390_RUN_TOOL) + " --gif " + quoted(path("anim.gif")) +
                                " --input " + quoted(input) + " --program " +
                                quoted(KV390_RUN_SUBJECT) + " noise";
    // The runner's own process gets the Ctrl+C, as from a terminal.
    const std::string script = command + " > " + quoted(path("out.txt")) +
                               " 2>&1 & pid=$!; sleep 1; kill -INT $pid; wait $pid";
    const int raw = std::system(("sh -c " + quoted(script)).c_str());
    EXPECT_EQ(WEXITSTATUS(raw), 130) << read_file(path("out.txt"));
    EXPECT_NE(read_file(path("out.txt")).find("interrupted; no output was written"),
              std::string::npos);
    EXPECT_FALSE(fs::exists(path("anim.gif")));
    EXPECT_FALSE(fs::exists(path("anim.gif.kv390-partial")));
}

}  // namespace
