// Recording the event stream into the script file.
#include <cstdio>
#include <filesystem>

#include "events_fixture.h"

namespace kv390::test {
namespace {

using kv390::harness::press_ctrl_key;

void wait_for_periodic_events(int count) {
    for (int i = 0; i < count; ++i) ASSERT_EQ(wait_event().kind, KV390_PERIODIC) << i;
}

TEST_F(EventsTest, RecordingWritesTheFourLineExample) {
    KV390_set_run_mode(KV390_RUN_ANIMATE);
    press_ctrl_key('R');
    wait_for_periodic_events(12);
    click_at(-40, 75);
    EXPECT_EQ(wait_event(), (Event{KV390_MOUSE, -40, 75, 0}));
    kv390::harness::type_text("q");
    EXPECT_EQ(wait_event(), (Event{KV390_KBD, 0, 0, 'q'}));
    wait_for_periodic_events(3);
    EXPECT_EQ(read_script(), "KV390_PERIODIC(12);\nKV390_MOUSE(-40, 75);\nKV390_KBD(113);\n")
        << "the run of three ticks is still being counted";
    press_ctrl_key('Q');
    EXPECT_EQ(wait_event().kind, KV390_QUIT);
    EXPECT_EQ(read_script(),
              "KV390_PERIODIC(12);\nKV390_MOUSE(-40, 75);\nKV390_KBD(113);\nKV390_PERIODIC(3);\n");
}

TEST_F(EventsTest, RecordingOnAndOffWithoutEventsLeavesNoFile) {
    press_ctrl_key('R');
    press_ctrl_key('R');
    pump_queued_messages();
    EXPECT_FALSE(lib().events.recording_on);
    EXPECT_FALSE(script_exists());
}

TEST_F(EventsTest, RecordingOnAndOffKeepsAnExistingFile) {
    write_script("KV390_KBD(65);\n");
    press_ctrl_key('R');
    press_ctrl_key('R');
    pump_queued_messages();
    EXPECT_EQ(read_script(), "KV390_KBD(65);\n");
}

TEST_F(EventsTest, RecordingThenQuittingLeavesAnEmptyFile) {
    press_ctrl_key('R');
    press_ctrl_key('Q');
    EXPECT_EQ(wait_event().kind, KV390_QUIT);
    EXPECT_TRUE(script_exists());
    EXPECT_EQ(read_script(), "");
}

TEST_F(EventsTest, StoppingARecordingWritesTheCountedTicks) {
    KV390_set_run_mode(KV390_RUN_ANIMATE);
    press_ctrl_key('R');
    wait_for_periodic_events(4);
    press_ctrl_key('R');
    pump_queued_messages();
    EXPECT_EQ(read_script(), "KV390_PERIODIC(4);\n");
    EXPECT_EQ(lib().events.periodic_count, 0);
    EXPECT_EQ(lib().events.script_file, nullptr);
    press_ctrl_key('R');
    wait_for_periodic_events(2);
    press_ctrl_key('R');
    pump_queued_messages();
    EXPECT_EQ(read_script(), "KV390_PERIODIC(2);\n");
}

TEST_F(EventsTest, QuitModeRecordsTheUnderlyingEvent) {
    press_ctrl_key('R');
    KV390_set_run_mode(KV390_RUN_QUIT);
    click_at(5, -6);
    EXPECT_EQ(wait_event(), (Event{KV390_QUIT, 5, -6, 0}));
    EXPECT_EQ(read_script(), "KV390_MOUSE(5, -6);\n");
}

TEST_F(EventsTest, EveryLineReachesTheFileAsItIsRecorded) {
    press_ctrl_key('R');
    click_at(1, 1);
    wait_event();
    EXPECT_EQ(read_script(), "KV390_MOUSE(1, 1);\n");
    kv390::harness::type_text("k");
    wait_event();
    EXPECT_EQ(read_script(), "KV390_MOUSE(1, 1);\nKV390_KBD(107);\n");
}

TEST_F(EventsTest, KeysAbove127AreRecordedUnsigned) {
    press_ctrl_key('R');
    pump_queued_messages();
    win::post_message(graphics(), win::WM_CHAR, 200, 0);
    EXPECT_EQ(wait_event(), (Event{KV390_KBD, 0, 0, char(200)}));
    win::post_message(graphics(), win::WM_CHAR, 255, 0);
    EXPECT_EQ(wait_event(), (Event{KV390_KBD, 0, 0, char(255)}));
    EXPECT_EQ(read_script(), "KV390_KBD(200);\nKV390_KBD(255);\n");
}

TEST_F(EventsTest, UnopenableScriptFileLosesTheLineAndRetries) {
    std::filesystem::create_directory(SCRIPT_FILE_NAME);
    press_ctrl_key('R');
    click_at(1, 2);
    wait_event();
    click_at(3, 4);
    wait_event();
    EXPECT_EQ(log_count("Cannot open script file KV390.SCR for writing"), 2);
    EXPECT_TRUE(lib().events.recording_on);
    std::filesystem::remove(SCRIPT_FILE_NAME);
    click_at(5, 6);
    wait_event();
    EXPECT_EQ(read_script(), "KV390_MOUSE(5, 6);\n");
}

TEST_F(EventsTest, WriteErrorIsReportedOnceAndRecordingGoesOn) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full on this system";
    press_ctrl_key('R');
    click_at(1, 2);
    EXPECT_EQ(wait_event().kind, KV390_MOUSE);
    // The disk fills up: swap the open stream for one on which every write fails.
    EventState& events = lib().events;
    std::fclose(events.script_file);
    events.script_file = std::fopen("/dev/full", "w");
    ASSERT_NE(events.script_file, nullptr);
    for (int i = 0; i < 3; ++i) {
        click_at(i, i);
        EXPECT_EQ(wait_event(), (Event{KV390_MOUSE, i, i, 0}));
    }
    EXPECT_EQ(log_count("Cannot write to script file KV390.SCR"), 1);
    EXPECT_EQ(read_script(), "KV390_MOUSE(1, 2);\n");
    press_ctrl_key('R');
    pump_queued_messages();
    EXPECT_FALSE(events.recording_on);
}

TEST_F(EventsTest, RecordingIsRefusedWhilePlayingBack) {
    write_script("KV390_KBD(65);\nKV390_KBD(66);\n");
    press_ctrl_key('P');
    press_ctrl_key('R');
    pump_queued_messages();
    EXPECT_FALSE(lib().events.recording_on);
    EXPECT_FALSE(is_checked(IDM_RECORD));
    EXPECT_EQ(log_count("Cannot record while a script plays back"), 1);
    EXPECT_EQ(read_script(), "KV390_KBD(65);\nKV390_KBD(66);\n");
}

TEST_F(EventsTest, PlaybackIsRefusedWhileRecording) {
    write_script("KV390_KBD(65);\n");
    press_ctrl_key('R');
    press_ctrl_key('P');
    press_ctrl_key('O');
    pump_queued_messages();
    EXPECT_FALSE(lib().events.playback_on);
    EXPECT_FALSE(lib().events.play_one_requested);
    EXPECT_FALSE(is_checked(IDM_PLAYBACK));
    EXPECT_EQ(log_count("Cannot play back while a script is being recorded"), 2);
    click_at(0, 0);
    EXPECT_EQ(wait_event().kind, KV390_MOUSE) << "live input, not the script";
}

TEST_F(EventsTest, RecordingAfterPlayOneWritesAFreshFileFromZero) {
    write_script("KV390_PERIODIC(5);\n");
    press_ctrl_key('O');
    EXPECT_EQ(wait_event().kind, KV390_PERIODIC);  // four more are owed
    KV390_set_run_mode(KV390_RUN_ANIMATE);
    press_ctrl_key('R');
    wait_for_periodic_events(2);
    press_ctrl_key('R');
    pump_queued_messages();
    EXPECT_EQ(read_script(), "KV390_PERIODIC(2);\n");
}

}  // namespace
}  // namespace kv390::test
