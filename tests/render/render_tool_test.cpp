// Whole runs of kv390-render: repeatable output, the seed, GIF frames as an
// independent decoder (ImageMagick) sees them, --program, and the errors.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "gif_test_support.h"
#include "harness_test.h"
#include "state.h"
#include "tool_run.h"

namespace {

namespace fs = std::filesystem;

constexpr int CLIENT_WIDTH = 595;
constexpr int CLIENT_HEIGHT = 497;
constexpr int PALETTE_SIZE = 24;

// Rain and a battery that lands and becomes a rabbit: 60 ticks.
constexpr const char* SHORT_SCRIPT =
    "KV390_PERIODIC(3);\n"
    "KV390_MOUSE(-260, 235);\n"
    "KV390_MOUSE(-260, 55);\n"
    "KV390_MOUSE(0, 200);\n"
    "KV390_MOUSE(100, 150);\n"
    "KV390_MOUSE(-260, 115);\n"
    "KV390_MOUSE(50, 60);\n"
    "KV390_PERIODIC(57);\n";
constexpr int SHORT_SCRIPT_TICKS = 60;

using kv390::test::quoted;
using kv390::test::read_file;
using kv390::test::run_command;
using kv390::test::ToolRun;

class RenderToolTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = kv390::test::fresh_temp_dir(
            std::string("render-tool-") +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        script_ = dir_ / "short.scr";
        std::ofstream(script_) << SHORT_SCRIPT;
    }
    void TearDown() override { fs::remove_all(dir_); }

    ToolRun render(const std::vector<std::string>& args) {
        std::string command = quoted(KV390_RENDER_TOOL);
        for (const std::string& a : args) command.append(" ").append(quoted(a));
        return run_command(command, dir_ / "log.txt");
    }
    std::string path(const std::string& name) const { return (dir_ / name).string(); }

    fs::path dir_;
    fs::path script_;
};

int count_ticks(const std::string& script) {
    std::istringstream lines(script);
    int ticks = 0;
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("KV390_PERIODIC(", 0) == 0) ticks += std::atoi(line.c_str() + 15);
    }
    return ticks;
}

TEST_F(RenderToolTest, SameScriptAndSeedGiveIdenticalFilesAndAnotherSeedAnotherPicture) {
    for (const char* run : {"a", "b"}) {
        ToolRun r =
            render({"--script", script_.string(), "--seed", "7", "--out",
                    path(std::string(run) + ".png"), "--gif", path(std::string(run) + ".gif")});
        ASSERT_EQ(r.status, 0) << r.output;
    }
    EXPECT_FALSE(read_file(path("a.png")).empty());
    EXPECT_EQ(read_file(path("a.png")), read_file(path("b.png")));
    EXPECT_EQ(read_file(path("a.gif")), read_file(path("b.gif")));

    ToolRun other = render({"--script", script_.string(), "--seed", "8", "--out", path("c.png")});
    ASSERT_EQ(other.status, 0) << other.output;
    EXPECT_NE(read_file(path("a.png")), read_file(path("c.png")));
}

TEST_F(RenderToolTest, GifHasOneFrameAPeriodicEventAtTheClientSizeInPaletteColours) {
    ToolRun r = render({"--script", script_.string(), "--gif", path("x.gif"), "--frames", "1,30,60",
                        "--frame-dir", path("frames"), "--out", path("last.png")});
    ASSERT_EQ(r.status, 0) << r.output;

    ToolRun frames =
        run_command("identify -format '%W %H\\n' " + quoted(path("x.gif")), dir_ / "identify.txt");
    ASSERT_EQ(frames.status, 0) << frames.output;
    std::istringstream sizes(frames.output);
    int count = 0, width = 0, height = 0;
    while (sizes >> width >> height) {
        ++count;
        EXPECT_EQ(width, CLIENT_WIDTH);
        EXPECT_EQ(height, CLIENT_HEIGHT);
    }
    EXPECT_EQ(count, SHORT_SCRIPT_TICKS);

    render_test::GifPtr gif = render_test::slurp_gif(path("x.gif"));
    ASSERT_TRUE(gif);
    ASSERT_EQ(gif->ImageCount, SHORT_SCRIPT_TICKS);
    // Every stored pixel is a palette colour, or, over the kept frame, the
    // frame's transparent entry for an unchanged pixel.
    for (int i = 0; i < gif->ImageCount; ++i) {
        GraphicsControlBlock control;
        ASSERT_EQ(DGifSavedExtensionToGCB(gif.get(), i, &control), GIF_OK);
        const int transparent = i == 0 ? -1 : control.TransparentColor;
        const SavedImage& image = gif->SavedImages[i];
        const long pixels = long(image.ImageDesc.Width) * image.ImageDesc.Height;
        for (long p = 0; p < pixels; ++p) {
            const int index = image.RasterBits[p];
            ASSERT_TRUE(index < PALETTE_SIZE || index == transparent) << i << ": " << index;
        }
    }
    for (int c = 0; c < PALETTE_SIZE; ++c) {
        const GifColorType& entry = gif->SColorMap->Colors[c];
        EXPECT_EQ((std::uint32_t(entry.Red) << 16) | (entry.Green << 8) | entry.Blue,
                  win::pixel_of(kv390::palette_rgb[c]));
    }
    // Frames stored as changed rectangles put together again show exactly the
    // chosen frames, and the last frame is the last picture.
    ToolRun split = run_command(
        "convert " + quoted(path("x.gif")) + " -coalesce " + quoted(path("coalesced-%d.png")),
        dir_ / "convert.txt");
    ASSERT_EQ(split.status, 0) << split.output;
    for (int frame : {1, 30, 60}) {
        char name[32];
        std::snprintf(name, sizeof name, "frames/frame-%04d.png", frame);
        ToolRun same =
            run_command("compare -metric AE " +
                            quoted(path("coalesced-" + std::to_string(frame - 1) + ".png")) + " " +
                            quoted(path(name)) + " null:",
                        dir_ / "compare.txt");
        EXPECT_EQ(same.status, 0) << frame << ": " << same.output;
        EXPECT_EQ(same.output, "0") << frame;
    }
    EXPECT_EQ(read_file(path("frames/frame-0060.png")), read_file(path("last.png")));

    ToolRun colours = run_command("convert " + quoted(path("coalesced-45.png")) +
                                      " -unique-colors -depth 8 txt:- | grep -o '#[0-9A-F]\\{6\\}'",
                                  dir_ / "colours.txt");
    ASSERT_EQ(colours.status, 0) << colours.output;
    std::set<std::uint32_t> palette;
    for (win::COLORREF c : kv390::palette_rgb) palette.insert(win::pixel_of(c));
    std::istringstream seen(colours.output);
    int distinct = 0;
    for (std::string hex; seen >> hex; ++distinct) {
        EXPECT_TRUE(palette.count(std::uint32_t(std::stoul(hex.substr(1), nullptr, 16)))) << hex;
    }
    EXPECT_GE(distinct, 8);
}

