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
#include "kv390/run_protocol.h"
#include "run_client/run_request.h"
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
        r.outputs.gif_path = (dir_ / "all.gif").string();
        r.outputs.frame_dir = (dir_ / "frames").string();
        r.outputs.palette = library_palette();
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
    r.outputs.frames = {4, 1};
    std::string error;
    ASSERT_TRUE(render::start(r, &error)) << error;
    run_colour_program();
    render::Result result;
    ASSERT_TRUE(render::finish(&result, &error)) << error;
    EXPECT_EQ(result.frame_count, 5);
    EXPECT_TRUE(result.warnings.empty());

    render_test::GifPtr gif = render_test::slurp_gif(r.outputs.gif_path);
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
    render_test::GifPtr gif = render_test::slurp_gif(request().outputs.gif_path);
    ASSERT_TRUE(gif);
    ASSERT_EQ(gif->ImageCount, 1);
    EXPECT_EQ(gif->SavedImages[0].RasterBits[0], colour_after(0, 1));
}

TEST_F(RenderSessionTest, StartRefusesUnusableRequests) {
    std::string error;
    render::Request r = request();
    r.outputs.gif_path = (dir_ / "no/such/dir/x.gif").string();
    EXPECT_FALSE(render::start(r, &error));
    EXPECT_NE(error.find("cannot create the GIF file"), std::string::npos) << error;
    r = request();
    r.outputs.palette.clear();
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

TEST(RunRequestText, ReadsEveryKeyAndRejectsBadLines) {
    namespace client = kv390::run_client;
    client::Request r;
    std::string error;
    ASSERT_TRUE(
        client::parse_request("input at 0 menu 6\r\ninput at 10 click 1 2\n\nidle-limit 25\n"
                              "time-limit 60000\npicture /tmp/a b/last.png\n"
                              "frames /tmp/f\nlog /tmp/l\nreport /tmp/r\n",
                              &r, &error))
        << error;
    EXPECT_EQ(r.input, "at 0 menu 6\nat 10 click 1 2\n");
    EXPECT_EQ(r.idle_limit_ms, 25u);
    EXPECT_EQ(r.time_limit_ms, 60000u);
    EXPECT_EQ(r.picture_path, "/tmp/a b/last.png");
    EXPECT_EQ(r.frames_path, "/tmp/f");
    EXPECT_EQ(r.log_path, "/tmp/l");
    EXPECT_EQ(r.report_path, "/tmp/r");

    for (const char* bad : {"colour red\n", "idle-limit -1\n", "time-limit 1e3\n", "picture\n",
                            "idle-limit 99999999999999999999\n"}) {
        EXPECT_FALSE(client::parse_request(bad, &r, &error)) << bad;
        EXPECT_NE(error.find("line 1"), std::string::npos);
    }
    EXPECT_EQ(render::frame_file_name(42), "frame-0042.png");
}

// The frame stream: any picture survives its coding against any frame
// before it, the stream may arrive in any pieces, and damage is found.
TEST(FrameStream, PicturesSurviveTheCodingInAnyPieces) {
    namespace protocol = kv390::run_protocol;
    auto image = [](int w, int h, std::uint32_t seed) {
        win::Image i;
        i.width = w;
        i.height = h;
        for (int k = 0; k < w * h; ++k) i.pixels.push_back((k * 7 + seed) % 5 == 0 ? seed : 0);
        return i;
    };
    const win::Image pictures[] = {image(30, 20, 1), image(30, 20, 1), image(30, 20, 3),
                                   image(7, 3, 3), image(30, 20, 0xFFFFFF)};
    std::string stream;
    win::Image before;
    for (const win::Image& p : pictures) {
        stream += protocol::encode_frame(before, p);
        before = p;
    }
    EXPECT_LT(protocol::encode_frame(pictures[0], pictures[1]).size(), 24u);  // nothing changed
    for (std::size_t piece : {std::size_t(1), std::size_t(5), stream.size()}) {
        win::Image decoded;
        std::string pending;
        std::size_t frame = 0;
        for (std::size_t at = 0; at < stream.size(); at += piece) {
            pending += stream.substr(at, piece);
            std::size_t used = 0;
            while (protocol::decode_frame(pending.data(), pending.size(), &decoded, &used) ==
                   protocol::Decoded::Frame) {
                ASSERT_LT(frame, std::size(pictures));
                EXPECT_EQ(decoded.width, pictures[frame].width);
                EXPECT_EQ(decoded.pixels, pictures[frame].pixels) << "frame " << frame;
                pending.erase(0, used);
                ++frame;
            }
        }
        EXPECT_EQ(frame, std::size(pictures));
        EXPECT_TRUE(pending.empty());
    }
    std::string damaged = protocol::encode_frame(win::Image{}, pictures[0]);
    damaged[20] = '\x7f';  // the first run's start far outside the picture
    damaged[23] = '\x7f';
    win::Image decoded;
    std::size_t used = 0;
    EXPECT_EQ(protocol::decode_frame(damaged.data(), damaged.size(), &decoded, &used),
              protocol::Decoded::Bad);
}

}  // namespace
