#pragma once
// What every picture file carries besides its pixels: the colours drawn from the three
// exponents, the delay that follows from the frame count, and the attribution comment.

#include "generation/picture_params.h"
#include "gif/gif_format.h"
#include "gif/gif_writer.h"
#include "gif/small_frame.h"

#include <cstdint>
#include <span>

namespace pestrolik {

// The 128 colours from the three exponents (each 0..3).
ColourTable colourTable(int redExponent, int greenExponent, int blueExponent);

// Delay between frames, in hundredths of a second, for `frameCount` 1..100.
int frameDelayCentiseconds(int frameCount);

// The comment's text, identical in every file: 181 ASCII characters and a NUL.
std::span<const uint8_t> commentText();

// Everything the GIF writer needs before the first frame. `stillBackground` makes index
// 0 transparent, so a still background shows through wherever a picture holds 0.
FileHead pictureFileHead(int pictureSize, int frameCount, bool stillBackground, const PictureParams& params);

// The same file made small: its table holds only the colours its pictures may hold.
SmallFile smallPictureFile(int pictureSize, int frameCount, bool stillBackground, const PictureParams& params);

}  // namespace pestrolik
