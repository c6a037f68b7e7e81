#include "generation/frame_drawing.h"
#include "generation/generation_run.h"
#include "gif_judge.h"
#include "generation/progress.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

using namespace pestrolik;
using pestrolik::testing::decodeGif;
using pestrolik::testing::readFileBytes;
namespace fs = std::filesystem;

namespace {

// Records what a run shows; answers the row checks from a script.
struct RecordingHost : RunHost {
    std::function<RunVerdict(int check)> script = [](int) { return RunVerdict::Continue; };
    int checks = 0;
    int yields = 0;
    bool still = false;
    std::vector<int> pictures, frameSteps, totalSteps, percents;
    std::function<void()> onVerdictStop;

    RunVerdict verdict() override {
        const RunVerdict v = script(++checks);
        if (v != RunVerdict::Continue && onVerdictStop) onVerdictStop();
        return v;
    }
    void yield() override { ++yields; }
    bool stillBackground() override { return still; }
    void pictureStarted(int frameNo) override { pictures.push_back(frameNo); }
    void frameStripChanged(int step) override { frameSteps.push_back(step); }
    void totalStripChanged(int step) override { totalSteps.push_back(step); }
    void percentChanged(int percent) override { percents.push_back(percent); }
};

// A memory sink that notes any write made after the run was told to stop.
struct WatchedSink : MemorySink {
    bool* stopSeen;
    int* writesAfterStop;
    int failAfterBytes = -1;
    bool write(std::span<const uint8_t> bytes) override {
        if (*stopSeen) ++*writesAfterStop;
        if (failAfterBytes >= 0 && static_cast<int>(this->bytes().size() + bytes.size()) > failAfterBytes)
            return false;
        return MemorySink::write(bytes);
    }
};

// The run owns and drops its sink; this one lends it a sink the test keeps.
struct BorrowedSink : ByteSink {
    ByteSink& target;
    explicit BorrowedSink(ByteSink& t) : target(t) {}
    bool write(std::span<const uint8_t> bytes) override { return target.write(bytes); }
    bool finish() override { return target.finish(); }
    void discard() override { target.discard(); }
};

SinkOpener lend(ByteSink& sink) {
    return [&sink](const std::string&, CreateError& error) -> std::unique_ptr<ByteSink> {
        error = CreateError::None;
        return std::make_unique<BorrowedSink>(sink);
    };
}

class GenerationRunTest : public ::testing::Test {
protected:
    RunRequest request(int frames, int size, const std::string& name = "Kaleidrix_1.GIF") {
        RunRequest r;
        r.frameCount = frames;
        r.pictureSize = size;
        r.params.twistDigit = 3, r.params.lobeDigit = 5, r.params.spacingDigit = 7, r.params.turnDigit = 1;
        r.params.redExponent = 1, r.params.greenExponent = 2, r.params.blueExponent = 3;
        r.params.backDepth = 20, r.params.backWaves = 1, r.params.refSize = size;
        r.outputPath = (folder_ / name).string();
        return r;
    }

    pestrolik::testing::TempFolder folder_{"run"};
};

}  // namespace

