// A small file must show exactly what the plain file shows: the same screen after every
// frame (transparency included), the same delays, loop and comment, and never be larger.

#include "core_test.h"
#include "generation/frame_drawing.h"
#include "generation/picture_format.h"
#include "gif/small_frame.h"

namespace {

using Pictures = std::function<PixelGrid(int frameNo)>;

PictureParams someParams(int size) {
    PictureParams params;
    params.twistDigit = 7, params.lobeDigit = 2, params.spacingDigit = 9, params.turnDigit = 4;
    params.redExponent = 1, params.greenExponent = 3, params.blueExponent = 0;
    params.backDepth = 41, params.backWaves = 2, params.refSize = size;
    return params;
}

Pictures drawn(int size, int count, bool still) {
    return [=](int frameNo) {
        PixelGrid grid;
        drawFrame(grid, someParams(size), {size, count, frameNo, still});
        return grid;
    };
}

// Frame 2 repeats frame 1; later frames change only a 9 x 5 box, zeros included.
Pictures boxed(int size) {
    return [=](int frameNo) {
        return filledGrid(size, [&](int r, int c) {
            const bool inBox = r >= size / 2 && r < size / 2 + 5 && c >= 3 && c < 12;
            const int phase = inBox && frameNo > 2 ? frameNo : 0;
            return (r * 7 + c * 3 + phase * 5) % 17;
        });
    };
}

std::vector<uint8_t> smallBytes(const FileHead& head, int count, const Pictures& picture) {
    MemorySink sink;
    GifWriter writer(sink);
    EXPECT_TRUE(writer.writeFileHead(head));
    SmallFrameEncoder encoder;
    PixelGrid previous;
    for (int f = 1; f <= count; ++f) {
        const PixelGrid grid = picture(f);
        std::vector<uint8_t> frame;
        EXPECT_TRUE(encoder.encode(f > 1 ? &previous : nullptr, grid, {head.delayCentiseconds, head.transparentZero}, frame));
        EXPECT_TRUE(writer.writeImageData(frame));
        previous = grid;
    }
    EXPECT_TRUE(writer.writeTrailer());
    return sink.bytes();
}

}  // namespace

TEST(SmallFile, ShowsWhatThePlainFileShows) {
    struct Case {
        const char* name;
        int size, count;
        bool still;
        Pictures pictures;
    };
    const Case cases[] = {
        {"smallest, one frame", 10, 1, false, drawn(10, 1, false)},
        {"smallest, still", 10, 2, true, drawn(10, 2, true)},
        {"phone size, a hundred frames", 128, 100, false, drawn(128, 100, false)},
        {"phone size, still", 128, 3, true, drawn(128, 3, true)},
        {"large, still", 400, 2, true, drawn(400, 2, true)},
        {"large, moving", 400, 2, false, drawn(400, 2, false)},
        {"a box changes, moving", 40, 5, false, boxed(40)},
        {"a box changes, still", 40, 5, true, boxed(40)},
    };
    for (const Case& c : cases) {
        const FileHead head = pictureFileHead(c.size, c.count, c.still, someParams(c.size));
        const std::vector<uint8_t> plain = gifBytes(head, c.count, c.pictures);
        const std::vector<uint8_t> small = smallBytes(head, c.count, c.pictures);
        const ShownAnimation expected = showGif(plain), shown = showGif(small);
        ASSERT_TRUE(expected.ok && shown.ok) << c.name << ": " << shown.error;
        EXPECT_EQ(shown.frames.size(), size_t(c.count)) << c.name;
        EXPECT_TRUE(shown.frames == expected.frames) << c.name;
        EXPECT_EQ(shown.delays, expected.delays) << c.name;
        EXPECT_EQ(shown.loopCount, 0) << c.name;
        EXPECT_EQ(shown.comments, expected.comments) << c.name;
        EXPECT_LE(small.size(), plain.size()) << c.name;
    }
}

// A frame that changes nothing costs one cell; a change in a box costs about the box.
TEST(SmallFile, FramesCoverOnlyWhatChanged) {
    const Pictures pictures = boxed(40);
    const SmallFrameLook look{5, false};
    const std::vector<uint8_t> same = smallFrame(nullptr, pictures(2), look);
    const PixelGrid first = pictures(1), second = pictures(2), third = pictures(3);
    const std::vector<uint8_t> unchanged = smallFrame(&first, second, look);
    const std::vector<uint8_t> inBox = smallFrame(&second, third, look);
    EXPECT_EQ(hexMismatch(unchanged, 8, hexBytes("2C 00 00 00 00 01 00 01 00 00")), "");
    EXPECT_EQ(hexMismatch(inBox, 3, hexBytes("04 05 00 .. 00 2C 02 00 13 00 09 00 05 00")), "");
    EXPECT_LT(inBox.size(), same.size() / 4);
}
