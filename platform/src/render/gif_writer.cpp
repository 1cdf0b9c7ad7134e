// Animated GIF output through giflib's LZW encoder.
#include "render/gif_writer.h"

#include <fcntl.h>
#include <gif_lib.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include <algorithm>
#include <limits>

namespace kv390::render {

namespace {

constexpr int MAX_COLORS = 256;

int table_size_for(std::size_t count) {
    int size = 2;
    while (std::size_t(size) < count) size *= 2;
    return size;
}

int channel(std::uint32_t pixel, int shift) {
    return int((pixel >> shift) & 255u);
}

int squared_distance(std::uint32_t a, std::uint32_t b) {
    int dr = channel(a, 16) - channel(b, 16);
    int dg = channel(a, 8) - channel(b, 8);
    int db = channel(a, 0) - channel(b, 0);
    return dr * dr + dg * dg + db * db;
}

// The smallest rectangle holding every pixel that differs; false if none.
bool changed_rect(const win::Image& before, const win::Image& after, win::Rect* rect) {
    int left = after.width, right = -1, top = after.height, bottom = -1;
    for (int y = 0; y < after.height; ++y) {
        const std::uint32_t* a = &before.pixels[std::size_t(y) * after.width];
        const std::uint32_t* b = &after.pixels[std::size_t(y) * after.width];
        int first = 0;
        while (first < after.width && a[first] == b[first]) ++first;
        if (first == after.width) continue;
        int last = after.width - 1;
        while (a[last] == b[last]) --last;
        left = std::min(left, first);
        right = std::max(right, last);
        top = std::min(top, y);
        bottom = y;
    }
    if (right < 0) return false;
    *rect = win::Rect{left, top, right + 1, bottom + 1};
    return true;
}

}  // namespace

PaletteMap::PaletteMap(std::vector<std::uint32_t> colors) : colors_(std::move(colors)) {
    if (colors_.empty()) colors_.push_back(0);
    if (colors_.size() > MAX_COLORS) colors_.resize(MAX_COLORS);
}

std::uint8_t PaletteMap::index_of(std::uint32_t pixel) {
    pixel &= 0xFFFFFFu;
    if (has_last_ && pixel == last_pixel_) return last_index_;
    std::uint8_t index = nearest(pixel);
    last_pixel_ = pixel;
    last_index_ = index;
    has_last_ = true;
    return index;
}

std::uint8_t PaletteMap::nearest(std::uint32_t pixel) const {
    std::size_t best = 0;
    int best_distance = std::numeric_limits<int>::max();
    for (std::size_t i = 0; i < colors_.size() && best_distance != 0; ++i) {
        int d = squared_distance(pixel, colors_[i]);
        if (d < best_distance) {
            best = i;
            best_distance = d;
        }
    }
    return std::uint8_t(best);
}

GifWriter::~GifWriter() {
    if (gif_ != nullptr) EGifCloseFile(gif_, nullptr);
}

bool GifWriter::fail(const char* what, int code, std::string* error) {
    if (error != nullptr) {
        const char* why = GifErrorString(code);
        *error = path_ + ": " + what + (why != nullptr ? std::string(": ") + why : std::string());
    }
    return false;
}

bool GifWriter::open(const std::string& path, const std::vector<std::uint32_t>& palette,
                     std::string* error) {
    path_ = path;
    // Opened here rather than by giflib, which would make the file private.
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (fd < 0) {
        if (error != nullptr)
            *error = path + ": cannot create the GIF file: " + std::strerror(errno);
        return false;
    }
    int code = 0;
    gif_ = EGifOpenFileHandle(fd, &code);
    if (gif_ == nullptr) {
        ::close(fd);
        return fail("cannot create the GIF file", code, error);
    }
    EGifSetGifVersion(gif_, true);
    map_ = PaletteMap(palette);
    return true;
}

bool GifWriter::write_header(int width, int height, std::string* error) {
    const std::vector<std::uint32_t>& colors = map_.colors();
    std::vector<GifColorType> table(std::size_t(table_size_for(colors.size())), GifColorType{});
    for (std::size_t i = 0; i < colors.size(); ++i) {
        table[i] =
            GifColorType{GifByteType(channel(colors[i], 16)), GifByteType(channel(colors[i], 8)),
                         GifByteType(channel(colors[i], 0))};
    }
    // The first unused entry, if there is one, serves as the transparent colour.
    transparent_ = colors.size() < table.size() ? int(colors.size()) : -1;
    ColorMapObject* map = GifMakeMapObject(int(table.size()), table.data());
    if (map == nullptr)
        return fail("cannot make the colour table", D_GIF_ERR_NOT_ENOUGH_MEM, error);
    int status = EGifPutScreenDesc(gif_, width, height, 8, 0, map);
    GifFreeMapObject(map);
    if (status == GIF_ERROR) return fail("cannot write the GIF header", gif_->Error, error);
    // The application extension that makes viewers loop forever.
    static const GifByteType LOOP_NAME[] = "NETSCAPE2.0";
    GifByteType loop_forever[3] = {1, 0, 0};
    if (EGifPutExtensionLeader(gif_, APPLICATION_EXT_FUNC_CODE) == GIF_ERROR ||
        EGifPutExtensionBlock(gif_, 11, LOOP_NAME) == GIF_ERROR ||
        EGifPutExtensionBlock(gif_, 3, loop_forever) == GIF_ERROR ||
        EGifPutExtensionTrailer(gif_) == GIF_ERROR) {
        return fail("cannot write the GIF loop extension", gif_->Error, error);
    }
    return true;
}

bool GifWriter::write_rect(const win::Image& image, const win::Rect& rect, std::string* error) {
    GraphicsControlBlock control{};
    control.DisposalMode = DISPOSE_DO_NOT;
    control.UserInputFlag = false;
    control.DelayTime = FRAME_DELAY_CS;
    // Over a kept frame, pixels that did not change are left transparent:
    // long runs of one index, which the LZW code stores in a few bits.
    const bool over_previous = frames_ > 0 && transparent_ >= 0;
    control.TransparentColor = over_previous ? transparent_ : NO_TRANSPARENT_COLOR;
    GifByteType extension[4];
    std::size_t length = EGifGCBToExtension(&control, extension);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (EGifPutExtension(gif_, GRAPHICS_EXT_FUNC_CODE, int(length), extension) == GIF_ERROR ||
        EGifPutImageDesc(gif_, rect.left, rect.top, width, height, false, nullptr) == GIF_ERROR) {
        return fail("cannot write a GIF frame", gif_->Error, error);
    }
    line_.resize(std::size_t(width));
    for (int y = rect.top; y < rect.bottom; ++y) {
        const std::size_t start = std::size_t(y) * image.width + rect.left;
        const std::uint32_t* row = &image.pixels[start];
        const std::uint32_t* before = over_previous ? &previous_.pixels[start] : nullptr;
        for (int x = 0; x < width; ++x) {
            line_[std::size_t(x)] = before != nullptr && before[x] == row[x]
                                        ? GifByteType(transparent_)
                                        : map_.index_of(row[x]);
        }
        if (EGifPutLine(gif_, line_.data(), width) == GIF_ERROR) {
            return fail("cannot write a GIF frame", gif_->Error, error);
        }
    }
    return true;
}

bool GifWriter::add_frame(const win::Image& image, std::string* error) {
    if (gif_ == nullptr) return fail("the GIF file is not open", E_GIF_ERR_NOT_WRITEABLE, error);
    if (image.width <= 0 || image.height <= 0 ||
        image.pixels.size() != std::size_t(image.width) * std::size_t(image.height)) {
        if (error != nullptr) *error = path_ + ": cannot store an empty picture";
        return false;
    }
    win::Rect rect{0, 0, image.width, image.height};
    if (frames_ == 0) {
        if (!write_header(image.width, image.height, error)) return false;
    } else if (image.width != previous_.width || image.height != previous_.height) {
        if (error != nullptr) *error = path_ + ": the window changed its size during the run";
        return false;
    } else if (!changed_rect(previous_, image, &rect)) {
        // An unchanged frame still needs an image to carry its delay.
        rect = win::Rect{0, 0, 1, 1};
    }
    if (!write_rect(image, rect, error)) return false;
    previous_ = image;
    ++frames_;
    return true;
}

bool GifWriter::close(std::string* error) {
    if (gif_ == nullptr) return true;
    int code = 0;
    int status = EGifCloseFile(gif_, &code);
    gif_ = nullptr;
    if (status == GIF_ERROR) return fail("cannot finish the GIF file", code, error);
    return true;
}

}  // namespace kv390::render
