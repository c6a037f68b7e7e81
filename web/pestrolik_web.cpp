// The page's way into the core: the only browser-specific C++. Every number, text and
// byte the page shows or saves comes from the core through these functions; a page
// and its workers each hold their own instance.

#include "common/contact.h"
#include "generation/chance.h"
#include "generation/frame_drawing.h"
#include "generation/picture_format.h"
#include "generation/picture_params.h"
#include "generation/progress.h"
#include "generation/run_inputs.h"
#include "gif/gif_writer.h"
#include "gif/small_frame.h"
#include "messages/run_messages.h"

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <string>

using namespace pestrolik;
using emscripten::val;

namespace {

// One file's settings, as the page hands them over. A new writer option is one more field.
struct FileOptions {
    std::string code;  // the picture's parameters, as paramsCode writes them
    int pictureSize = defaultPictureSize;
    int frameCount = defaultFrameCount;
    bool still = false;
    bool small = false;  // frames cropped and re-encoded for a smaller file
    bool operator==(const FileOptions&) const = default;
};

val bytesToJs(const std::vector<uint8_t>& bytes, size_t from = 0) {
    // A copy the page owns, so its buffer can be transferred.
    return val::global("Uint8Array").new_(emscripten::typed_memory_view(bytes.size() - from, bytes.data() + from));
}

// A frame's bytes stay here until the next frame, and the worker copies them once into
// its Blob: no JS copy in between, and the buffer keeps its capacity, so a frame costs
// no growing vector and no fresh pages.
class FrameSink : public ByteSink {
public:
    bool write(std::span<const uint8_t> bytes) override {
        bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
        return true;
    }
    bool finish() override { return true; }
    void discard() override { bytes_.clear(); }

    std::vector<uint8_t>& bytes() { return bytes_; }
    val view(size_t from = 0) { return val(emscripten::typed_memory_view(bytes_.size() - from, bytes_.data() + from)); }

private:
    std::vector<uint8_t> bytes_;
};

FrameSink& frameSink() {
    static FrameSink sink;
    sink.bytes().clear();
    return sink;
}

FileHead headOf(const FileOptions& file, const PictureParams& params) {
    return pictureFileHead(file.pictureSize, file.frameCount, file.still, params);
}

SmallFile smallFileOf(const FileOptions& file, const PictureParams& params) {
    return smallPictureFile(file.pictureSize, file.frameCount, file.still, params);
}

PixelGrid drawn(const FileOptions& file, const PictureParams& params, int frameNo) {
    PixelGrid grid;
    drawFrame(grid, params, {file.pictureSize, file.frameCount, frameNo, file.still});
    return grid;
}

// A small frame depends on the picture before it. The page hands a worker runs of
// frames in order, so that picture is usually the one this worker drew last; otherwise
// it is drawn again, and any worker can take any frame. The encoder and the sink keep
// their tables and buffer from frame to frame, and the file's look stays while its
// frames come.
val smallFrameBytes(const FileOptions& file, const PictureParams& params, int frameNo) {
    static SmallFrameEncoder encoder;
    static struct {
        FileOptions file;
        SmallFrameLook look{};
        int frameNo = 0;  // of `grid`; 0: none
        PixelGrid grid;
    } last;
    if (!(last.file == file)) {
        last.file = file;
        last.look = smallFileOf(file, params).look;
        last.frameNo = 0;
    }
    PixelGrid previous;
    if (frameNo > 1) previous = last.frameNo == frameNo - 1 ? std::move(last.grid) : drawn(file, params, frameNo - 1);
    PixelGrid grid = drawn(file, params, frameNo);
    FrameSink& sink = frameSink();
    encoder.encode(frameNo > 1 ? &previous : nullptr, grid, last.look, sink.bytes());
    last.frameNo = frameNo;
    last.grid = std::move(grid);
    return sink.view();
}

// {problem: the refusal's text or "", frameCount, pictureSize}, as START reads the boxes.
val readInputs(const std::string& countText, const std::string& sizeText) {
    const RunInputs inputs = readRunInputs(countText, sizeText);
    val result = val::object();
    result.set("problem", std::string(inputProblemMessage(inputs.problem)));
    result.set("frameCount", inputs.frameCount);
    result.set("pictureSize", inputs.pictureSize);
    return result;
}

// The number a text begins with, or NaN.
double numberOrNaN(const std::string& text) { return numberAtStart(text).value_or(__builtin_nan("")); }

// The code in its written form, or "" when it is not a code.
std::string normalCode(const std::string& code) {
    const auto params = parseParamsCode(code);
    return params ? paramsCode(*params) : std::string();
}

// New parameters drawn as START draws them, for a picture of `pictureSize`.
std::string freshCode(int pictureSize) {
    SystemClock clock;
    SystemRandom random;
    PictureParams params;
    chooseParameters(params, clock, random);
    params.refSize = pictureSize;
    return paramsCode(params);
}

// Signature up to the comment block.
val fileHead(const FileOptions& file) {
    MemorySink sink;
    GifWriter writer(sink);
    const PictureParams params = *parseParamsCode(file.code);
    writer.writeFileHead(file.small ? smallFileOf(file, params).head : headOf(file, params));
    return bytesToJs(sink.bytes());
}

// Frame `frameNo`: its head and image data, as a view into the module's memory that is
// valid until the next call. `onRow(row)` is told when the frame strip's step changes,
// before that row is encoded.
val frame(const FileOptions& file, int frameNo, val onRow) {
    const PictureParams params = *parseParamsCode(file.code);
    if (file.small) return smallFrameBytes(file, params, frameNo);
    FrameSink& sink = frameSink();
    GifWriter writer(sink);
    writer.writeFileHead(headOf(file, params));
    const size_t headLength = sink.bytes().size();
    const PixelGrid grid = drawn(file, params, frameNo);
    writer.writeFrameHead();
    int shownStep = 0;
    writer.encodeFrame(grid, [&](int row) {
        if (row <= file.pictureSize) {
            const int step = frameStripStep(row, file.pictureSize);
            if (step != shownStep) onRow(row);
            shownStep = step;
        }
        return true;
    });
    return sink.view(headLength);
}

val trailer() {
    MemorySink sink;
    GifWriter writer(sink);
    writer.writeTrailer();
    return bytesToJs(sink.bytes());
}

// What the window says at the end of a run: "done" (with the file's name) or "stopped".
std::string endMessage(const std::string& outcome, const std::string& fileName) {
    if (outcome == "done") return runMessage({RunOutcome::Completed, fileName}).lines.front();
    return joinLines(runMessage({RunOutcome::Stopped, {}}).lines, "\n");
}

std::string webLink() { return std::string(webAddress); }
std::string mailLink() { return std::string(mailAddress); }

}  // namespace

EMSCRIPTEN_BINDINGS(pestrolik) {
    emscripten::value_object<FileOptions>("FileOptions")
        .field("code", &FileOptions::code)
        .field("pictureSize", &FileOptions::pictureSize)
        .field("frameCount", &FileOptions::frameCount)
        .field("still", &FileOptions::still)
        .field("small", &FileOptions::small);
    emscripten::function("readInputs", &readInputs);
    emscripten::function("numberAtStart", &numberOrNaN);
    emscripten::function("normalCode", &normalCode);
    emscripten::function("freshCode", &freshCode);
    emscripten::function("percentDone", &percentDone);
    emscripten::function("fileHead", &fileHead);
    emscripten::function("frame", &frame);
    emscripten::function("trailer", &trailer);
    emscripten::function("endMessage", &endMessage);
    emscripten::function("webAddress", &webLink);
    emscripten::function("mailAddress", &mailLink);
}
