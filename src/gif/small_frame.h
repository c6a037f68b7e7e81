#pragma once
// Frames for a smaller file that a viewer shows exactly as the whole frames of the
// plain file. A frame covers only the box where its picture differs from the one
// before it, and unchanged pixels in the box become a transparent index no changed pixel
// uses where they make runs of it, or either that or their colour as the LZW likes; the
// LZW keeps adapting.
// With index 0 transparent, a picture's 0 must show what lies behind, so every frame is
// whole and restores the background when it goes, as in the plain file.
//
// A frame's bytes depend only on its picture, the picture before it and the look, so
// frames can be encoded in any order, on any thread, and joined in order.

#include "gif/adaptive_lzw.h"
#include "gif/frame_head.h"
#include "gif/gif_writer.h"
#include "gif/lzw_encoder.h"
#include "gif/pixel_grid.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace pestrolik {

// Each index's stand-in: the lowest index of the same colour. A picture may hold two
// indices of one colour; written as one, they give the LZW fewer symbols and the
// viewer the same screen. A transparent index 0 stands for itself alone.
using StandIns = std::array<uint8_t, 128>;
StandIns standInsOf(const ColourTable& colours, bool transparentZero);
constexpr StandIns eachIndexItsOwn() {
    StandIns own{};
    for (size_t i = 0; i < own.size(); ++i) own[i] = static_cast<uint8_t>(i);
    return own;
}

struct SmallFrameLook {
    int delayCentiseconds;  // 0..65535
    bool transparentZero;   // as the file head says
    // What a picture's index is written as: its stand-in, as numbered in the file's table.
    StandIns standIns = eachIndexItsOwn();
    // The file's colour table. With it, a frame that needs at most half of it may carry
    // a table of its own, so that its indices take fewer bits.
    std::optional<ColourTable> colours = std::nullopt;
    int colourBits = 7;  // of the file's table: its indices and a transparent one are below 2^colourBits
    // Where each of a picture's indices stands in the file's table, no two at one place.
    StandIns renumbered = eachIndexItsOwn();
};

// The look of every frame of the file `head` begins, whose pictures' index i is entry
// renumbered[i] of the file's table.
SmallFrameLook smallFrameLook(const FileHead& head, const StandIns& renumbered = eachIndexItsOwn());

// A small file's head and the look of its frames.
struct SmallFile {
    FileHead head;
    SmallFrameLook look;
};
// The small file of the plain file `plain`, whose pictures hold only `possible` indices.
// Where those fit in a shorter table, the file's table holds just them, in order (0 first
// when it is transparent), and room for a transparent index where frames may need one:
// every frame's indices then take fewer bits, with no table of its own.
SmallFile smallFile(const FileHead& plain, IndexSet possible);

class SmallFrameEncoder {
public:
    // Appends the whole frame (control block, image descriptor, image data) showing
    // `grid` after `previous` (null for the first frame; otherwise the same size).
    // `gate` is asked before each row 1..S and with S + 1 at the end; when it says
    // stop, the answer is false and `out` holds a partial frame. A frame of at most
    // plainCheckedCells is never longer than the plain file's frame.
    bool encode(const PixelGrid* previous, const PixelGrid& grid, const SmallFrameLook& look,
                std::vector<uint8_t>& out, const RowGate& gate = {});

    // Up to 320 x 320 a frame is also encoded as the plain file does and the shorter
    // kept: on small pictures the adaptive LZW may lose to the plain one, by up to 1 % a
    // frame at 200 x 200 and 300 x 300. At 400 x 400 no frame of 40 pictures measured
    // came within 5 % of the plain one, and the check would cost a twentieth more time.
    static constexpr size_t plainCheckedCells = 320 * 320;

    // Which colours a frame's cells hold, as they were copied.
    using ColourSet = std::array<uint8_t, 128>;

private:
    // The frame as encode() says, with no plain frame in its place.
    bool encodeSmall(const PixelGrid* previous, const PixelGrid& grid, const SmallFrameLook& look,
                     std::vector<uint8_t>& out, const RowGate& gate);
    // The frame's head and image data for cells_, whose colours are `colours`.
    void put(const FrameBox& box, int disposal, int transparentIndex, const ColourSet& colours,
             const SmallFrameLook& look, std::vector<uint8_t>& out);
    // Puts `grid` as the plain file does, whole and with the plain LZW, in place of the
    // frame that begins at out[from] when that is shorter.
    void keepPlainIfShorter(const PixelGrid& grid, const SmallFrameLook& look, size_t from,
                            std::vector<uint8_t>& out);

    AdaptiveLzw lzw_;
    LzwEncoder plainLzw_;
    std::vector<uint8_t> plainFrame_;
    PixelGrid renumberedGrid_;  // the picture, as numbered in a shorter table
    std::vector<uint8_t> cells_;
    std::vector<Rgb> ownColours_;
};

}  // namespace pestrolik
