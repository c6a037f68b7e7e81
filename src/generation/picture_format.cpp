#include "generation/picture_format.h"

#include "common/contact.h"
#include "generation/frame_drawing.h"

#include <cmath>
#include <string_view>

namespace pestrolik {

namespace {

uint8_t colourComponent(int exponent, double position) {
    const double k = 128 / 6.28;  // 6.28, not 2 pi: the palette depends on it
    return static_cast<uint8_t>(std::floor(127 * std::sin(std::ldexp(1.0, exponent) * (position / k))) + 128);
}

// The attribution text. Each part keeps its fixed length, so the comment block is 186
// bytes and the first frame starts at offset 602.
constexpr std::string_view commentParts[] = {
    " Etot file sozdan programmoj \"",     // 30
    "Pestrolik-1 (animirovannye uzory GIF)",  // 37, the title
    "\". Razrabotchik programmy - ",        // 28
    "Komanda proekta Pestrolika",            // 26, the makers
    ". g. ",                                 // 5
    "Omsk",                                  // 4, the city
    ", 2008 g. http://",                     // 17
    webHost,                                 // 14
    " mailto:",                              // 8
    mailAddress,                             // 12
};
constexpr size_t commentPartLengths[] = {30, 37, 28, 26, 5, 4, 17, 14, 8, 12};

constexpr bool partsHaveTheirLengths() {
    for (size_t i = 0; i < std::size(commentParts); ++i)
        if (commentParts[i].size() != commentPartLengths[i]) return false;
    return true;
}
static_assert(partsHaveTheirLengths(), "a comment part changed length: file offsets would move");

std::vector<uint8_t> makeCommentText() {
    std::vector<uint8_t> text;
    for (std::string_view part : commentParts) text.insert(text.end(), part.begin(), part.end());
    text.push_back(0);  // the NUL is part of the text, counted in its length
    return text;
}

}  // namespace

ColourTable colourTable(int redExponent, int greenExponent, int blueExponent) {
    ColourTable table{};
    for (int i = 0; i < 128; ++i) {
        table[i].red = colourComponent(redExponent, i);
        table[i].green = colourComponent(greenExponent, 128.0 / 3 + i);
        table[i].blue = colourComponent(blueExponent, 2 * (128.0 / 3) + i);
    }
    return table;
}

int frameDelayCentiseconds(int frameCount) {
    int delay = 150 / frameCount;
    if (frameCount > 30) delay = 5;
    if (frameCount < 3) delay = 50;
    return delay;
}

std::span<const uint8_t> commentText() {
    static const std::vector<uint8_t> text = makeCommentText();
    return text;
}

FileHead pictureFileHead(int pictureSize, int frameCount, bool stillBackground, const PictureParams& params) {
    const auto comment = commentText();
    return {pictureSize, colourTable(params.redExponent, params.greenExponent, params.blueExponent),
            frameDelayCentiseconds(frameCount), stillBackground, {comment.begin(), comment.end()}};
}

SmallFile smallPictureFile(int pictureSize, int frameCount, bool stillBackground, const PictureParams& params) {
    const FrameSpec pictures{pictureSize, frameCount, 1, stillBackground};
    return smallFile(pictureFileHead(pictureSize, frameCount, stillBackground, params),
                     possibleIndices(params, pictures));
}

}  // namespace pestrolik
