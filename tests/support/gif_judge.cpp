#include "gif_judge.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>

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

// Hands giflib's reading of the whole of `bytes` to `use`; the reason it failed, or what
// `use` found wrong, or "".
std::string withGif(const std::vector<uint8_t>& bytes, const std::function<std::string(GifFileType&)>& use) {
    Reader reader{bytes};
    int error = 0;
    GifFileType* gif = DGifOpen(&reader, readBytes, &error);
    const bool read = gif && DGifSlurp(gif) == GIF_OK;
    const std::string why = read ? use(*gif) : GifErrorString(gif ? gif->Error : error);
    if (gif) DGifCloseFile(gif, &error);
    return why;
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

DecodedGif decodeGif(const std::vector<uint8_t>& bytes) {
    DecodedGif result;
    result.error = withGif(bytes, [&](GifFileType& gif) {
        result.width = gif.SWidth, result.height = gif.SHeight;
        for (int f = 0; f < gif.ImageCount; ++f) {
            const GifImageDesc& box = gif.SavedImages[f].ImageDesc;
            GraphicsControlBlock control{};
            if (DGifSavedExtensionToGCB(&gif, f, &control) == GIF_OK)
                result.controlBytes.push_back(control.DisposalMode << 2 | (control.TransparentColor != NO_TRANSPARENT_COLOR));
            PixelGrid grid(box.Height == box.Width ? box.Width : 0);
            if (grid.size() > 0) std::copy_n(gif.SavedImages[f].RasterBits, grid.size() * grid.size(), grid.row(1));
            result.frames.push_back(std::move(grid));
        }
        return std::string();
    });
    result.ok = result.error.empty();
    return result;
}

ShownAnimation showGif(const std::vector<uint8_t>& bytes) {
    ShownAnimation shown;
    shown.error = withGif(bytes, [&](GifFileType& gif) {
        std::string wrong;
        shown.width = gif.SWidth, shown.height = gif.SHeight;
        std::vector<uint32_t> screen(static_cast<size_t>(shown.width) * shown.height, background);
        for (int f = 0; f < gif.ImageCount; ++f) {
            const SavedImage& image = gif.SavedImages[f];
            readExtensions(image, shown);
            GraphicsControlBlock control{DISPOSAL_UNSPECIFIED, false, 0, NO_TRANSPARENT_COLOR};
            DGifSavedExtensionToGCB(&gif, f, &control);
            const GifImageDesc& box = image.ImageDesc;
            const ColorMapObject* colours = box.ColorMap ? box.ColorMap : gif.SColorMap;
            const std::vector<uint32_t> before = screen;
            for (int y = 0; y < box.Height; ++y)
                for (int x = 0; x < box.Width; ++x) {
                    const int index = image.RasterBits[y * box.Width + x];
                    const int sx = box.Left + x, sy = box.Top + y;
                    if (index == control.TransparentColor || sx >= shown.width || sy >= shown.height) continue;
                    if (!colours || index >= colours->ColorCount) {
                        wrong = "index outside the colour table";
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
        return wrong;
    });
    shown.ok = shown.error.empty();
    return shown;
}

std::vector<uint8_t> readFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool sameCells(const PixelGrid& a, const PixelGrid& b) {
    return a.size() == b.size() && (a.size() == 0 || std::equal(a.row(1), a.row(1) + a.size() * a.size(), b.row(1)));
}

PixelGrid filledGrid(int size, const std::function<int(int, int)>& cell) {
    PixelGrid grid(size);
    for (int r = 1; r <= size; ++r)
        for (int c = 1; c <= size; ++c) grid.at(r, c) = static_cast<uint8_t>(cell(r, c));
    return grid;
}

std::vector<uint8_t> gifBytes(const FileHead& head, int frameCount, const std::function<PixelGrid(int)>& frame) {
    MemorySink sink;
    GifWriter writer(sink);
    bool written = writer.writeFileHead(head);
    for (int f = 1; f <= frameCount; ++f) written = written && writer.writeFrameHead() && writer.encodeFrame(frame(f));
    return written && writer.writeTrailer() && sink.finished() ? sink.bytes() : std::vector<uint8_t>{};
}

std::vector<int> hexBytes(const std::string& text) {
    std::vector<int> bytes;
    std::istringstream in(text);
    for (std::string line, word; std::getline(in, line);)
        for (std::istringstream words(line.substr(0, line.find('#'))); words >> word;)
            bytes.push_back(word == ".." ? -1 : std::stoi(word, nullptr, 16));
    return bytes;
}

std::vector<int> hexFile(const std::string& path) {
    const std::vector<uint8_t> text = readFileBytes(path);
    return hexBytes({text.begin(), text.end()});
}

std::string hexMismatch(const std::vector<uint8_t>& bytes, size_t at, const std::vector<int>& expected) {
    if (expected.empty() || at + expected.size() > bytes.size()) return "too few bytes";
    for (size_t i = 0; i < expected.size(); ++i)
        if (expected[i] >= 0 && bytes[at + i] != expected[i])
            return "offset " + std::to_string(at + i) + ": " + std::to_string(bytes[at + i]) + ", not " +
                   std::to_string(expected[i]);
    return "";
}

}  // namespace pestrolik::testing
