#pragma once
// One START: writes one animated GIF of `frameCount` pictures to a new file,
// drawing and encoding frame after frame, until it completes, is stopped, or fails.

#include "generation/animation_encoder.h"
#include "generation/picture_params.h"
#include "generation/run_host.h"
#include "generation/run_inputs.h"
#include "gif/file_sink.h"

#include <functional>
#include <memory>
#include <string>

namespace pestrolik {

struct RunRequest {
    int frameCount = defaultFrameCount;    // 1..100, validated by the caller
    int pictureSize = defaultPictureSize;  // 10..1000, validated by the caller
    bool stillBackground = false;  // as the file's control blocks mark it
    PictureParams params;
    std::string outputPath;  // UTF-8; must not exist yet
    // For an automatically named file: the next free path, asked when the name was
    // taken by someone else before the file got it. Empty: a taken name is FileExists.
    std::function<std::string()> nextFreePath;
    // 1: everything on the caller's thread with the host's yields.
    // More: frames are drawn and encoded ahead on that many threads and written in
    // order on the caller's thread, which keeps yielding while it waits; the bytes
    // are the same.
    int jobs = 1;
    // A smaller GIF that a viewer shows frame for frame as the plain one.
    bool small = false;
    // Set: the file is this format's animation instead of a GIF.
    AnimationMaker animation;
};

enum class RunOutcome {
    Completed,    // the file is complete
    Stopped,      // STOP: the partial file was deleted
    Exited,       // the program is closing: the partial file was deleted
    FileExists,   // refused, nothing touched
    CreateFailed, // the file could not be created
    WriteFailed,  // writing failed: the partial file was deleted
};

struct RunResult {
    RunOutcome outcome;
    std::string path;  // the file written, or the one refused or failed
    int reason = 0;    // the errno behind CreateFailed or WriteFailed; 0 when unknown
};

// How a run gets its output; tests swap in sinks that fail.
using SinkOpener = std::function<std::unique_ptr<ByteSink>(const std::string& path, CreateError& error)>;
SinkOpener fileSinkOpener();

RunResult runGeneration(const RunRequest& request, RunHost& host, const SinkOpener& openSink = fileSinkOpener());

}  // namespace pestrolik
