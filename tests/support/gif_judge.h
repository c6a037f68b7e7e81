#pragma once
// Decodes GIF bytes with giflib, the independent judge of what our writer produces;
// and the few things tests need around it: grids, whole files, expected bytes.

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
