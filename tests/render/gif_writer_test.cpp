// The GIF encoder: colour mapping, changed rectangles and unchanged frames.
#include "render/gif_writer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "gif_test_support.h"
#include "harness_test.h"

namespace {

using kv390::render::GifWriter;
using kv390::render::PaletteMap;

win::Image filled(int width, int height, std::uint32_t pixel) {
    win::Image image;
    image.width = width;
    image.height = height;
    image.pixels.assign(std::size_t(width) * height, pixel);
    return image;
}

TEST(PaletteMapTest, ExactColoursAndNearestForTheRest) {
    PaletteMap map({0x000000, 0xffffff, 0xff0000, 0x808080});
    EXPECT_EQ(map.index_of(0xff0000), 2);
    EXPECT_EQ(map.index_of(0xff0000), 2);
    EXPECT_EQ(map.index_of(0x808080), 3);
    EXPECT_EQ(map.index_of(0xf01010), 2);
    EXPECT_EQ(map.index_of(0x101010), 0);
    EXPECT_EQ(map.index_of(0xeeeeee), 1);
    EXPECT_EQ(map.index_of(0xff808080), 3);  // the unused top byte does not count
}

TEST(GifWriterTest, StoresOnlyWhatChangedAndKeepsUnchangedFrames) {
    const std::filesystem::path dir = kv390::test::fresh_temp_dir("gif-writer");
    const std::string path = (dir / "x.gif").string();
    GifWriter gif;
    std::string error;
    ASSERT_TRUE(gif.open(path, {0x000000, 0xffffff, 0x0000ff}, &error)) << error;
    win::Image picture = filled(40, 30, 0xffffff);
    ASSERT_TRUE(gif.add_frame(picture, &error)) << error;
    picture.pixels[std::size_t(5) * 40 + 7] = 0x0000ff;
    picture.pixels[std::size_t(9) * 40 + 12] = 0x000000;
    ASSERT_TRUE(gif.add_frame(picture, &error)) << error;
    ASSERT_TRUE(gif.add_frame(picture, &error)) << error;
    EXPECT_FALSE(gif.add_frame(filled(10, 10, 0), &error));
    ASSERT_TRUE(gif.close(&error)) << error;

    render_test::GifPtr back = render_test::slurp_gif(path);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->SWidth, 40);
    EXPECT_EQ(back->SHeight, 30);
    ASSERT_EQ(back->ImageCount, 3);
    EXPECT_EQ(back->SColorMap->ColorCount, 4);  // three colours padded to a power of two
    const GifImageDesc& full = back->SavedImages[0].ImageDesc;
    EXPECT_EQ(full.Width * full.Height, 40 * 30);
    const GifImageDesc& changed = back->SavedImages[1].ImageDesc;
    EXPECT_EQ(changed.Left, 7);
    EXPECT_EQ(changed.Top, 5);
    EXPECT_EQ(changed.Width, 6);
    EXPECT_EQ(changed.Height, 5);
    const GifByteType* bits = back->SavedImages[1].RasterBits;
    EXPECT_EQ(bits[0], 2);          // (7, 5) blue
    EXPECT_EQ(bits[4 * 6 + 5], 0);  // (12, 9) black
    EXPECT_EQ(bits[1], 3);          // unchanged around them: the spare entry, transparent
    const GifImageDesc& same = back->SavedImages[2].ImageDesc;
    EXPECT_EQ(same.Width * same.Height, 1);

    GraphicsControlBlock control;
    ASSERT_EQ(DGifSavedExtensionToGCB(back.get(), 1, &control), GIF_OK);
    EXPECT_EQ(control.DelayTime, 10);
    EXPECT_EQ(control.DisposalMode, DISPOSE_DO_NOT);
    EXPECT_EQ(control.TransparentColor, 3);
    ASSERT_EQ(DGifSavedExtensionToGCB(back.get(), 0, &control), GIF_OK);
    EXPECT_EQ(control.TransparentColor, NO_TRANSPARENT_COLOR);  // the first frame is whole
    std::filesystem::remove_all(dir);
}

}  // namespace
