#pragma once
// Lays out one animated GIF89a file: head (signature, screen, colour table, endless
// loop, comment: 602 bytes), a 20-byte head per frame, each frame's LZW data, trailer.
// Life cycle: writeFileHead, then per frame writeFrameHead + encodeFrame (or
// writeImageData with bytes encoded elsewhere, a whole small frame among them), then
// writeTrailer; abandonFile may replace any later step. Every call answers false once
// the sink failed.

#include "gif/byte_sink.h"
#include "gif/gif_format.h"
#include "gif/lzw_encoder.h"
#include "gif/pixel_grid.h"

#include <cstdint>
#include <span>
#include <vector>

namespace pestrolik {

// Always given whole, but for the table's length: a small file's may be shorter.
struct FileHead {
    int pictureSize;        // width and height in pixels, 1..65535
    ColourTable colours;
    int delayCentiseconds;  // after every frame, 0..65535
    bool transparentZero;   // index 0 shows what lies behind the picture
    std::vector<uint8_t> comment;  // the comment's text, at most 255 bytes
    int colourBits = 7;     // the file's table is the first 2^colourBits of `colours`, 2..7
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
