#pragma once
// An animation format other than GIF, encoded frame after frame on the run's thread and
// written whole at the end (the format's own library lays the file out).

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
    // The next picture: its colour indices, row after row. False when encoding failed.
    virtual bool add(std::span<const uint8_t> cells) = 0;
    // The whole file after the last picture; empty when encoding failed.
    virtual std::vector<uint8_t> finish() = 0;
};

// Makes the encoder for a file with this head's size, colours, delay and transparency.
using AnimationMaker = std::function<std::unique_ptr<AnimationEncoder>(const FileHead& head)>;

}  // namespace pestrolik
