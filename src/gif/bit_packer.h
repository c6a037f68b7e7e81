#pragma once
// Packs variable-width codes least significant bit first into bytes, and the bytes
// into GIF data sub-blocks of exactly 254 bytes. The first length byte (0xFE) belongs
// to the frame head; every further one is written the moment a sub-block fills.

#include <cstdint>
#include <vector>

namespace pestrolik {

class BitPacker {
public:
    static constexpr int subBlockLength = 254;

    explicit BitPacker(std::vector<uint8_t>& out) : out_(out) {}

    void emit(uint32_t code, int codeWidth) {
        bitBuffer_ |= static_cast<uint64_t>(code) << bitCount_;
        bitCount_ += codeWidth;
        while (bitCount_ >= 8) {
            putByte(static_cast<uint8_t>(bitBuffer_));
            bitBuffer_ >>= 8;
            bitCount_ -= 8;
        }
    }

    // The last call for a frame: writes the partly filled byte (high bits zero), pads
    // the current sub-block with zeros and writes the block terminator.
    void finish() {
        if (bitCount_ > 0) putByte(static_cast<uint8_t>(bitBuffer_));
        out_.insert(out_.end(), static_cast<size_t>(subBlockLength - bytesInSubBlock_), uint8_t{0});
        out_.push_back(0x00);  // block terminator
    }

private:
    void putByte(uint8_t byte) {
        out_.push_back(byte);
        if (++bytesInSubBlock_ == subBlockLength) {
            bytesInSubBlock_ = 0;
            out_.push_back(subBlockLength);  // length of the next sub-block, at once
        }
    }

    std::vector<uint8_t>& out_;
    uint64_t bitBuffer_ = 0;   // bits not yet in a whole byte, lowest first
    int bitCount_ = 0;         // bits held in bitBuffer_
    int bytesInSubBlock_ = 0;  // data bytes already in the current sub-block, 0..253
};

}  // namespace pestrolik
