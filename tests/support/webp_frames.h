#pragma once
// What a viewer shows of an animated WebP, through libwebp's own demuxer and decoder,
// in the compositor's terms: fully transparent pixels are `background`.

#include "gif_compositor.h"

namespace pestrolik::testing {

ShownAnimation showWebp(const std::vector<uint8_t>& bytes);

}  // namespace pestrolik::testing
