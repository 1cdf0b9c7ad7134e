// kv390-compare: the count of differing pixels against the tolerance, the
// diff picture, and its answers for pictures that cannot be compared.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "harness_test.h"
#include "kv390/harness.h"

namespace {

namespace fs = std::filesystem;

win::Image picture(int width, int height) {
    win::Image image;
    image.width = width;
    image.height = height;
    image.pixels.assign(std::size_t(width) * height, 0xFFFFFF);
    return image;
}

class CompareToolTest : public ::testing::Test {
  protected:
    void SetUp() override { dir_ = kv390::test::fresh_temp_dir("compare-tool"); }
    void TearDown() override { fs::remove_all(dir_); }
    std::string saved(const std::string& name, const win::Image& image) {
        const std::string path = (dir_ / name).string();
        EXPECT_TRUE(kv390::harness::save_png(image, path));
        return path;
    }
    int compare(const std::string& args) {
        const std::string command = std::string("'") + KV390_COMPARE_TOOL + "' " + args + " > '" +
                                    (dir_ / "out.txt").string() + "' 2>&1";
        const int raw = std::system(command.c_str());
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    }
    fs::path dir_;
};

TEST_F(CompareToolTest, ExitStatusFollowsTheCountAndTheTolerance) {
    win::Image off = picture(40, 30);
    off.pixels[5 * 40 + 7] = 0xFF0000;
    win::Image three_off = off;
    three_off.pixels[0] = three_off.pixels[1] = 0;
    const std::string a = saved("a.png", picture(40, 30)),
                      same = saved("same.png", picture(40, 30)), one = saved("one.png", off),
                      three = saved("three.png", three_off),
                      small = saved("small.png", picture(40, 29));
    std::ofstream((dir_ / "bad.png").string()) << "not a picture";
    struct Case {
        std::string args;
        int status;
    } cases[] = {
        {a + " " + same, 0},
        {a + " " + one, 1},
        {a + " " + one + " --tolerance 1", 0},
        {a + " " + three + " --tolerance 2", 1},
        {a + " " + three + " --tolerance 3", 0},
        {a + " " + small, 1},  // sizes differ
        {a + " " + (dir_ / "bad.png").string(), 2},
        {a + " " + (dir_ / "missing.png").string(), 2},
        {a + " " + one + " --tolerance many", 2},
        {a, 2},
    };
    for (const Case& c : cases) EXPECT_EQ(compare(c.args), c.status) << c.args;
}

TEST_F(CompareToolTest, TheDiffPictureMarksExactlyTheDifferingPixels) {
    win::Image off = picture(40, 30);
    off.pixels[5 * 40 + 7] = 0x0000FF;
    const std::string diff = (dir_ / "diff.png").string();
    EXPECT_EQ(
        compare(saved("a.png", picture(40, 30)) + " " + saved("b.png", off) + " --diff " + diff),
        1);
    win::Image marked;
    ASSERT_TRUE(kv390::harness::load_png(diff, &marked));
    ASSERT_EQ(marked.width, 40);
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 40; ++x) {
            EXPECT_EQ(marked.at(x, y) == 0xFF0000, x == 7 && y == 5) << x << "," << y;
        }
    }
}

}  // namespace