TEST_F(GenerationRunTest, CompletedFileDecodesToTheDrawnFrames) {
    RecordingHost host;
    RunRequest r = request(3, 41);
    ASSERT_EQ(runGeneration(r, host).outcome, RunOutcome::Completed);

    const auto decoded = decodeGif(readFileBytes(r.outputPath));
    ASSERT_TRUE(decoded.ok) << decoded.error;
    ASSERT_EQ(decoded.frames.size(), 3u);
    for (int f = 1; f <= 3; ++f) {
        PixelGrid expected;
        drawFrame(expected, r.params, {41, 3, f, false});
        EXPECT_TRUE(std::equal(expected.row(1), expected.row(1) + 41 * 41, decoded.frames[f - 1].row(1))) << f;
    }
    EXPECT_EQ(host.pictures, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(host.percents.front(), 0) << "0 % right after the file head";
    EXPECT_EQ(host.percents.back(), 100);
    EXPECT_EQ(host.checks, 3 * 42) << "every row and once before each frame's final codes";
}

TEST_F(GenerationRunTest, ParallelFramesGiveTheSameBytes) {
    RecordingHost host;
    RunRequest single = request(7, 120, "one.GIF");
    RunRequest parallel = request(7, 120, "two.GIF");
    parallel.jobs = 3;
    ASSERT_EQ(runGeneration(single, host).outcome, RunOutcome::Completed);
    RecordingHost parallelHost;
    ASSERT_EQ(runGeneration(parallel, parallelHost).outcome, RunOutcome::Completed);
    EXPECT_EQ(readFileBytes(single.outputPath), readFileBytes(parallel.outputPath));
    EXPECT_EQ(parallelHost.percents, host.percents);
    EXPECT_EQ(parallelHost.totalSteps, host.totalSteps);
}

TEST_F(GenerationRunTest, ProgressIsShownOnlyWhenItChanges) {
    RecordingHost host;
    ASSERT_EQ(runGeneration(request(4, 100), host).outcome, RunOutcome::Completed);
    // Each strip moves through at most its 33 images per frame, the percentage through 0..100 once.
    EXPECT_LE(host.frameSteps.size(), 4u * 33u);
    EXPECT_LE(host.percents.size(), 101u);
    EXPECT_LE(host.totalSteps.size(), 33u);
    for (size_t i = 1; i < host.percents.size(); ++i) EXPECT_NE(host.percents[i], host.percents[i - 1]);
    for (size_t i = 1; i < host.totalSteps.size(); ++i) EXPECT_GT(host.totalSteps[i], host.totalSteps[i - 1]);
    EXPECT_EQ(percentDone(2, 50, 100, 4), 37) << "row 50 of frame 2 of four 100-pixel pictures";
    EXPECT_EQ(frameStripStep(100, 100), 32);
    EXPECT_EQ(totalStripStep(4, 100, 100, 4), 32);
}

TEST_F(GenerationRunTest, AnExistingFileIsRefusedAndLeftAlone) {
    RunRequest r = request(2, 20);
    std::ofstream(r.outputPath) << "someone's picture";
    RecordingHost host;
    EXPECT_EQ(runGeneration(r, host).outcome, RunOutcome::FileExists);
    EXPECT_EQ(fs::file_size(r.outputPath), 17u);
    EXPECT_TRUE(host.pictures.empty());
}

TEST_F(GenerationRunTest, StopOrExitDeletesTheFileAndWritesNothingAfterwards) {
    struct Case {
        const char* name;
        int stopAtCheck;
        RunVerdict verdict;
        RunOutcome outcome;
        int jobs;
    };
    // 30-pixel frames: checks 1..31 belong to frame 1 (31 = before the final codes).
    const Case cases[] = {
        {"stop in the first row", 1, RunVerdict::Stop, RunOutcome::Stopped, 1},
        {"stop mid-frame", 15, RunVerdict::Stop, RunOutcome::Stopped, 1},
        {"stop seen only after the last row", 31, RunVerdict::Stop, RunOutcome::Stopped, 1},
        {"stop in frame 2", 40, RunVerdict::Stop, RunOutcome::Stopped, 1},
        {"closing the window", 20, RunVerdict::Exit, RunOutcome::Exited, 1},
        {"stop with frames drawn ahead", 45, RunVerdict::Stop, RunOutcome::Stopped, 2},
    };
    for (const Case& c : cases) {
        RunRequest r = request(3, 30);
        r.jobs = c.jobs;
        bool stopSeen = false;
        int writesAfterStop = 0;
        WatchedSink sink;
        sink.stopSeen = &stopSeen;
        sink.writesAfterStop = &writesAfterStop;
        RecordingHost host;
        host.script = [&](int check) { return check >= c.stopAtCheck ? c.verdict : RunVerdict::Continue; };
        host.onVerdictStop = [&] { stopSeen = true; };
        EXPECT_EQ(runGeneration(r, host, lend(sink)).outcome, c.outcome) << c.name;
        EXPECT_EQ(writesAfterStop, 0) << c.name;
        EXPECT_TRUE(sink.discarded()) << c.name;
        EXPECT_FALSE(sink.finished()) << c.name;
    }
}

TEST_F(GenerationRunTest, StoppedRunLeavesNoFileOnDisk) {
    RunRequest r = request(2, 50);
    RecordingHost host;
    host.script = [](int check) { return check > 10 ? RunVerdict::Stop : RunVerdict::Continue; };
    EXPECT_EQ(runGeneration(r, host).outcome, RunOutcome::Stopped);
    EXPECT_FALSE(fs::exists(r.outputPath));
}

TEST_F(GenerationRunTest, FailuresAreReportedNotHidden) {
    RunRequest missingFolder = request(1, 10);
    missingFolder.outputPath = (folder_ / "gone" / "x.GIF").string();
    RecordingHost host;
    EXPECT_EQ(runGeneration(missingFolder, host).outcome, RunOutcome::CreateFailed);

    for (int failAfter : {100, 700, 1500}) {
        bool never = false;
        int unused = 0;
        WatchedSink sink;
        sink.stopSeen = &never;
        sink.writesAfterStop = &unused;
        sink.failAfterBytes = failAfter;
        RecordingHost h;
        EXPECT_EQ(runGeneration(request(3, 60), h, lend(sink)).outcome, RunOutcome::WriteFailed) << failAfter;
        EXPECT_TRUE(sink.discarded()) << failAfter;
    }
}

TEST_F(GenerationRunTest, StillBackgroundIsAskedForEveryFrame) {
    RunRequest r = request(3, 30);
    RecordingHost host;
    // Tick the box while frame 1 is being made: frames 2 and 3 follow it.
    host.script = [&](int check) {
        if (check == 5) host.still = true;
        return RunVerdict::Continue;
    };
    ASSERT_EQ(runGeneration(r, host).outcome, RunOutcome::Completed);
    const auto decoded = decodeGif(readFileBytes(r.outputPath));
    ASSERT_TRUE(decoded.ok);
    for (int f = 1; f <= 3; ++f) {
        PixelGrid expected;
        drawFrame(expected, r.params, {30, 3, f, f > 1});
        EXPECT_TRUE(std::equal(expected.row(1), expected.row(1) + 900, decoded.frames[f - 1].row(1))) << f;
    }
    EXPECT_EQ(decoded.controlBytes[0], 0x08) << "the file's flag was read once, at the start";
}
