#pragma once
// Animated lossless WebP from libwebp's own encoder and muxer: the same pictures,
// colours, delay and endless loop as the GIF, index 0 transparent where the GIF's is.

#include "generation/animation_encoder.h"

#include <memory>

namespace pestrolik {

// Null when libwebp refuses the size.
std::unique_ptr<AnimationEncoder> webpAnimation(const FileHead& head);

}  // namespace pestrolik
