// Playing the script file back, continuously and one event at a time.
#include <climits>
#include <cstdio>
#include <filesystem>

#include "events_fixture.h"

namespace kv390::test {
namespace {

using kv390::harness::press_ctrl_key;

constexpr Event PERIODIC{KV390_PERIODIC, 0, 0, 0};
constexpr Event LATE_CLICK{KV390_MOUSE, 11, 22, 0};

Event play_one() {
    press_ctrl_key('O');
    return wait_event();
}

// A wait with no script event left ends with a live click that comes later.
Event wait_for_live_click() {
    click_later(500, LATE_CLICK.x, LATE_CLICK.y);
    return wait_event();
}

Event play_one_or_live_click() {
    press_ctrl_key('O');
    return wait_for_live_click();
}

TEST_F(EventsTest, PlayOneWalksThroughAPeriodicRunAndAClick) {
    write_script("KV390_PERIODIC(2);\nKV390_MOUSE(1, 2);\n");
    EXPECT_EQ(play_one(), PERIODIC);
    EXPECT_EQ(play_one(), PERIODIC);
    EXPECT_EQ(play_one(), (Event{KV390_MOUSE, 1, 2, 0}));
    EXPECT_EQ(play_one_or_live_click(), LATE_CLICK);
    EXPECT_EQ(log_count("EOF encountered in script file KV390.SCR"), 1);
    EXPECT_FALSE(lib().events.play_one_requested);
}

TEST_F(EventsTest, PlaybackIsNotPacedByTheTimer) {
    write_script("KV390_PERIODIC(3);\nKV390_KBD(120);\n");
    press_ctrl_key('P');
    const std::uint64_t start = kv390::harness::now();
    EXPECT_EQ(wait_event(), PERIODIC);
    EXPECT_EQ(wait_event(), PERIODIC);
    EXPECT_EQ(wait_event(), PERIODIC);
    EXPECT_EQ(wait_event(), (Event{KV390_KBD, 0, 0, 'x'}));
    EXPECT_EQ(kv390::harness::now(), start);
    EXPECT_EQ(wait_for_live_click(), LATE_CLICK);
    EXPECT_FALSE(lib().events.playback_on);
    EXPECT_FALSE(is_checked(IDM_PLAYBACK));
}

TEST_F(EventsTest, PlaybackTurnsAnimationAndStepsOff) {
    write_script("KV390_KBD(65);\n");
    KV390_set_run_mode(KV390_RUN_ANIMATE);
    KV390_set_run_mode(KV390_RUN_STEP);
    press_ctrl_key('P');
    pump_queued_messages();
    EXPECT_FALSE(lib().events.animate_on);
    EXPECT_FALSE(lib().events.step_requested);
}

TEST_F(EventsTest, PeriodicCountZeroPlaysAsOneEvent) {
    write_script("KV390_PERIODIC(0);\n");
    EXPECT_EQ(play_one(), PERIODIC);
    EXPECT_EQ(lib().events.periodic_count, 0);
    EXPECT_EQ(play_one_or_live_click(), LATE_CLICK);
    EXPECT_EQ(log_count("EOF encountered"), 1);
}

TEST_F(EventsTest, SignsInMouseAndKeyLines) {
    write_script("KV390_MOUSE(-5,-7);\nKV390_KBD(-65);\n");
    EXPECT_EQ(play_one(), (Event{KV390_MOUSE, -5, -7, 0}));
    EXPECT_EQ(play_one(), (Event{KV390_KBD, 0, 0, 65}));
}

TEST_F(EventsTest, EmptyLinesAreSkippedAndABlankPrefixStopsPlayback) {
    write_script("\n\nKV390_KBD(120);\n\n KV390_KBD(121);\nKV390_KBD(122);\n");
    press_ctrl_key('P');
    EXPECT_EQ(wait_event(), (Event{KV390_KBD, 0, 0, 'x'}));
    EXPECT_EQ(wait_for_live_click(), LATE_CLICK);
    EXPECT_FALSE(lib().events.playback_on);
    EXPECT_EQ(log_count("script file"), 0) << "an unknown line ends playback silently";
    EXPECT_EQ(play_one(), (Event{KV390_KBD, 0, 0, 'z'})) << "the file stays open after that line";
}

TEST_F(EventsTest, MissingScriptFileEndsPlaybackAtOnce) {
    press_ctrl_key('P');
    EXPECT_EQ(wait_for_live_click(), LATE_CLICK);
    EXPECT_EQ(log_count("Cannot open script file KV390.SCR for reading"), 1);
    EXPECT_FALSE(lib().events.playback_on);
    EXPECT_FALSE(is_checked(IDM_PLAYBACK));
    EXPECT_EQ(lib().events.script_file, nullptr);
}

TEST_F(EventsTest, LastLineWithoutNewlineIsNotPlayed) {
    write_script("KV390_KBD(97);\nKV390_KBD(98);");
    EXPECT_EQ(play_one(), (Event{KV390_KBD, 0, 0, 'a'}));
    EXPECT_EQ(play_one_or_live_click(), LATE_CLICK);
    EXPECT_EQ(log_count("EOF encountered in script file KV390.SCR"), 1);
}

TEST_F(EventsTest, EmptyFileReportsTheEnd) {
    write_script("\n\n");
    EXPECT_EQ(play_one_or_live_click(), LATE_CLICK);
    EXPECT_EQ(log_count("EOF encountered"), 1);
}

TEST_F(EventsTest, AfterTheEndEveryRequestReportsItAgain) {
    write_script("KV390_KBD(97);\n");
    press_ctrl_key('P');
    EXPECT_EQ(wait_event().key, 'a');
    EXPECT_EQ(wait_for_live_click(), LATE_CLICK);
    EXPECT_EQ(play_one_or_live_click(), LATE_CLICK);
    EXPECT_EQ(log_count("EOF encountered"), 2);
}

TEST_F(EventsTest, StoppingPlaybackRewindsTheScript) {
    write_script("KV390_KBD(97);\nKV390_KBD(98);\n");
    press_ctrl_key('P');
    EXPECT_EQ(wait_event().key, 'a');
    // Stopped outside a wait: inside one, every pass before the command
    // arrives would deliver the next script event.
    press_ctrl_key('P');
    pump_queued_messages();
    EXPECT_FALSE(lib().events.playback_on);
    EXPECT_EQ(lib().events.script_file, nullptr);
    press_ctrl_key('P');
    EXPECT_EQ(wait_event().key, 'a');
}

TEST_F(EventsTest, StoppingPlaybackInsideAPeriodicRunResetsTheCount) {
    write_script("KV390_PERIODIC(5);\nKV390_KBD(98);\n");
    press_ctrl_key('P');
    EXPECT_EQ(wait_event(), PERIODIC);
    EXPECT_EQ(wait_event(), PERIODIC);
    press_ctrl_key('P');
    pump_queued_messages();
    EXPECT_FALSE(lib().events.playback_on);
    EXPECT_EQ(lib().events.periodic_count, 0);
    KV390_set_run_mode(KV390_RUN_ANIMATE);
    press_ctrl_key('R');
    EXPECT_EQ(wait_event(), PERIODIC);
    press_ctrl_key('R');
    pump_queued_messages();
    EXPECT_EQ(read_script(), "KV390_PERIODIC(1);\n");
}

TEST_F(EventsTest, ScriptEventReplacesALiveOneOfTheSamePass) {
    write_script("KV390_KBD(66);\n");
    ASSERT_TRUE(kv390::harness::choose_menu_command(graphics(), IDM_PLAYBACK));
    pump_queued_messages();
    click_at(0, 0);
    EXPECT_EQ(wait_event(), (Event{KV390_KBD, 0, 0, 'B'}));
}

TEST_F(EventsTest, QuitIsNeverReplacedByAScriptEvent) {
    write_script("KV390_KBD(66);\nKV390_KBD(67);\n");
    press_ctrl_key('P');
    pump_queued_messages();
    win::post_quit_message(0);
    EXPECT_EQ(wait_event().kind, KV390_QUIT);
}

TEST_F(EventsTest, OverlongAndNumberlessLinesStayInsideTheirBuffers) {
    const std::string long_number(600, '7');
    write_script(
        "KV390_MOUSE(123456789012345678, 5);\nKV390_MOUSE(-99999999999,-3);\nKV390_KBD();\n"
        "KV390_MOUSE(\nKV390_P\nKV390_MOUSE(" +
        long_number + ");\nKV390_KBD(300);\n");
    EXPECT_EQ(play_one(), (Event{KV390_MOUSE, INT_MAX, 5, 0}));
    EXPECT_EQ(play_one(), (Event{KV390_MOUSE, INT_MIN, -3, 0}));
    EXPECT_EQ(play_one(), (Event{KV390_KBD, 0, 0, 0}));
    EXPECT_EQ(play_one(), (Event{KV390_MOUSE, 0, 0, 0}));
    EXPECT_EQ(play_one(), PERIODIC);
    EXPECT_EQ(play_one(), (Event{KV390_MOUSE, INT_MAX, 0, 0})) << "first 511 characters";
    // The rest of the 600-digit line arrives as a piece of its own, which is no
    // script line.
    EXPECT_EQ(play_one_or_live_click(), LATE_CLICK);
    EXPECT_EQ(play_one(), (Event{KV390_KBD, 0, 0, char(300 & 0xFF)}));
}

TEST_F(EventsTest, ShortLineIsNeverReadFromAStaleBuffer) {
    write_script("KV390_MOUSE(1, 2);\nKV\nKV390_KBD(65);\n");
    EXPECT_EQ(play_one(), (Event{KV390_MOUSE, 1, 2, 0}));
    EXPECT_EQ(play_one_or_live_click(), LATE_CLICK);
    EXPECT_EQ(play_one(), (Event{KV390_KBD, 0, 0, 'A'}));
}

TEST_F(EventsTest, FailedReadEndsPlaybackLikeTheEnd) {
    std::filesystem::create_directory(SCRIPT_FILE_NAME);  // opens, but cannot be read
    std::FILE* probe = std::fopen(SCRIPT_FILE_NAME, "rt");
    if (probe == nullptr) GTEST_SKIP() << "a folder cannot be opened as a file on this system";
    std::fclose(probe);
    press_ctrl_key('P');
    EXPECT_EQ(wait_for_live_click(), LATE_CLICK);
    EXPECT_EQ(log_count("Cannot read script file KV390.SCR"), 1);
    EXPECT_FALSE(lib().events.playback_on);
    EXPECT_FALSE(is_checked(IDM_PLAYBACK));
}

TEST_F(EventsTest, KeysAbove127ComeBackUnchanged) {
    write_script("KV390_KBD(200);\nKV390_KBD(-56);\n");
    EXPECT_EQ(play_one(), (Event{KV390_KBD, 0, 0, char(200)}));
    EXPECT_EQ(play_one(), (Event{KV390_KBD, 0, 0, char(56)})) << "old signed form";
}

TEST_F(EventsTest, RecordedSessionPlaysBackAsTheSameEvents) {
    KV390_set_run_mode(KV390_RUN_ANIMATE);
    press_ctrl_key('R');
    std::vector<Event> recorded;
    auto take = [&recorded] { recorded.push_back(wait_event()); };
    take();
    take();
    take();
    click_at(-40, 75);
    take();
    take();
    kv390::harness::type_text("x");
    take();
    kv390::harness::type_text("7");
    take();
    click_at(100, -120);
    take();
    take();
    take();
    press_ctrl_key('R');
    pump_queued_messages();
    ASSERT_EQ(recorded.size(), 10u);
    EXPECT_EQ(read_script(),
              "KV390_PERIODIC(3);\nKV390_MOUSE(-40, 75);\nKV390_PERIODIC(1);\nKV390_KBD(120);\n"
              "KV390_KBD(55);\nKV390_MOUSE(100, -120);\nKV390_PERIODIC(2);\n");

    press_ctrl_key('P');
    std::vector<Event> played;
    for (std::size_t i = 0; i < recorded.size(); ++i) played.push_back(wait_event());
    EXPECT_EQ(played, recorded);
    EXPECT_EQ(wait_for_live_click(), LATE_CLICK) << "nothing more in the script";
}

}  // namespace
}  // namespace kv390::test
