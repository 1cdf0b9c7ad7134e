// Playing back a script file that cannot be read or holds what no recording
// writes: each case ends or goes on as the player's rules say, no event is
// made up, and the program keeps handing out live events.
#include <climits>
#include <cstdint>
#include <filesystem>
#include <random>
#include <string>

#include "script_fault_fixture.h"

namespace kv390::test {
namespace {

constexpr Event PERIODIC{KV390_PERIODIC, 0, 0, 0};

bool is_event_kind(int kind) {
    return kind == KV390_MOUSE || kind == KV390_KBD || kind == KV390_PERIODIC;
}

TEST_F(ScriptFaultTest, DirectoryAsScriptCannotBeReadAndPlaybackEnds) {
    std::filesystem::create_directory(SCRIPT_FILE_NAME);
    start_playback();
    EXPECT_EQ(wait_or_live_click(), LIVE_CLICK);
    EXPECT_EQ(log_count("Cannot read script file KV390.SCR; playback ends"), 1);
    EXPECT_FALSE(lib().events.playback_on);
    EXPECT_EQ(play_one(), LIVE_CLICK);
    EXPECT_FALSE(lib().events.play_one_requested);
    std::filesystem::remove(SCRIPT_FILE_NAME);
    expect_round_trip_works();
}

TEST_F(ScriptFaultTest, UnreadableScriptCannotBeOpened) {
    if (!act_as_unprivileged_owner()) GTEST_SKIP() << "cannot leave the root identity";
    write_file(SCRIPT_FILE_NAME, "KV390_KBD(65);\n");
    std::filesystem::permissions(SCRIPT_FILE_NAME, std::filesystem::perms::none);
    start_playback();
    EXPECT_EQ(wait_or_live_click(), LIVE_CLICK);
    EXPECT_EQ(log_count("Cannot open script file KV390.SCR for reading"), 1);
    EXPECT_EQ(lib().events.script_file, nullptr);
    std::filesystem::permissions(SCRIPT_FILE_NAME, std::filesystem::perms::owner_read);
    EXPECT_EQ(play_one(), (Event{KV390_KBD, 0, 0, 'A'}));
}

TEST_F(ScriptFaultTest, MegabyteLineArrivesInPiecesThatAreNoScriptLines) {
    const std::string tail(1 << 20, 'x');
    write_file(SCRIPT_FILE_NAME, "KV390_MOUSE(1, 2);" + tail + "\nKV390_KBD(65);\n");
    start_playback();
    EXPECT_EQ(wait_event(), (Event{KV390_MOUSE, 1, 2, 0})) << "the first 511 characters";
    EXPECT_EQ(wait_or_live_click(), LIVE_CLICK) << "the next piece stops the playback";
    EXPECT_FALSE(lib().events.playback_on);
    EXPECT_EQ(log_count("script file"), 0) << "an unknown line ends playback silently";
    // Every further request consumes one piece: the rest of the line after its
    // first 511 characters, with its newline.
    const int pieces = int((tail.size() - (511 - 18) + 1 + 510) / 511);
    int requests = 0;
    Event event;
    do {
        event = play_one();
        ++requests;
    } while (event == LIVE_CLICK && requests < 3000);
    EXPECT_EQ(event, (Event{KV390_KBD, 0, 0, 'A'}));
    EXPECT_EQ(requests, pieces);
}

TEST_F(ScriptFaultTest, LineOfSixHundredDigitsIsNoScriptLine) {
    write_file(SCRIPT_FILE_NAME, std::string(600, '9') + "\nKV390_KBD(66);\n");
    EXPECT_EQ(play_one(), LIVE_CLICK) << "first piece: 511 digits";
    EXPECT_EQ(play_one(), LIVE_CLICK) << "second piece: the other 89";
    EXPECT_EQ(play_one(), (Event{KV390_KBD, 0, 0, 'B'}));
    EXPECT_EQ(log_count("script file"), 0);
}

TEST_F(ScriptFaultTest, SixHundredDigitCountsAreCutToElevenCharacters) {
    const std::string digits(600, '9');
    write_file(SCRIPT_FILE_NAME, "KV390_KBD(" + digits + ");\nKV390_PERIODIC(" + digits + ");\n");
    // 99999999999 is 0x174876E7FF; the key takes its low 8 bits after the
    // value is held to the int range.
    EXPECT_EQ(play_one(), (Event{KV390_KBD, 0, 0, char(INT_MAX & 0xFF)}));
    EXPECT_EQ(play_one(), LIVE_CLICK) << "the rest of the key line";
    EXPECT_EQ(play_one(), PERIODIC);
    EXPECT_EQ(lib().events.periodic_count, INT_MAX - 1) << "held to the int range";
    // The user stops the endless run; the count does not leak into a recording.
    start_playback();
    EXPECT_EQ(wait_event(), PERIODIC);
    start_playback();
    while (pump_one_message()) {
    }
    EXPECT_FALSE(lib().events.playback_on);
    EXPECT_EQ(lib().events.periodic_count, 0);
    expect_round_trip_works();
}

TEST_F(ScriptFaultTest, BinaryGarbagePlaysOnlyWellFormedEvents) {
    std::mt19937 random(390);
    std::string garbage(64 * 1024, '\0');
    // No "P": a periodic form letter could stand for billions of events.
    for (char& c : garbage) {
        c = char(random() & 0xFF);
        if (c == 'P') c = 'Q';
    }
    // Prefixes here and there, so that some lines are read as events.
    for (std::size_t at = 0; at + 40 < garbage.size(); at += 997) {
        garbage.replace(at, 11, at % 2 ? "\nKV390_MOUS" : "\nKV390_KBD(");
    }
    write_file(SCRIPT_FILE_NAME, garbage);
    int delivered = 0;
    for (int request = 0; request < 5000; ++request) {
        const Event event = play_one();
        ASSERT_TRUE(is_event_kind(event.kind));
        if (!(event == LIVE_CLICK)) ++delivered;
        if (log_count("EOF encountered") > 0) break;
    }
    EXPECT_EQ(log_count("EOF encountered in script file KV390.SCR"), 1) << "all of it read";
    EXPECT_GT(delivered, 0);
    expect_round_trip_works();
}

TEST_F(ScriptFaultTest, NulInsideALineEndsTheLineForTheReader) {
    using namespace std::string_literals;
    write_file(SCRIPT_FILE_NAME, "KV390_M\0OUSE(5, 6);\nKV390_\0KBD(7);\nKV390_KBD(67);\n"s);
    EXPECT_EQ(play_one(), (Event{KV390_MOUSE, 0, 0, 0})) << "no numbers before the NUL";
    EXPECT_EQ(play_one(), LIVE_CLICK) << "no form letter before the NUL";
    EXPECT_EQ(play_one(), (Event{KV390_KBD, 0, 0, 'C'}));
}

TEST_F(ScriptFaultTest, EndlessStreamOfNulsIsReadOnePieceARequest) {
    std::filesystem::create_symlink("/dev/zero", SCRIPT_FILE_NAME);
    start_playback();
    EXPECT_EQ(wait_or_live_click(), LIVE_CLICK);
    EXPECT_FALSE(lib().events.playback_on);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(play_one(), LIVE_CLICK);
    EXPECT_EQ(log_count("script file"), 0);
}

}  // namespace
}  // namespace kv390::test
