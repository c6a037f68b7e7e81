#include "gif_compositor.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>

namespace pestrolik::testing {

namespace {

struct Reader {
    const std::vector<uint8_t>& bytes;
    size_t at = 0;
};

int readBytes(GifFileType* gif, GifByteType* out, int wanted) {
    auto& from = *static_cast<Reader*>(gif->UserData);
    const size_t n = std::min(from.bytes.size() - from.at, static_cast<size_t>(wanted));
    std::memcpy(out, from.bytes.data() + from.at, n);
    from.at += n;
    return static_cast<int>(n);
}

// The looping extension and the comments among an image's extension blocks.
void readExtensions(const SavedImage& image, ShownAnimation& shown) {
    for (int i = 0; i < image.ExtensionBlockCount; ++i) {
        const ExtensionBlock& block = image.ExtensionBlocks[i];
        const auto* data = reinterpret_cast<const uint8_t*>(block.Bytes);
        if (block.Function == COMMENT_EXT_FUNC_CODE) shown.comments.insert(shown.comments.end(), data, data + block.ByteCount);
        const bool looping = block.Function == APPLICATION_EXT_FUNC_CODE && block.ByteCount == 11 &&
                             std::memcmp(data, "NETSCAPE2.0", 11) == 0 && i + 1 < image.ExtensionBlockCount;
        if (!looping) continue;
        const ExtensionBlock& next = image.ExtensionBlocks[i + 1];
        const auto* loop = reinterpret_cast<const uint8_t*>(next.Bytes);
        if (next.ByteCount == 3 && loop[0] == 1) shown.loopCount = loop[1] | loop[2] << 8;
    }
}

}  // namespace

ShownAnimation showGif(const std::vector<uint8_t>& bytes) {
    ShownAnimation shown;
    Reader reader{bytes};
    int error = 0;
    GifFileType* gif = DGifOpen(&reader, readBytes, &error);
    if (!gif || DGifSlurp(gif) != GIF_OK) {
        shown.error = GifErrorString(gif ? gif->Error : error);
        if (gif) DGifCloseFile(gif, &error);
        return shown;
    }
    shown.ok = true;
    shown.width = gif->SWidth;
    shown.height = gif->SHeight;
    std::vector<uint32_t> screen(static_cast<size_t>(shown.width) * shown.height, background);
    for (int f = 0; f < gif->ImageCount; ++f) {
        const SavedImage& image = gif->SavedImages[f];
        readExtensions(image, shown);
        GraphicsControlBlock control{DISPOSAL_UNSPECIFIED, false, 0, NO_TRANSPARENT_COLOR};
        DGifSavedExtensionToGCB(gif, f, &control);
        const GifImageDesc& box = image.ImageDesc;
        const ColorMapObject* colours = box.ColorMap ? box.ColorMap : gif->SColorMap;
        const std::vector<uint32_t> before = screen;
        for (int y = 0; y < box.Height; ++y)
            for (int x = 0; x < box.Width; ++x) {
                const int index = image.RasterBits[y * box.Width + x];
                const int sx = box.Left + x, sy = box.Top + y;
                if (index == control.TransparentColor || sx >= shown.width || sy >= shown.height) continue;
                if (!colours || index >= colours->ColorCount) {
                    shown.ok = false, shown.error = "index outside the colour table";
                    continue;
                }
                const GifColorType c = colours->Colors[index];
                screen[static_cast<size_t>(sy) * shown.width + sx] = 0xFF000000u | c.Red << 16 | c.Green << 8 | c.Blue;
            }
        shown.frames.push_back(screen);
        shown.delays.push_back(control.DelayTime);
        if (control.DisposalMode == DISPOSE_PREVIOUS) screen = before;
        if (control.DisposalMode != DISPOSE_BACKGROUND) continue;
        for (int y = box.Top; y < std::min(box.Top + box.Height, shown.height); ++y)
            for (int x = box.Left; x < std::min(box.Left + box.Width, shown.width); ++x)
                screen[static_cast<size_t>(y) * shown.width + x] = background;
    }
    DGifCloseFile(gif, &error);
    return shown;
}

}  // namespace pestrolik::testing
