// PNG files of 8-bit RGB pixels (libpng's simplified interface).
#include <png.h>

#include <cstring>

#include "kv390/harness.h"

namespace kv390::harness {

static void set_error(std::string* error, const std::string& text) {
    if (error != nullptr) *error = text;
}

bool save_png(const win::Image& image, const std::string& path, std::string* error) {
    if (image.width <= 0 || image.height <= 0 ||
        image.pixels.size() != std::size_t(image.width) * std::size_t(image.height)) {
        set_error(error, "cannot save an empty or inconsistent image");
        return false;
    }
    std::vector<png_byte> rgb(image.pixels.size() * 3);
    for (std::size_t i = 0; i < image.pixels.size(); ++i) {
        std::uint32_t px = image.pixels[i];
        rgb[3 * i] = png_byte(px >> 16);
        rgb[3 * i + 1] = png_byte(px >> 8);
        rgb[3 * i + 2] = png_byte(px);
    }
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    png.width = png_uint_32(image.width);
    png.height = png_uint_32(image.height);
    png.format = PNG_FORMAT_RGB;
    if (!png_image_write_to_file(&png, path.c_str(), 0, rgb.data(), 0, nullptr)) {
        set_error(error, path + ": " + png.message);
        png_image_free(&png);
        return false;
    }
    return true;
}

bool load_png(const std::string& path, win::Image* image, std::string* error) {
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&png, path.c_str())) {
        set_error(error, path + ": " + png.message);
        png_image_free(&png);
        return false;
    }
    png.format = PNG_FORMAT_RGB;
    std::vector<png_byte> rgb(PNG_IMAGE_SIZE(png));
    if (!png_image_finish_read(&png, nullptr, rgb.data(), 0, nullptr)) {
        set_error(error, path + ": " + png.message);
        png_image_free(&png);
        return false;
    }
    image->width = int(png.width);
    image->height = int(png.height);
    image->pixels.resize(std::size_t(png.width) * png.height);
    for (std::size_t i = 0; i < image->pixels.size(); ++i) {
        image->pixels[i] = (std::uint32_t(rgb[3 * i]) << 16) |
                           (std::uint32_t(rgb[3 * i + 1]) << 8) | rgb[3 * i + 2];
    }
    return true;
}

}  // namespace kv390::harness
