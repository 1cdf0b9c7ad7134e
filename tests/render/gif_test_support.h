// Reading GIF files back with giflib's decoder.
#pragma once

#include <gif_lib.h>

#include <memory>
#include <string>

namespace render_test {

struct GifCloser {
    void operator()(GifFileType* gif) const { DGifCloseFile(gif, nullptr); }
};
using GifPtr = std::unique_ptr<GifFileType, GifCloser>;

// The whole file decoded, or null.
inline GifPtr slurp_gif(const std::string& path) {
    int error = 0;
    GifPtr gif(DGifOpenFileName(path.c_str(), &error));
    if (!gif || DGifSlurp(gif.get()) != GIF_OK) return nullptr;
    return gif;
}

}  // namespace render_test
