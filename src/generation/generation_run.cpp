#include "generation/generation_run.h"

#include "generation/frame_drawing.h"
#include "generation/frame_pipeline.h"
#include "generation/picture_format.h"
#include "generation/progress.h"
#include "gif/gif_writer.h"

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
        if (!goOn()) return false;
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

    // How the run ends once a check said no.
    RunOutcome ending() const { return verdict_ == RunVerdict::Exit ? RunOutcome::Exited : RunOutcome::Stopped; }

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

// How one attempt to put the file under a name went.
enum class Naming { Done, Taken, Failed };

// While the name proves taken, `attempt` at the next free name of an automatically
// named file; `path` ends as the last name tried.
Naming retryFreeNames(const RunRequest& request, Naming outcome, std::string& path,
                      const std::function<Naming(const std::string&)>& attempt) {
    for (int tries = 0; outcome == Naming::Taken && request.nextFreePath && tries < takenNameTries; ++tries) {
        path = request.nextFreePath();
        outcome = attempt(path);
    }
    return outcome;
}

// The sink for the run's file, or null with the outcome and reason set in `result`.
std::unique_ptr<ByteSink> openFile(const RunRequest& request, const SinkOpener& openSink, RunResult& result) {
    std::unique_ptr<ByteSink> sink;
    CreateError error;
    const auto open = [&](const std::string& path) {
        sink = openSink(path, error);
        if (sink) return Naming::Done;
        return error == CreateError::AlreadyExists ? Naming::Taken : Naming::Failed;
    };
    const Naming opened = retryFreeNames(request, open(result.path), result.path, open);
    if (opened != Naming::Done) {
        result.outcome = opened == Naming::Taken ? RunOutcome::FileExists : RunOutcome::CreateFailed;
        result.reason = error.reason;
    }
    return sink;
}

// Writes the head and the frames, each frame drawn here between the host's yields or
// taken from worker threads that made it ahead.
class FrameWriting {
public:
    FrameWriting(const RunRequest& request, RunHost& host, GifWriter& writer)
        : request_(request),
          host_(host),
          writer_(writer),
          check_(host, request.pictureSize, request.frameCount),
          head_(pictureFileHead(request.pictureSize, request.frameCount, request.stillBackground, request.params)),
          small_(request.small ? smallPictureFile(request.pictureSize, request.frameCount, request.stillBackground,
                                                  request.params)
                               : SmallFile{head_, smallFrameLook(head_)}),
          animation_(request.animation ? request.animation(head_) : nullptr) {
        if (request.jobs > 1 && (animation_ || !request.animation)) {
            const FrameSpec file{request.pictureSize, request.frameCount, 1, request.stillBackground};
            pipeline_.emplace(request.params, file, request.jobs, coding(), small_.look, animation_.get());
        }
    }

    // Completed once the last frame is written; the file is still open then.
    RunOutcome writeHeadAndFrames() {
        if (request_.animation) {
            if (!animation_) return RunOutcome::WriteFailed;
        } else if (!writer_.writeFileHead(coding() == FrameCoding::SmallGif ? small_.head : head_))
            return RunOutcome::WriteFailed;
        host_.percentChanged(0);
        for (int frameNo = 1; frameNo <= request_.frameCount; ++frameNo) {
            host_.pictureStarted(frameNo);
            if (coding() == FrameCoding::PlainGif && !writer_.writeFrameHead()) return RunOutcome::WriteFailed;
            const RunOutcome frame = pipeline_ ? takeMadeAhead(frameNo) : drawAndEncode(frameNo);
            if (frame != RunOutcome::Completed) return frame;
        }
        return RunOutcome::Completed;
    }

    // The whole animation of another format, after the last frame.
    std::vector<uint8_t> animationBytes() { return animation_ ? animation_->finish() : std::vector<uint8_t>{}; }

private:
    // A small file's table holds the colours of the background the run began with.
    bool stillBackground() const {
        return coding() == FrameCoding::SmallGif ? request_.stillBackground : host_.stillBackground();
    }

    FrameCoding coding() const {
        if (request_.animation) return FrameCoding::Animation;
        return request_.small ? FrameCoding::SmallGif : FrameCoding::PlainGif;
    }

    RunOutcome drawAndEncode(int frameNo) {
        const FrameSpec frame{request_.pictureSize, request_.frameCount, frameNo, stillBackground()};
        std::swap(previous_, grid_);
        drawFrame(grid_, request_.params, frame, [&] { host_.yield(); });
        const RowGate gate = [&](int row) {
            if (row > 1) host_.yield();  // after the previous row
            return check_.pass(frameNo, row);
        };
        if (coding() == FrameCoding::PlainGif) {
            if (writer_.encodeFrame(grid_, gate)) return RunOutcome::Completed;
            return writer_.stopped() ? check_.ending() : RunOutcome::WriteFailed;
        }
        frameBytes_.clear();
        if (coding() == FrameCoding::SmallGif) {
            if (!smallEncoder_.encode(frameNo > 1 ? &previous_ : nullptr, grid_, small_.look, frameBytes_, gate))
                return check_.ending();
        } else {
            for (int row = 1; row <= request_.pictureSize + 1; ++row)
                if (!gate(row)) return check_.ending();
            frameBytes_ = animation_->encodeFrame({grid_.row(1), static_cast<size_t>(grid_.size()) * grid_.size()},
                                                  [&] { return host_.yield(), check_.goOn(); });
            if (frameBytes_.empty() && !check_.goOn()) return check_.ending();
        }
        return deliver(frameBytes_);
    }

