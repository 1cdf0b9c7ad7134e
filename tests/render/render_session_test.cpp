// The render session inside the process: which pictures become frames, the
// last picture, chosen frames, and the request's text form.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "gif_test_support.h"
#include "harness_test.h"
#include "kv390.h"
#include "kv390/render.h"
#include "state.h"

namespace {

namespace fs = std::filesystem;
namespace render = kv390::render;

// The colour the test program fills its canvas with after each event, so
// that every picture tells which events came before it.
int colour_after(int ticks, int clicks) {
    return (2 + 3 * ticks + 7 * clicks) % KV390_COLOR_COUNT;
}

// Animates and repaints the whole canvas after every event until it quits.
void run_colour_program() {
    KV390_begin(nullptr, nullptr, "", 5);
    KV390_set_logging(0);
    KV390_clear();
    KV390_set_run_mode(KV390_RUN_ANIMATE);
    int ticks = 0, clicks = 0;
    for (;;) {
        int x = 0, y = 0;
        char key = 0;
        const int event = KV390_wait_event(&x, &y, &key);
        if (event == KV390_QUIT) break;
        if (event == KV390_PERIODIC) ++ticks;
        if (event == KV390_MOUSE) ++clicks;
        KV390_rectangle(colour_after(ticks, clicks), -400, 400, 400, -400, 0);
    }
    KV390_end();
}

std::vector<std::uint32_t> library_palette() {
    std::vector<std::uint32_t> colors;
    for (win::COLORREF c : kv390::palette_rgb) colors.push_back(win::pixel_of(c));
    return colors;
}

class RenderSessionTest : public kv390::test::HarnessTest {
  protected:
    void SetUp() override {
        HarnessTest::SetUp();
        kv390::reset_library_state();
        dir_ = kv390::test::fresh_temp_dir("render-session");
        previous_ = fs::current_path();
        fs::current_path(dir_);
    }
    void TearDown() override {
        if (render::active()) render::finish(nullptr, nullptr);
        kv390::reset_library_state();
        fs::current_path(previous_);
        fs::remove_all(dir_);
        HarnessTest::TearDown();
    }
    render::Request request() const {
        render::Request r;
        r.input = "at 0 menu " + std::to_string(kv390::IDM_PLAYBACK) + "\n";
        r.picture_path = (dir_ / "last.png").string();
        r.gif_path = (dir_ / "all.gif").string();
        r.frame_dir = (dir_ / "frames").string();
        r.palette = library_palette();
        return r;
    }
    fs::path dir_, previous_;
};

// Three ticks, a click, two ticks: five frames.  Each frame is the picture
// drawn for its tick (never the one before it), and the click's own picture
// is no frame.
TEST_F(RenderSessionTest, FramesAreThePicturesDrawnForEachPeriodicEvent) {
    std::ofstream("KV390.SCR") << "KV390_PERIODIC(3);\nKV390_MOUSE(0, 0);\nKV390_PERIODIC(2);\n";
    fs::create_directories(dir_ / "frames");
    render::Request r = request();
    r.frames = {4, 1};
    std::string error;
    ASSERT_TRUE(render::start(r, &error)) << error;
    run_colour_program();
    render::Result result;
    ASSERT_TRUE(render::finish(&result, &error)) << error;
    EXPECT_EQ(result.frame_count, 5);
    EXPECT_TRUE(result.warnings.empty());

    render_test::GifPtr gif = render_test::slurp_gif(r.gif_path);
    ASSERT_TRUE(gif);
    ASSERT_EQ(gif->ImageCount, 5);
    EXPECT_EQ(gif->SWidth, 595);
    EXPECT_EQ(gif->SHeight, 497);
    const int expected[5] = {colour_after(1, 0), colour_after(2, 0), colour_after(3, 0),
                             colour_after(4, 1), colour_after(5, 1)};
    for (int i = 0; i < 5; ++i) {
        const SavedImage& image = gif->SavedImages[i];
        ASSERT_GT(image.ImageDesc.Width * image.ImageDesc.Height, 0);
        EXPECT_EQ(image.RasterBits[0], expected[i]) << "frame " << i + 1;
    }

    win::Image picture;
    ASSERT_TRUE(kv390::harness::load_png(r.picture_path, &picture, &error)) << error;
    EXPECT_EQ(picture.at(297, 248), win::pixel_of(kv390::palette_rgb[expected[4]]));
    ASSERT_TRUE(kv390::harness::load_png((dir_ / "frames/frame-0004.png").string(), &picture));
    EXPECT_EQ(picture.at(10, 10), win::pixel_of(kv390::palette_rgb[expected[3]]));
    EXPECT_TRUE(fs::exists(dir_ / "frames/frame-0001.png"));
    EXPECT_FALSE(fs::exists(dir_ / "frames/frame-0002.png"));
}

// Without ticks the GIF still holds one image: the last picture.
TEST_F(RenderSessionTest, RunWithoutTicksGivesOneFrameOfTheLastPicture) {
    std::ofstream("KV390.SCR") << "KV390_MOUSE(5, 5);\n";
    std::string error;
    ASSERT_TRUE(render::start(request(), &error)) << error;
    run_colour_program();
    render::Result result;
    ASSERT_TRUE(render::finish(&result, &error)) << error;
    EXPECT_EQ(result.frame_count, 0);
    render_test::GifPtr gif = render_test::slurp_gif(request().gif_path);
    ASSERT_TRUE(gif);
    ASSERT_EQ(gif->ImageCount, 1);
    EXPECT_EQ(gif->SavedImages[0].RasterBits[0], colour_after(0, 1));
}

TEST_F(RenderSessionTest, StartRefusesUnusableRequests) {
    std::string error;
    render::Request r = request();
    r.gif_path = (dir_ / "no/such/dir/x.gif").string();
    EXPECT_FALSE(render::start(r, &error));
    EXPECT_NE(error.find("cannot create the GIF file"), std::string::npos) << error;
    r = request();
    r.palette.clear();
    EXPECT_FALSE(render::start(r, &error));
    r = request();
    r.input = "at soon menu 6\n";
    EXPECT_FALSE(render::start(r, &error));
    EXPECT_FALSE(render::active());
    EXPECT_FALSE(render::finish(nullptr, &error));
    ASSERT_TRUE(render::start(request(), &error)) << error;
    EXPECT_FALSE(render::start(request(), &error));
    EXPECT_NE(error.find("already running"), std::string::npos);
}

TEST(RenderRequestText, RoundTripsAndRejectsBadLines) {
    render::Request r;
    r.input = "at 0 menu 6\nat 10 click 1 2\n";
    r.idle_limit_ms = 25;
    r.picture_path = "/tmp/a b/last.png";
    r.gif_path = "/tmp/x.gif";
    r.frame_dir = "/tmp/frames";
    r.frames = {1, 50, 100};
    r.palette = {0x000000, 0xffffff, 0x99ffff};
    render::Request back;
    std::string error;
    ASSERT_TRUE(render::parse_request(render::format_request(r), &back, &error)) << error;
    EXPECT_EQ(back.input, r.input);
    EXPECT_EQ(back.idle_limit_ms, 25u);
    EXPECT_EQ(back.picture_path, r.picture_path);
    EXPECT_EQ(back.gif_path, r.gif_path);
    EXPECT_EQ(back.frame_dir, r.frame_dir);
    EXPECT_EQ(back.frames, r.frames);
    EXPECT_EQ(back.palette, r.palette);

    for (const char* bad : {"colour red\n", "frames 1 x\n", "frames 0\n", "palette 12345\n",
                            "idle-limit -1\n", "palette\n"}) {
        EXPECT_FALSE(render::parse_request(bad, &back, &error)) << bad;
        EXPECT_NE(error.find("line 1"), std::string::npos);
    }
    EXPECT_EQ(render::frame_file_name(42), "frame-0042.png");
}

}  // namespace
