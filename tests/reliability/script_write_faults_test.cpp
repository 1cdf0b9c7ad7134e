// Recording when the script file cannot be created or the disk fills up:
// each fault is reported, the program goes on handing out events, and every
// event recorded before the fault is in the file.
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <string>

#include "script_fault_fixture.h"

namespace kv390::test {
namespace {

constexpr const char* CANNOT_OPEN = "Cannot open script file KV390.SCR for writing";
constexpr const char* CANNOT_WRITE =
    "Cannot write to script file KV390.SCR; the recording is incomplete";

// Clicks at (i, -i) for i in [first, last) and checks that each comes out.
void click_through(int first, int last) {
    for (int i = first; i < last; ++i) {
        click_at(i, -i);
        EXPECT_EQ(wait_event(), (Event{KV390_MOUSE, i, -i, 0}));
    }
}

std::string click_lines(int first, int last) {
    std::string lines;
    for (int i = first; i < last; ++i) {
        lines += "KV390_MOUSE(" + std::to_string(i) + ", " + std::to_string(-i) + ");\n";
    }
    return lines;
}

TEST_F(ScriptFaultTest, ScriptPathTakenByADirectoryLosesLinesUntilItIsGone) {
    std::filesystem::create_directory(SCRIPT_FILE_NAME);
    toggle_recording();
    click_through(0, 3);
    EXPECT_EQ(log_count(CANNOT_OPEN), 3) << "every lost line is reported";
    EXPECT_TRUE(lib().events.recording_on);
    std::filesystem::remove(SCRIPT_FILE_NAME);
    click_through(3, 5);
    toggle_recording();
    EXPECT_EQ(file_content(SCRIPT_FILE_NAME), click_lines(3, 5));
    expect_round_trip_works();
}

TEST_F(ScriptFaultTest, ReadOnlyDirectoryIsReportedForEveryLostLine) {
    if (!act_as_unprivileged_owner()) GTEST_SKIP() << "cannot leave the root identity";
    std::filesystem::permissions(
        directory(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    toggle_recording();
    click_through(0, 2);
    EXPECT_EQ(log_count(CANNOT_OPEN), 2);
    EXPECT_FALSE(std::filesystem::exists(SCRIPT_FILE_NAME));
    std::filesystem::permissions(directory(), std::filesystem::perms::owner_all);
    click_through(2, 3);
    toggle_recording();
    EXPECT_EQ(file_content(SCRIPT_FILE_NAME), click_lines(2, 3));
}

TEST_F(ScriptFaultTest, FullDiskFromTheStartIsReportedOnceAndRecordingGoesOn) {
    std::filesystem::create_symlink("/dev/full", SCRIPT_FILE_NAME);
    KV390_set_run_mode(KV390_RUN_ANIMATE);
    toggle_recording();
    EXPECT_EQ(wait_event().kind, KV390_PERIODIC);
    click_through(0, 3);
    EXPECT_EQ(log_count(CANNOT_WRITE), 1);
    EXPECT_TRUE(lib().events.recording_on);
    toggle_recording();
    EXPECT_FALSE(lib().events.recording_on);
    EXPECT_EQ(lib().events.script_file, nullptr);
    KV390_set_run_mode(KV390_RUN_HALT);
    expect_round_trip_works();
}

// Limits the size of files this process writes; writes past it fail with
// EFBIG instead of raising SIGXFSZ.  Restores both on destruction.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previous_handler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        active_ = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_handler_);
    }
    bool active() const { return active_; }

  private:
    rlimit saved_{};
    void (*previous_handler_)(int) = SIG_DFL;
    bool active_ = false;
};

TEST_F(ScriptFaultTest, DiskFillingDuringARecordingKeepsEveryEarlierEvent) {
    const std::string before = click_lines(0, 5);
    std::string written;
    {
        // Room for the first five lines and half of the sixth.
        FileSizeLimit limit(before.size() + 8);
        ASSERT_TRUE(limit.active());
        toggle_recording();
        click_through(0, 10);
        EXPECT_EQ(log_count(CANNOT_WRITE), 1);
        EXPECT_TRUE(lib().events.recording_on);
        toggle_recording();
        written = file_content(SCRIPT_FILE_NAME);
    }
    ASSERT_GE(written.size(), before.size());
    EXPECT_EQ(written.substr(0, before.size()), before);
    EXPECT_LT(written.size(), before.size() + click_lines(5, 6).size()) << "the sixth is cut";
    // The cut recording plays back its complete lines and ends at the cut.
    start_playback();
    for (int i = 0; i < 5; ++i) EXPECT_EQ(wait_event(), (Event{KV390_MOUSE, i, -i, 0}));
    EXPECT_EQ(wait_or_live_click(), LIVE_CLICK);
    EXPECT_EQ(log_count("EOF encountered in script file KV390.SCR"), 1);
    expect_round_trip_works();
}

}  // namespace
}  // namespace kv390::test
