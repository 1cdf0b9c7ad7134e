// An animated GIF written frame by frame: one global colour table, every frame
// 100 ms, looping forever.  After the first frame only the rectangle that
// changed is stored, over the previous frame (which is kept), with its
// unchanged pixels transparent when the colour table has a spare entry.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "kv390/win.h"

struct GifFileType;

namespace kv390::render {

// Maps 0x00RRGGBB pixels to entries of a colour table: exact matches, and
// the nearest entry (squared RGB distance, first one on ties) otherwise.
class PaletteMap {
  public:
    explicit PaletteMap(std::vector<std::uint32_t> colors);
    std::uint8_t index_of(std::uint32_t pixel);
    const std::vector<std::uint32_t>& colors() const { return colors_; }

  private:
    std::uint8_t nearest(std::uint32_t pixel) const;
    std::vector<std::uint32_t> colors_;
    std::uint32_t last_pixel_ = 0;
    std::uint8_t last_index_ = 0;
    bool has_last_ = false;
};

class GifWriter {
  public:
    static constexpr int FRAME_DELAY_CS = 10;

    GifWriter() = default;
    GifWriter(const GifWriter&) = delete;
    GifWriter& operator=(const GifWriter&) = delete;
    ~GifWriter();

    // Creates the file; the screen size is that of the first frame.
    bool open(const std::string& path, const std::vector<std::uint32_t>& palette,
              std::string* error);
    bool add_frame(const win::Image& image, std::string* error);
    bool close(std::string* error);
    int frame_count() const { return frames_; }

  private:
    bool write_header(int width, int height, std::string* error);
    bool write_rect(const win::Image& image, const win::Rect& rect, std::string* error);
    bool fail(const char* what, int code, std::string* error);

    GifFileType* gif_ = nullptr;
    std::string path_;
    PaletteMap map_{{0}};
    win::Image previous_;
    std::vector<std::uint8_t> line_;
    int frames_ = 0;
    int transparent_ = -1;  // colour table entry for unchanged pixels, -1: none
};

}  // namespace kv390::render
