#pragma once
// The random parameters of one picture, and how they are drawn.

#include "generation/chance.h"
#include "generation/run_inputs.h"

#include <cstdint>
#include <optional>
#include <string>

namespace pestrolik {

struct PictureParams {
    int twistDigit{};      // 0..9, ring phase offset factor
    int lobeDigit{};       // 0..9, lobes = lobeDigit + 4
    int spacingDigit{};    // 0..9, ring spacing factor
    int turnDigit{};       // 0..9, angular speed turnDigit + 1
    int redExponent{};     // 0..3
    int greenExponent{};   // 0..3
    int blueExponent{};    // 0..3
    int backDepth{};       // 0..58, background amplitude backDepth + 5
    int backWaves{};       // 0..2, background wave count backWaves + 1
    double refSize = defaultPictureSize;  // pixels, 10..1000: the size the parameters were drawn for

    bool operator==(const PictureParams&) const = default;
};

// Replaces everything but refSize: four digits of the time of day, then five random
// draws after reseeding.
void chooseParameters(PictureParams& params, Clock& clock, RandomSource& random);

// Ten comma-separated integers, in the field order above (refSize last), so a liked
// picture can be made again.
std::string paramsCode(const PictureParams& params);
// Reads a code; nothing when it is malformed or a value lies outside its range.
std::optional<PictureParams> parseParamsCode(const std::string& code);

}  // namespace pestrolik
