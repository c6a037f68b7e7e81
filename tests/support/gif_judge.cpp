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

}  // namespace

DecodedGif decodeGif(const std::vector<uint8_t>& bytes) {
    DecodedGif result;
    Reader reader{bytes};
    auto read = [](GifFileType* gif, GifByteType* out, int wanted) {
        auto& from = *static_cast<Reader*>(gif->UserData);
        const size_t n = std::min(from.bytes.size() - from.at, static_cast<size_t>(wanted));
        std::memcpy(out, from.bytes.data() + from.at, n);
        from.at += n;
        return static_cast<int>(n);
    };
    int error = 0;
    GifFileType* gif = DGifOpen(&reader, read, &error);
    if (!gif || DGifSlurp(gif) != GIF_OK) {
        result.error = GifErrorString(gif ? gif->Error : error);
        if (gif) DGifCloseFile(gif, &error);
        return result;
    }
    result.ok = true;
    result.width = gif->SWidth;
    result.height = gif->SHeight;
    for (int f = 0; f < gif->ImageCount; ++f) {
        const SavedImage& image = gif->SavedImages[f];
        GraphicsControlBlock control{};
        if (DGifSavedExtensionToGCB(gif, f, &control) == GIF_OK)
            result.controlBytes.push_back(control.DisposalMode << 2 | (control.TransparentColor != NO_TRANSPARENT_COLOR));
        PixelGrid grid(image.ImageDesc.Height == image.ImageDesc.Width ? image.ImageDesc.Width : 0);
        if (grid.size() > 0) std::copy_n(image.RasterBits, grid.size() * grid.size(), grid.row(1));
        result.frames.push_back(std::move(grid));
    }
    DGifCloseFile(gif, &error);
    return result;
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
