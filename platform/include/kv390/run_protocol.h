// The run protocol: how a runner (kv390-run) and a program built on KV390
// talk.  docs/TEACHING.md describes it for people; this header holds the
// names and the frame stream's coding that both sides use.
//
// The runner starts the program with these environment variables:
//   KV390_BACKEND=headless   a program built for the desktop runs headless
//   KV390_RUN=FILE           the request: "key value" lines
//   KV390_SEED=N             a seed for programs that take one
// Request keys: "input LINE" (timed input, the harness's list format; one
// per line), "idle-limit MS" (the run ends this long after the input is used
// up), "time-limit MS" (virtual time at which the run is stopped), and the
// files the program writes: "picture" (PNG of the graphics window's client
// area at the end), "frames" (frame stream below), "log" (every logged line)
// and "report".
//
// The report is a text file the program appends to, one line each:
//   started                   the program opened the windowing layer
//   progress MS FRAMES        now and then: virtual time and frames so far
//   time-limit MS [closed]    the time limit was reached; the program stops
//                             ("closed": its window had been closed)
//   error TEXT                an output could not be written; it stops
//   no-picture                it showed no picture (before "error")
//   finished FRAMES           every output is complete (at exit)
//
// The frame stream holds one record per animation frame, 32-bit words in
// the machine's order: FRAME_MAGIC, the record's size in bytes, width,
// height, the number of runs, then each run: first pixel index, length and
// that many pixels (0x00RRGGBB).  Pixels outside the runs are those of the
// frame before (black for the first frame or after a change of size).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "kv390/win.h"

namespace kv390::run_protocol {

constexpr const char* BACKEND_VARIABLE = "KV390_BACKEND";
constexpr const char* HEADLESS_BACKEND = "headless";
constexpr const char* REQUEST_VARIABLE = "KV390_RUN";
constexpr const char* OLD_REQUEST_VARIABLE = "KV390_RENDER";  // read when KV390_RUN is not set
constexpr const char* SEED_VARIABLE = "KV390_SEED";

constexpr std::uint32_t FRAME_MAGIC = 0x3146564B;  // "KVF1"
constexpr std::size_t FRAME_HEADER_WORDS = 5;

namespace detail {
inline void put_word(std::string* out, std::uint32_t word) {
    out->append(reinterpret_cast<const char*>(&word), sizeof word);
}
inline std::uint32_t word_at(const char* data, std::size_t index) {
    std::uint32_t word;
    std::memcpy(&word, data + index * 4, 4);
    return word;
}
}  // namespace detail

// The record of `image` as its changes from `previous` (the frame before, or
// an empty image).  Changed pixels closer than 8 apart share a run.
inline std::string encode_frame(const win::Image& previous, const win::Image& image) {
    const std::size_t count = image.pixels.size();
    const bool same_size = previous.width == image.width && previous.height == image.height &&
                           previous.pixels.size() == count;
    std::string runs;
    std::uint32_t run_count = 0;
    std::size_t i = 0;
    while (i < count) {
        if (same_size && previous.pixels[i] == image.pixels[i]) {
            ++i;
            continue;
        }
        std::size_t end = i + 1, last_changed = i;
        while (end < count && end - last_changed < 8) {
            if (!same_size || previous.pixels[end] != image.pixels[end]) last_changed = end;
            ++end;
        }
        detail::put_word(&runs, std::uint32_t(i));
        detail::put_word(&runs, std::uint32_t(last_changed + 1 - i));
        runs.append(reinterpret_cast<const char*>(&image.pixels[i]), (last_changed + 1 - i) * 4);
        ++run_count;
        i = last_changed + 1;
    }
    std::string record;
    detail::put_word(&record, FRAME_MAGIC);
    detail::put_word(&record, std::uint32_t(FRAME_HEADER_WORDS * 4 + runs.size()));
    detail::put_word(&record, std::uint32_t(image.width));
    detail::put_word(&record, std::uint32_t(image.height));
    detail::put_word(&record, run_count);
    return record + runs;
}

enum class Decoded { Frame, NeedMore, Bad };

// Applies the record at the start of data to *picture (the frame before).
// NeedMore when data does not hold the whole record yet; *used is its size.
inline Decoded decode_frame(const char* data, std::size_t size, win::Image* picture,
                            std::size_t* used) {
    using detail::word_at;
    if (size < FRAME_HEADER_WORDS * 4) return Decoded::NeedMore;
    const std::uint32_t bytes = word_at(data, 1);
    const std::uint32_t width = word_at(data, 2), height = word_at(data, 3);
    if (word_at(data, 0) != FRAME_MAGIC || bytes < FRAME_HEADER_WORDS * 4 || bytes % 4 != 0 ||
        width == 0 || height == 0 || width > 16384 || height > 16384)
        return Decoded::Bad;
    if (size < bytes) return Decoded::NeedMore;
    const std::size_t count = std::size_t(width) * height;
    if (picture->width != int(width) || picture->height != int(height) ||
        picture->pixels.size() != count) {
        picture->width = int(width);
        picture->height = int(height);
        picture->pixels.assign(count, 0);
    }
    std::size_t word = FRAME_HEADER_WORDS;
    const std::size_t words = bytes / 4;
    for (std::uint32_t run = 0, runs = word_at(data, 4); run < runs; ++run) {
        if (word + 2 > words) return Decoded::Bad;
        const std::size_t first = word_at(data, word), length = word_at(data, word + 1);
        word += 2;
        if (first > count || length > count - first || length > words - word) return Decoded::Bad;
        std::memcpy(&picture->pixels[first], data + word * 4, length * 4);
        word += length;
    }
    if (word != words) return Decoded::Bad;
    *used = bytes;
    return Decoded::Frame;
}

}  // namespace kv390::run_protocol
