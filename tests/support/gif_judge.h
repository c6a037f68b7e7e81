#pragma once
// Decodes GIF bytes with giflib, the independent judge of what our writer produces;
// what a viewer shows of a GIF or WebP; and the few things tests need around them:
// grids, whole files, expected bytes.

#include "gif/gif_writer.h"
#include "gif/pixel_grid.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace pestrolik::testing {

struct DecodedGif {
    bool ok = false;
    std::string error;
    int width = 0, height = 0;
    std::vector<PixelGrid> frames;
    std::vector<int> controlBytes;  // packed field of each graphic control block
};

DecodedGif decodeGif(const std::vector<uint8_t>& bytes);

// A screen pixel: 0xFFRRGGBB, or `background` where nothing was drawn or a disposal
// restored the background (a viewer may show it as the background colour or as nothing).
inline constexpr uint32_t background = 0;

struct ShownAnimation {
    bool ok = false;
    std::string error;
    int width = 0, height = 0;
    std::vector<std::vector<uint32_t>> frames;  // the screen after each image
    std::vector<int> delays;                    // hundredths of a second
    int loopCount = -1;                         // from the looping extension; -1: none
    std::vector<uint8_t> comments;              // every comment's bytes, in order
    bool operator==(const ShownAnimation&) const = default;
};

// Worked out from the GIF89a rules alone over giflib's decoding: each image drawn over
// what the screen holds, its transparent index leaving the screen as it was, then
// disposed of as its control block says (1 keep, 2 restore the background within its
// box, 3 restore what was there before it).
ShownAnimation showGif(const std::vector<uint8_t>& bytes);
// Through libwebp's own demuxer and decoder (webp_frames.cpp, for tests linking
// libwebpdemux); fully transparent pixels are `background`.
ShownAnimation showWebp(const std::vector<uint8_t>& bytes);
std::vector<uint8_t> readFileBytes(const std::string& path);
// Same size and every cell equal.
bool sameCells(const PixelGrid& a, const PixelGrid& b);

// A grid whose cell (r, c) is cell(r, c); a whole file in memory whose frame f is frame(f).
PixelGrid filledGrid(int size, const std::function<int(int row, int column)>& cell);
std::vector<uint8_t> gifBytes(const FileHead& head, int frameCount, const std::function<PixelGrid(int frameNo)>& frame);

// Expected bytes written as hex ("47 49 46"): "#" starts a note, ".." is a byte whose
// value is not ours to check (-1). hexFile reads them from a file.
std::vector<int> hexBytes(const std::string& text);
std::vector<int> hexFile(const std::string& path);
// Where `bytes` from offset `at` differ from `expected`; empty when they hold it.
std::string hexMismatch(const std::vector<uint8_t>& bytes, size_t at, const std::vector<int>& expected);

}  // namespace pestrolik::testing
