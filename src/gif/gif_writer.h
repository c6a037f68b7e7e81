#pragma once
// Lays out one animated GIF89a file: head (signature, screen, colour table, endless
// loop, comment: 602 bytes), a 20-byte head per frame, each frame's LZW data, trailer.
// Life cycle: writeFileHead, then per frame writeFrameHead + encodeFrame (or
// writeImageData with bytes encoded elsewhere), then writeTrailer; abandonFile may
// replace any later step. Every call answers false once the sink failed.

#include "gif/byte_sink.h"
#include "gif/lzw_encoder.h"
#include "gif/pixel_grid.h"

#include <cstdint>
#include <span>
#include <vector>

namespace pestrolik {

// Always given whole, so no field has a default.
struct FileHead {
    int pictureSize;  // width and height in pixels, 10..1000
    int frameCount;   // 1..100
    bool stillBackground;
    int redExponent, greenExponent, blueExponent;  // 0..3 each
};

class GifWriter {
public:
    explicit GifWriter(ByteSink& sink) : sink_(sink) {}

    bool writeFileHead(const FileHead& head);
    bool writeFrameHead();
    // Encodes and writes the frame; when `gate` says stop, nothing of it is written
    // and the answer is false (check stopped() to tell that from a failed write).
    bool encodeFrame(const PixelGrid& grid, const RowGate& gate = {});
    bool writeImageData(std::span<const uint8_t> imageData);
    // Writes the trailer and closes the file.
    bool writeTrailer();
    // Closes the file if still open and deletes it.
    void abandonFile();

    bool stopped() const { return stopped_; }

private:
    bool put(std::span<const uint8_t> bytes);

    ByteSink& sink_;
    FileHead head_{};
    LzwEncoder encoder_;
    std::vector<uint8_t> frameBytes_;
    bool failed_ = false;
    bool stopped_ = false;
};

}  // namespace pestrolik
