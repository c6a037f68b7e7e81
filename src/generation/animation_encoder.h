#pragma once
// An animation format other than GIF: each picture is encoded on its own, on any worker
// thread, and the frames are joined in order on the run's thread and written whole at
// the end (the format's own library lays the file out).

#include "gif/gif_writer.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

namespace pestrolik {

class AnimationEncoder {
public:
    virtual ~AnimationEncoder() = default;
    // One picture's colour indices, row after row, as a frame of this animation. Safe on
    // any thread, for frames in any order. Empty when encoding failed or `goOn` said stop
    // (it is asked now and then).
    virtual std::vector<uint8_t> encodeFrame(std::span<const uint8_t> cells, const std::function<bool()>& goOn) const = 0;
    // The next frame, as encodeFrame made it. False when it cannot be added.
    virtual bool add(std::span<const uint8_t> frame) = 0;
    // The whole file after the last frame; empty when it cannot be made.
    virtual std::vector<uint8_t> finish() = 0;
};

// Makes the encoder for a file with this head's size, colours, delay and transparency.
using AnimationMaker = std::function<std::unique_ptr<AnimationEncoder>(const FileHead& head)>;

}  // namespace pestrolik