TEST_F(RenderToolTest, DemoScriptPlaysEveryTick) {
    const fs::path demo = kv390::test::source_dir() / "scripts/demo.scr";
    ToolRun r = render({"--script", demo.string(), "--seed", "1997", "--gif", path("demo.gif")});
    ASSERT_EQ(r.status, 0) << r.output;
    render_test::GifPtr gif = render_test::slurp_gif(path("demo.gif"));
    ASSERT_TRUE(gif);
    EXPECT_EQ(gif->ImageCount, count_ticks(read_file(demo)));
    EXPECT_GE(gif->ImageCount, 250);
}

TEST_F(RenderToolTest, AnotherProgramRendersTheSamePicturesItself) {
    ToolRun here = render({"--script", script_.string(), "--seed", "5", "--out", path("here.png"),
                           "--gif", path("here.gif")});
    ToolRun there = render({"--script", script_.string(), "--seed", "5", "--out", path("there.png"),
                            "--gif", path("there.gif"), "--program", KV390_WEATHER_HEADLESS});
    ASSERT_EQ(here.status, 0) << here.output;
    ASSERT_EQ(there.status, 0) << there.output;
    EXPECT_EQ(read_file(path("here.png")), read_file(path("there.png")));
    EXPECT_EQ(read_file(path("here.gif")), read_file(path("there.gif")));
}

TEST_F(RenderToolTest, ErrorsAreOneLineWithStatusTwo) {
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    const std::vector<Case> cases = {
        {{"--script", path("missing.scr"), "--out", path("o.png")}, "cannot read script"},
        {{"--script", dir_.string(), "--out", path("o.png")}, "cannot read script"},
        {{"--script", script_.string(), "--out", path("o.png"), "--colour", "red"},
         "unknown option --colour"},
        {{"--script", script_.string(), "--seed", "-3", "--out", path("o.png")}, "--seed"},
        {{"--script", script_.string(), "--frames", "0,5", "--frame-dir", path("f")}, "--frames"},
        {{"--script", script_.string(), "--out"}, "--out needs a value"},
        {{"--script", script_.string(), "--timeout", "0"}, "--timeout needs whole seconds"},
        {{"--script", script_.string(), "--out", path("no/such/dir/o.png")}, "cannot write"},
        {{"--script", script_.string(), "--gif", dir_.string()}, "cannot write"},
        {{"--script", script_.string(), "--out", path("o.png"), "--program", path("none")},
         "cannot run"},
    };
    for (const Case& c : cases) {
        ToolRun r = render(c.args);
        EXPECT_EQ(r.status, 2) << c.message;
        EXPECT_NE(r.output.find("kv390-render: "), std::string::npos) << r.output;
        EXPECT_NE(r.output.find(c.message), std::string::npos) << r.output;
        EXPECT_EQ(std::count(r.output.begin(), r.output.end(), '\n'), 1) << r.output;
    }
    EXPECT_FALSE(fs::exists(path("o.png")));
}

TEST_F(RenderToolTest, HelpAndUnreachedFrames) {
    ToolRun help = render({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.output.find("Usage: kv390-render [options]"), std::string::npos);

    ToolRun r =
        render({"--script", script_.string(), "--frames", "2,500", "--frame-dir", path("f")});
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_TRUE(fs::exists(path("f/frame-0002.png")));
    EXPECT_NE(r.output.find("frame 500 was not reached (the run had 60 frames)"), std::string::npos)
        << r.output;
}

}  // namespace
