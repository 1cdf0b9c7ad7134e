// Beginners' mistakes that used to fail silently, headless: drawing before
// KV390_begin is told in one line on stderr; an unshown last picture and a
// program that goes on after KV390_QUIT are the desktop's to tell (see
// tests/desktop), so a headless run stays silent and ends as it always did.
// Programs run in a child process, so that the exit handlers and the exit
// status can be seen.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "library_fixture.h"

namespace kv390::test {
namespace {

constexpr const char* DRAWING_BEFORE_BEGIN = "KV390: drawing before KV390_begin draws nothing";

struct ChildRun {
    int exit_status = -1;  // -1: did not exit normally
    std::string err;
};

// Runs the steps in a forked copy of this test, which then exits with
// status 0 (so exit handlers run); returns its exit status and stderr.
ChildRun run_in_child(const std::function<void()>& steps) {
    std::FILE* err_file = std::tmpfile();
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(::fileno(err_file), STDERR_FILENO);
        steps();
        std::exit(0);
    }
    ChildRun run;
    int status = 0;
    if (pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status)) {
        run.exit_status = WEXITSTATUS(status);
    }
    std::rewind(err_file);
    char chunk[512];
    std::size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, err_file)) > 0) run.err.append(chunk, got);
    std::fclose(err_file);
    return run;
}

int count_of(const std::string& text, const std::string& part) {
    int count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

int wait_kind() {
    int x = 0, y = 0;
    char key = 0;
    return KV390_wait_event(&x, &y, &key);
}

void open() {
    KV390_begin(nullptr, nullptr, "", win::SW_SHOW);
    KV390_set_logging(0);
}

using BeginnerNotes = LibraryTest;

TEST_F(BeginnerNotes, DrawingBeforeBeginIsToldOnceAndHeadlessRunsEndAsBefore) {
    const struct {
        const char* name;
        std::function<void()> steps;
        const char* line;  // nullptr: stderr stays empty
    } cases[] = {
        {"drawing before KV390_begin, told once",
         [] {
             KV390_circle(BLUE, 0, 0, 20);
             KV390_clear();
             KV390_line(RED, 0, 0, 5, 5, 1);
             open();
             KV390_circle(BLUE, 0, 0, 20);
             wait_kind();
         },
         DRAWING_BEFORE_BEGIN},
        {"drew and returned without waiting: a tool takes the unshown picture",
         [] {
             open();
             KV390_circle(BLUE, 0, 0, 20);
         },
         nullptr},
        {"ignored Ctrl+Q and got a second one",
         [] {
             open();
             for (int i = 0; i < 2; ++i) {
                 kv390::harness::press_ctrl_key('Q');
                 if (wait_kind() != KV390_QUIT) std::exit(3);
             }
         },
         nullptr},
        {"waited again after its window was closed",
         [] {
             open();
             kv390::harness::close_window(lib().graphics_window);
             for (int i = 0; i < 2; ++i) {
                 if (wait_kind() != KV390_QUIT) std::exit(3);
             }
         },
         nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ChildRun run = run_in_child(c.steps);
        EXPECT_EQ(run.exit_status, 0) << run.err;
        if (c.line == nullptr) {
            EXPECT_EQ(run.err, "");
            continue;
        }
        EXPECT_EQ(count_of(run.err, c.line), 1) << run.err;
        EXPECT_EQ(count_of(run.err, "\n"), 1) << "one line: " << run.err;
    }
}

}  // namespace
}  // namespace kv390::test
