// A small file must show exactly what the plain file shows: the same screen after every
// frame (transparency included), the same delays, loop and comment, and be smaller.

#include "core_test.h"
#include "generation/frame_drawing.h"
#include "generation/picture_format.h"
#include "generation/picture_params.h"
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

Pictures drawn(int size, int count, bool still, const PictureParams& params) {
    return [=](int frameNo) {
        PixelGrid grid;
        drawFrame(grid, params, {size, count, frameNo, still});
        return grid;
    };
}

// Nine colours in bands; every third row moves on each frame, the others stay. From
// frame 2 on, a tenth colour stands only in the first column, on every fifth row.
Pictures banded(int size) {
    return [=](int frameNo) {
        return filledGrid(size, [&](int r, int c) {
            return c == 1 && r % 5 == 0 && frameNo > 1 ? 20 : (r / 4 + c / 4 + (r % 3 == 0 ? frameNo : 0)) % 9;
        });
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

// The small file of the plain file `plain`, whose pictures hold only `possible` indices.
std::vector<uint8_t> smallBytes(const FileHead& plain, int count, const Pictures& picture, const IndexSet& possible) {
    const SmallFile file = smallFile(plain, possible);
    MemorySink sink;
    GifWriter writer(sink);
    bool written = writer.writeFileHead(file.head);
    SmallFrameEncoder encoder;
    PixelGrid previous, grid;
    for (int f = 1; f <= count && written; ++f, previous = grid) {
        std::vector<uint8_t> frame;
        grid = picture(f);
        written = encoder.encode(f > 1 ? &previous : nullptr, grid, file.look, frame) && writer.writeImageData(frame);
    }
    return written && writer.writeTrailer() ? sink.bytes() : std::vector<uint8_t>{};
}

}  // namespace

TEST(SmallFile, ShowsWhatThePlainFileShows) {
    for (const DataRow& c : readDataTable(TEST_DATA_DIR "/small_files.txt")) {
        const int size = std::stoi(c[1]), count = std::stoi(c[2]);
        const bool still = c[3] == "still";
        // "drawn" alone: someParams; "drawn CODE": the picture with that parameter code.
        const PictureParams params = c[4].size() > 6 ? parseParamsCode(c[4].substr(6)).value() : someParams(size);
        const Pictures pictures =
            c[4] == "boxed" ? boxed(size) : c[4] == "banded" ? banded(size) : drawn(size, count, still, params);
        const FileHead head = pictureFileHead(size, count, still, params);
        // The colours a file's table holds: those the drawing may use, or all.
        IndexSet possible;
        possible.fill(true);
        if (c[4].starts_with("drawn")) possible = possibleIndices(params, {size, count, 1, still});
        const std::vector<uint8_t> plain = gifBytes(head, count, pictures),
                                   small = smallBytes(head, count, pictures, possible);
        const ShownAnimation expected = showGif(plain), shown = showGif(small);
        ASSERT_TRUE(expected.ok && shown.ok) << c[0] << ": " << shown.error;
        EXPECT_TRUE(shown == expected) << c[0] << ": the screens, delays, loop and comments";
        EXPECT_LE(static_cast<double>(small.size()), static_cast<double>(plain.size()) * std::stod(c[5])) << c[0];
    }
}

// A frame put as the plain file puts it, where that is shorter, is numbered as the file's
// table numbers the picture's indices (here 1..127 the other way round; 0, transparent,
// stays), and so shows the same colours.
TEST(SmallFile, PlainFramesFollowTheTablesNumbering) {
    const int size = 200, count = 8;  // at this size some plain frames of this picture are the shorter
    const PictureParams params = parseParamsCode("5,6,8,1,2,0,2,18,1,200").value();
    const FileHead plain = pictureFileHead(size, count, true, params);
    FileHead reordered = plain;
    StandIns renumbered = eachIndexItsOwn();
    for (int i = 1; i < 128; ++i) {
        renumbered[i] = static_cast<uint8_t>(128 - i);
        reordered.colours[128 - i] = plain.colours[i];
    }
    const SmallFrameLook look = smallFrameLook(reordered, renumbered);
    MemorySink sink;
    GifWriter writer(sink);
    writer.writeFileHead(reordered);
    SmallFrameEncoder encoder;
    const Pictures pictures = drawn(size, count, true, params);
    PixelGrid previous, grid;
    for (int f = 1; f <= count; ++f, previous = grid) {
        std::vector<uint8_t> frame;
        grid = pictures(f);
        encoder.encode(f > 1 ? &previous : nullptr, grid, look, frame);
        writer.writeImageData(frame);
    }
    ASSERT_TRUE(writer.writeTrailer());
    EXPECT_TRUE(showGif(sink.bytes()) == showGif(gifBytes(plain, count, pictures)));
}

// A frame that changes nothing is one cell; a change in a box, the box; the rows are
// checked as for a plain frame.
TEST(SmallFile, FramesCoverOnlyWhatChanged) {
    const Pictures pictures = boxed(40);
    const SmallFrameLook look{5, false};
    const PixelGrid first = pictures(1), second = pictures(2), third = pictures(3);
    const auto frameBytes = [&](const PixelGrid& before, const PixelGrid& now) {
        std::vector<uint8_t> bytes;
        SmallFrameEncoder().encode(&before, now, look, bytes);
        return bytes;
    };
    const std::vector<uint8_t> unchanged = frameBytes(first, second), inBox = frameBytes(second, third);
    EXPECT_EQ(hexMismatch(unchanged, 8, hexBytes("2C 00 00 00 00 01 00 01 00 00")), "");
    EXPECT_EQ(hexMismatch(inBox, 3, hexBytes("04 05 00 .. 00 2C 02 00 13 00 09 00 05 00")), "");
    // Every row, then once more before the final codes, for a box and for a whole frame.
    for (const PixelGrid* before : {&second, static_cast<const PixelGrid*>(nullptr)}) {
        std::vector<int> asked;
        std::vector<uint8_t> gated;
        SmallFrameEncoder().encode(before, third, look, gated, [&](int row) { return asked.push_back(row), true; });
        EXPECT_TRUE((!before || gated == inBox) && asked.size() == 41 && asked.back() == 41);
    }
}

// A large frame of few colours carries a table of just those, and its indices take
// only the bits they need; a small one keeps the file's table.
TEST(SmallFile, FewColoursGetATableOfTheirOwn) {
    const FileHead head = pictureFileHead(120, 3, false, someParams(120));
    for (const auto& [size, flags, codeSize] : {std::tuple{120, 0x83, 4}, std::tuple{16, 0x00, 7}}) {
        std::vector<uint8_t> frame;
        SmallFrameEncoder().encode(nullptr, banded(size)(1), smallFrameLook(head), frame);
        const size_t table = flags ? 3 << 4 : 0;  // 16 entries: nine colours rounded up
        EXPECT_EQ(hexMismatch(frame, 17, {flags}), "") << size;
        ASSERT_GT(frame.size(), 18 + table);
        EXPECT_EQ(frame[18 + table], codeSize) << size;
    }
}

// Indices of one colour are written as the lowest of them, but never as a transparent 0:
// a frame then encodes as if its picture held only the lowest.
TEST(SmallFile, IndicesOfOneColourAreWrittenAsOne) {
    ColourTable colours;
    for (int i = 0; i < 128; ++i) colours[i] = {static_cast<uint8_t>(i), 0, 0};
    colours[2] = colours[0], colours[5] = colours[3];
    const StandIns opaque = standInsOf(colours, false), transparent = standInsOf(colours, true);
    EXPECT_TRUE(opaque[2] == 0 && opaque[5] == 3 && opaque[4] == 4 && opaque[127] == 127);
    EXPECT_TRUE(transparent[2] == 2 && transparent[5] == 3 && transparent[0] == 0);

    const Pictures pictures = boxed(40);
    const auto merged = [&](int frameNo) {
        const PixelGrid grid = pictures(frameNo);
        return filledGrid(40, [&](int r, int c) { return opaque[grid.at(r, c)]; });
    };
    for (const bool still : {true, false}) {
        const SmallFrameLook look{5, still, opaque}, plainLook{5, still};
        std::vector<uint8_t> frames, mergedFrames;
        SmallFrameEncoder encoder;
        for (int f = 2; f <= 4; ++f) {
            const PixelGrid before = pictures(f - 1), now = pictures(f), mergedBefore = merged(f - 1), mergedNow = merged(f);
            encoder.encode(&before, now, look, frames);
            encoder.encode(&mergedBefore, mergedNow, plainLook, mergedFrames);
        }
        EXPECT_TRUE(frames == mergedFrames) << (still ? "still" : "moving");
    }
}
