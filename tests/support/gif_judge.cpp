#include "gif_judge.h"

#include <gif_lib.h>

#include <cstring>
#include <fstream>
#include <iterator>

namespace pestrolik::testing {

namespace {

struct Reader {
    const std::vector<uint8_t>* bytes;
    size_t at = 0;
};

int readFromMemory(GifFileType* gif, GifByteType* out, int wanted) {
    auto* reader = static_cast<Reader*>(gif->UserData);
    const size_t left = reader->bytes->size() - reader->at;
    const size_t n = std::min(left, static_cast<size_t>(wanted));
    std::memcpy(out, reader->bytes->data() + reader->at, n);
    reader->at += n;
    return static_cast<int>(n);
}

}  // namespace

DecodedGif decodeGif(const std::vector<uint8_t>& bytes) {
    DecodedGif result;
    Reader reader{&bytes};
    int error = 0;
    GifFileType* gif = DGifOpen(&reader, readFromMemory, &error);
    if (!gif) {
        result.error = GifErrorString(error);
        return result;
    }
    if (DGifSlurp(gif) != GIF_OK) {
        result.error = GifErrorString(gif->Error);
        DGifCloseFile(gif, &error);
        return result;
    }
    result.width = gif->SWidth;
    result.height = gif->SHeight;
    if (gif->SColorMap) {
        result.colourCount = gif->SColorMap->ColorCount;
        for (int i = 0; i < gif->SColorMap->ColorCount; ++i) {
            const GifColorType& c = gif->SColorMap->Colors[i];
            result.palette.insert(result.palette.end(), {c.Red, c.Green, c.Blue});
        }
    }
    auto readExtensions = [&](int count, ExtensionBlock* blocks) {
        for (int e = 0; e < count; ++e) {
            const ExtensionBlock& block = blocks[e];
            if (block.Function == COMMENT_EXT_FUNC_CODE)
                result.comments.emplace_back(reinterpret_cast<const char*>(block.Bytes), block.ByteCount);
            if (block.Function == APPLICATION_EXT_FUNC_CODE && block.ByteCount == 11 &&
                std::memcmp(block.Bytes, "NETSCAPE2.0", 11) == 0 && e + 1 < count &&
                blocks[e + 1].ByteCount == 3 && blocks[e + 1].Bytes[0] == 1 && blocks[e + 1].Bytes[1] == 0 &&
                blocks[e + 1].Bytes[2] == 0)
                result.loopsForever = true;
        }
    };
    readExtensions(gif->ExtensionBlockCount, gif->ExtensionBlocks);
    for (int f = 0; f < gif->ImageCount; ++f) {
        const SavedImage& image = gif->SavedImages[f];
        readExtensions(image.ExtensionBlockCount, image.ExtensionBlocks);
        GraphicsControlBlock control{};
        if (DGifSavedExtensionToGCB(gif, f, &control) == GIF_OK) {
            result.delays.push_back(control.DelayTime);
            int packed = control.DisposalMode << 2;
            if (control.TransparentColor != NO_TRANSPARENT_COLOR) packed |= 1;
            result.controlBytes.push_back(packed);
        }
        const int w = image.ImageDesc.Width;
        PixelGrid grid(w);
        if (image.ImageDesc.Height == w)
            for (int r = 1; r <= w; ++r)
                for (int c = 1; c <= w; ++c) grid.at(r, c) = image.RasterBits[(r - 1) * w + (c - 1)];
        result.frames.push_back(std::move(grid));
    }
    DGifCloseFile(gif, &error);
    result.ok = true;
    return result;
}

std::vector<uint8_t> readFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace pestrolik::testing
