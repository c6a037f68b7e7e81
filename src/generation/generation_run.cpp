#include "generation/generation_run.h"

#include "generation/frame_drawing.h"
#include "generation/frame_pipeline.h"
#include "generation/picture_format.h"
#include "gif/gif_writer.h"
#include "generation/progress.h"

#include <cerrno>
#include <chrono>
#include <memory>
#include <optional>

namespace pestrolik {

namespace {

// Names another program took since they were looked up are given up for the next.
constexpr int takenNameTries = 1000;

// The row check: STOP and closing first, then the progress the host shows, each value
// passed on only when it changes.
class RowCheck {
public:
    RowCheck(RunHost& host, int pictureSize, int frameCount)
        : host_(host), pictureSize_(pictureSize), frameCount_(frameCount) {}

    // Before row `row` of frame `frameNo`; row pictureSize + 1 is the check before the
    // frame's final codes, which shows nothing. False once the run must end.
    bool pass(int frameNo, int row) {
        verdict_ = host_.verdict();
        if (verdict_ != RunVerdict::Continue) return false;
        if (row > pictureSize_) return true;
        report(frameStrip_, frameStripStep(row, pictureSize_), &RunHost::frameStripChanged);
        report(percent_, percentDone(frameNo, row, pictureSize_, frameCount_), &RunHost::percentChanged);
        report(totalStrip_, totalStripStep(frameNo, row, pictureSize_, frameCount_), &RunHost::totalStripChanged);
        return true;
    }

    // STOP and closing only, while nothing is being written.
    bool goOn() {
        verdict_ = host_.verdict();
        return verdict_ == RunVerdict::Continue;
    }

    RunVerdict verdict() const { return verdict_; }

private:
    void report(int& shown, int value, void (RunHost::*show)(int)) {
        if (value == shown) return;
        shown = value;
        (host_.*show)(value);
    }

    RunHost& host_;
    const int pictureSize_;
    const int frameCount_;
    RunVerdict verdict_ = RunVerdict::Continue;
    int frameStrip_ = 0;
    int totalStrip_ = 0;
    int percent_ = 0;
};

}  // namespace

SinkOpener fileSinkOpener() {
    return [](const std::string& path, CreateError& error) -> std::unique_ptr<ByteSink> {
        return FileSink::createNew(path, error);
    };
}

RunResult runGeneration(const RunRequest& request, RunHost& host, const SinkOpener& openSink) {
    RunResult result{RunOutcome::Completed, request.outputPath};
    CreateError createError;
    std::unique_ptr<ByteSink> sink = openSink(result.path, createError);
    for (int tries = 0; !sink && createError == CreateError::AlreadyExists && request.nextFreePath &&
                        tries < takenNameTries;
         ++tries) {
        result.path = request.nextFreePath();
        sink = openSink(result.path, createError);
    }
    if (!sink) {
        result.outcome =
            createError == CreateError::AlreadyExists ? RunOutcome::FileExists : RunOutcome::CreateFailed;
        result.reason = createError.reason;
        return result;
    }

    GifWriter writer(*sink);
    const int size = request.pictureSize;
    const PictureParams& params = request.params;
    const FileHead head = pictureFileHead(size, request.frameCount, request.stillBackground, params);
    auto ended = [&](RunOutcome outcome) {
        if (outcome == RunOutcome::WriteFailed) result.reason = sink->failureReason();
        writer.abandonFile();
        result.outcome = outcome;
        return result;
    };
    auto failed = [&] { return ended(RunOutcome::WriteFailed); };
    if (!writer.writeFileHead(head)) return failed();
    host.percentChanged(0);

    std::optional<FramePipeline> pipeline;
    if (request.jobs > 1) {
        pipeline.emplace(params, FrameSpec{size, request.frameCount, 1, request.stillBackground}, request.jobs);
    }

    RowCheck check(host, size, request.frameCount);
    PixelGrid grid;
    for (int frameNo = 1; frameNo <= request.frameCount; ++frameNo) {
        host.pictureStarted(frameNo);
        if (!writer.writeFrameHead()) return failed();

        bool passed = true;
        if (pipeline) {
            // Frames are handed out here, on the host's thread, each with the host's
            // still-background choice of that moment; a change therefore misses the
            // frames already out, at most FramePipeline::lookahead(jobs) of them.
            while (pipeline->wantsFrame()) pipeline->handOut(host.stillBackground());
            // Waiting in short slices keeps the host's events turning and lets STOP end
            // the run before the frame is ready. The frame's row checks are replayed as
            // its worker reaches the rows, the rest once it is ready: the same progress,
            // and the same last chance to stop before its bytes are written.
            std::optional<std::vector<uint8_t>> imageData;
            int replayed = 0;
            while (passed && !(imageData = pipeline->take(frameNo, std::chrono::milliseconds(2)))) {
                host.yield();
                const int begun = pipeline->rowsBegun(frameNo);
                passed = check.goOn();
                while (passed && replayed < begun) passed = check.pass(frameNo, ++replayed);
            }
            while (passed && replayed <= size) passed = check.pass(frameNo, ++replayed);
            if (passed && !writer.writeImageData(*imageData)) return failed();
            if (passed) host.yield();  // at least one turn a frame, however fast they come
        } else {
            const FrameSpec frame{size, request.frameCount, frameNo, host.stillBackground()};
            drawFrame(grid, params, frame, [&] { host.yield(); });
            const RowGate gate = [&](int row) {
                if (row > 1) host.yield();  // after the previous row
                return check.pass(frameNo, row);
            };
            if (!writer.encodeFrame(grid, gate) && !writer.stopped()) return failed();
            passed = !writer.stopped();
        }
        if (!passed) return ended(check.verdict() == RunVerdict::Exit ? RunOutcome::Exited : RunOutcome::Stopped);
    }
    if (writer.writeTrailer()) return result;
    // The name was taken while the file was being made: the whole file goes to the
    // next free name, or, for a name the user gave, nowhere.
    for (int tries = 0; sink->failureReason() == EEXIST && request.nextFreePath && tries < takenNameTries; ++tries) {
        result.path = request.nextFreePath();
        if (sink->finishAs(result.path)) return result;
    }
    return ended(sink->failureReason() == EEXIST ? RunOutcome::FileExists : RunOutcome::WriteFailed);
}

}  // namespace pestrolik