    // A frame's bytes as the pipeline makes them, into the file or the animation.
    RunOutcome deliver(const std::vector<uint8_t>& bytes) {
        if (animation_) return animation_->add(bytes) ? RunOutcome::Completed : RunOutcome::WriteFailed;
        return writer_.writeImageData(bytes) ? RunOutcome::Completed : RunOutcome::WriteFailed;
    }

    RunOutcome takeMadeAhead(int frameNo) {
        // Frames are handed out here, on the host's thread, each with the host's
        // still-background choice of that moment (a small file's is the run's); a change
        // therefore misses the frames already out, at most FramePipeline::lookahead(jobs)
        // of them.
        while (pipeline_->wantsFrame()) pipeline_->handOut(stillBackground());
        // Waiting in short slices keeps the host's events turning and lets STOP end the
        // run before the frame is ready. The frame's row checks are replayed as its
        // worker reaches the rows, the rest once it is ready: the same progress, and the
        // same last chance to stop before its bytes are written.
        std::optional<std::vector<uint8_t>> imageData;
        int replayed = 0;
        while (!(imageData = pipeline_->take(frameNo, std::chrono::milliseconds(2)))) {
            host_.yield();
            if (!check_.goOn() || !replayChecks(frameNo, replayed, pipeline_->rowsBegun(frameNo))) return check_.ending();
        }
        if (!replayChecks(frameNo, replayed, request_.pictureSize + 1)) return check_.ending();
        if (const RunOutcome delivered = deliver(*imageData); delivered != RunOutcome::Completed) return delivered;
        host_.yield();  // at least one turn a frame, however fast they come
        return RunOutcome::Completed;
    }

    bool replayChecks(int frameNo, int& replayed, int upToRow) {
        while (replayed < upToRow)
            if (!check_.pass(frameNo, ++replayed)) return false;
        return true;
    }

    const RunRequest& request_;
    RunHost& host_;
    GifWriter& writer_;
    RowCheck check_;
    const FileHead head_;
    const SmallFile small_;  // its head and what every small frame is written with
    // Before the pipeline, whose workers use it until they are joined.
    std::unique_ptr<AnimationEncoder> animation_;
    std::optional<FramePipeline> pipeline_;
    PixelGrid grid_;
    PixelGrid previous_;  // small frames are encoded against the picture before
    SmallFrameEncoder smallEncoder_;
    std::vector<uint8_t> frameBytes_;
};

// The trailer, then the whole file under its name. A name taken while the file was
// being made gives the file to the next free name, or, for a name the user gave, to none.
RunOutcome finishFile(const RunRequest& request, GifWriter& writer, ByteSink& sink, std::string& path,
                      const std::vector<uint8_t>& animation) {
    const auto named = [&](bool done) {
        if (done) return Naming::Done;
        return sink.failureReason() == EEXIST ? Naming::Taken : Naming::Failed;
    };
    const auto rename = [&](const std::string& next) { return named(sink.finishAs(next)); };
    const bool ended = request.animation ? !animation.empty() && writer.writeImageData(animation) && sink.finish()
                                         : writer.writeTrailer();
    switch (retryFreeNames(request, named(ended), path, rename)) {
    case Naming::Done: return RunOutcome::Completed;
    case Naming::Taken: return RunOutcome::FileExists;
    case Naming::Failed: break;
    }
    return RunOutcome::WriteFailed;
}

}  // namespace

SinkOpener fileSinkOpener() {
    return [](const std::string& path, CreateError& error) -> std::unique_ptr<ByteSink> {
        return FileSink::createNew(path, error);
    };
}

RunResult runGeneration(const RunRequest& request, RunHost& host, const SinkOpener& openSink) {
    RunResult result{RunOutcome::Completed, request.outputPath};
    const std::unique_ptr<ByteSink> sink = openFile(request, openSink, result);
    if (!sink) return result;
    GifWriter writer(*sink);
    FrameWriting frames(request, host, writer);
    result.outcome = frames.writeHeadAndFrames();
    if (result.outcome == RunOutcome::Completed)
        result.outcome = finishFile(request, writer, *sink, result.path, frames.animationBytes());
    if (result.outcome == RunOutcome::WriteFailed) result.reason = sink->failureReason();
    if (result.outcome != RunOutcome::Completed) writer.abandonFile();
    return result;
}

}  // namespace pestrolik
