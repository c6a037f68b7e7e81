#include "gif/gif_writer.h"

#include "gif/frame_head.h"

#include <array>
#include <string_view>

namespace pestrolik {

bool GifWriter::put(std::span<const uint8_t> bytes) {
    if (failed_ || stopped_) return false;
    if (!sink_.write(bytes)) failed_ = true;
    return !failed_;
}

bool GifWriter::writeFileHead(const FileHead& head) {
    head_ = head;
    std::vector<uint8_t> bytes;
    for (char c : std::string_view("GIF89a")) bytes.push_back(static_cast<uint8_t>(c));
    putWord(bytes, head.pictureSize);  // logical screen width
    putWord(bytes, head.pictureSize);  // logical screen height
    // Global table, 8 bits per primary, 2^colourBits entries (0xF6: 128).
    bytes.push_back(static_cast<uint8_t>(0xF0 | (head.colourBits - 1)));
    bytes.push_back(0x00);  // background colour index
    bytes.push_back(0x00);  // pixel aspect ratio not given
    for (const Rgb& colour : std::span(head.colours).first(size_t{1} << head.colourBits)) {
        bytes.push_back(colour.red);
        bytes.push_back(colour.green);
        bytes.push_back(colour.blue);
    }
    constexpr std::array<uint8_t, 19> loopExtension = {
        0x21, 0xFF, 0x0B,  // application extension, 11-byte identifier
        'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0',
        0x03, 0x01,        // 3-byte sub-block, sub-block id 1
        0x00, 0x00,        // loop count 0: for ever
        0x00,              // block terminator
    };
    bytes.insert(bytes.end(), loopExtension.begin(), loopExtension.end());
    bytes.push_back(0x21);  // extension introducer
    bytes.push_back(0xFE);  // comment label
    bytes.push_back(static_cast<uint8_t>(head.comment.size()));  // its one sub-block
    bytes.insert(bytes.end(), head.comment.begin(), head.comment.end());
    bytes.push_back(0x00);  // block terminator
    return put(bytes);
}

bool GifWriter::writeFrameHead() {
    std::vector<uint8_t> bytes;
    const int size = head_.pictureSize;  // every plain frame covers the whole screen
    putFrameHead(bytes, {0, 0, size, size}, restoreBackground, head_.transparentZero ? 0 : noTransparency,
                 head_.delayCentiseconds);
    bytes.push_back(LzwEncoder::minimumCodeSize);
    bytes.push_back(0xFE);  // length of the first data sub-block
    return put(bytes);
}

bool GifWriter::encodeFrame(const PixelGrid& grid, const RowGate& gate) {
    if (failed_ || stopped_) return false;
    frameBytes_.clear();
    if (!encoder_.encode(grid, frameBytes_, gate)) {
        stopped_ = true;  // nothing of a stopped frame reaches the file
        return false;
    }
    return put(frameBytes_);
}

bool GifWriter::writeImageData(std::span<const uint8_t> imageData) { return put(imageData); }

bool GifWriter::writeTrailer() {
    const uint8_t trailer = 0x3B;
    if (!put({&trailer, 1})) return false;
    if (!sink_.finish()) failed_ = true;
    return !failed_;
}

void GifWriter::abandonFile() {
    stopped_ = true;
    sink_.discard();
}

}  // namespace pestrolik
