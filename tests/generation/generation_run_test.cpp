// One run from START to its end: the file giflib reads back, progress, stop and exit
// at every moment, taken names, on one thread and with frames made ahead on others.

#include "core_test.h"
#include "generation/background.h"
#include "generation/file_naming.h"
#include "generation/generation_run.h"
#include "generation/pattern.h"

namespace {

// Stand-ins for what a run is given: a host that records what it is shown and
// answers the row checks from a script.
struct RecordingHost : RunHost {
    std::function<RunVerdict(int check)> script = [](int) { return RunVerdict::Continue; };
    std::function<bool(int frame)> still = [](int) { return false; };  // asked once per frame begun
    int checks = 0, stillAsked = 0;
    bool stopSaid = false;
    std::vector<int> pictures, frameSteps, totalSteps, percents;

    RunVerdict verdict() override {
        const RunVerdict v = script(++checks);
        stopSaid = stopSaid || v != RunVerdict::Continue;
        return v;
    }
    void yield() override {}
    bool stillBackground() override { return still(++stillAsked); }
    void pictureStarted(int frameNo) override { pictures.push_back(frameNo); }
    void frameStripChanged(int step) override { frameSteps.push_back(step); }
    void totalStripChanged(int step) override { totalSteps.push_back(step); }
    void percentChanged(int percent) override { percents.push_back(percent); }
};

// A sink the run owns that tells the test how it ended and whether it was written to
// after the run was told to stop.
struct Watched { int writesAfterStop = 0; bool discarded = false, finished = false; };
SinkOpener watched(Watched& seen, const bool& stopSaid) {
    struct Sink : ByteSink {
        Sink(Watched& seen, const bool& stopSaid) : seen(seen), stopSaid(stopSaid) {}
        bool write(std::span<const uint8_t>) override { return seen.writesAfterStop += stopSaid, true; }
        bool finish() override { return seen.finished = true; }
        void discard() override { seen.discarded = true; }
        Watched& seen;
        const bool& stopSaid;
    };
    return [&](const std::string&, CreateError&) -> std::unique_ptr<ByteSink> { return std::make_unique<Sink>(seen, stopSaid); };
}

class GenerationRunTest : public ::testing::Test {
protected:
    RunRequest request(int frames, int size, const std::string& name = "Kaleidrix_1.GIF") {
        return {.frameCount = frames, .pictureSize = size, .params = *parseParamsCode("3,5,7,1,1,2,3,20,1," + std::to_string(size)),
                .outputPath = (folder_ / name).string(), .nextFreePath = {}, .jobs = 1, .small = false, .animation = {}};
    }
    TempFolder folder_{"run"};
};

}  // namespace

// Ticking the box while frame 1 is made: the later frames follow it, on one thread or
// ahead on three (where the frames already handed out keep their choice); the file's
// own flag was read once, at the start. Progress moves only when it changes.
TEST_F(GenerationRunTest, CompletedFileHoldsTheDrawnFramesWhicheverTheThreads) {
    for (int jobs : {1, 3}) {
        RunRequest r = request(7, 30, "still" + std::to_string(jobs) + ".GIF");
        r.jobs = jobs;
        RecordingHost host;
        host.still = [](int frame) { return frame >= 2; };
        const RunResult result = runGeneration(r, host);
        ASSERT_EQ(result.outcome, RunOutcome::Completed);
        EXPECT_EQ(result.path, r.outputPath);
        const auto decoded = decodeGif(readFileBytes(r.outputPath));
        ASSERT_TRUE(decoded.ok && decoded.frames.size() == 7u) << decoded.error;
        for (int f = 1; f <= 7; ++f) {  // its background with the rings over it, still from frame 2 on
            PixelGrid expected(30);
            drawBackground(expected, {7, f, r.params.backDepth, r.params.backWaves, f >= 2});
            drawPattern(expected, r.params, f);
            EXPECT_TRUE(sameCells(decoded.frames[f - 1], expected)) << f;
            EXPECT_EQ(decoded.controlBytes.at(f - 1), 0x08) << "the file's flag, not the box";
        }
        EXPECT_EQ(host.pictures, (std::vector<int>{1, 2, 3, 4, 5, 6, 7}));
        EXPECT_TRUE(jobs > 1 || host.checks == 7 * 31) << "every row and once before each frame's final codes";
        // 0 % right after the file head
        EXPECT_TRUE(host.percents.front() == 0 && host.percents.back() == 100 && host.totalSteps.back() == 32);
        EXPECT_LE(host.frameSteps.size(), 7u * 33u);
        for (const auto* steps : {&host.percents, &host.totalSteps})
            EXPECT_TRUE(std::adjacent_find(steps->begin(), steps->end(), std::greater_equal<>()) == steps->end());
    }
}

// A taken name, whatever holds it, is never written over: refused at the start, and
// at the end the file goes to the next free name, or nowhere for a name the user gave.
TEST_F(GenerationRunTest, TakenNamesAreNeverWrittenOver) {
    std::ofstream(folder_ / "Kaleidrix_1.GIF") << "someone's picture";
    fs::create_directory(folder_ / "Kaleidrix_2.GIF");
    fs::create_symlink(folder_ / "nowhere", folder_ / "Kaleidrix_3.GIF");
    ASSERT_EQ(::mkfifo((folder_ / "Kaleidrix_4.GIF").c_str(), 0600), 0);
    std::ofstream(folder_ / "Kaleidrix_6.GIF") << "x";
    RecordingHost host;
    for (int taken : {1, 2, 3, 4}) {
        const RunRequest r = request(1, 10, "Kaleidrix_" + std::to_string(taken) + ".GIF");
        EXPECT_EQ(runGeneration(r, host).outcome, RunOutcome::FileExists) << taken;
    }
    EXPECT_TRUE(host.pictures.empty());
    EXPECT_EQ(fs::file_size(folder_ / "Kaleidrix_1.GIF"), 17u);
    // Someone else takes the name while the file is being made.
    std::string squatted = (folder_ / "Kaleidrix_5.GIF").string();
    host.script = [&](int) {
        std::ofstream(squatted, std::ios::app);  // an empty file, made or left as it is
        return RunVerdict::Continue;
    };
    RunRequest automatic = request(1, 10, "Kaleidrix_5.GIF");
    automatic.nextFreePath = [this] { return nextFreePath(folder_.path().string()); };
    const RunResult moved = runGeneration(automatic, host);
    EXPECT_EQ(moved.outcome, RunOutcome::Completed);
    EXPECT_EQ(moved.path, (folder_ / "Kaleidrix_7.GIF").string());
    EXPECT_TRUE(decodeGif(readFileBytes(moved.path)).ok);

    squatted = (folder_ / "mine.GIF").string();
    EXPECT_EQ(runGeneration(request(1, 10, "mine.GIF"), host).outcome, RunOutcome::FileExists);
    EXPECT_TRUE(fs::exists(squatted) && fs::file_size(squatted) == 0u);
}

// Nothing is written once the run was told to stop, even when it hears it only before
// a frame's final codes, and the file is discarded.
TEST_F(GenerationRunTest, StopOrExitDiscardsTheFileAndWritesNothingAfterwards) {
    for (const DataRow& c : readDataTable(TEST_DATA_DIR "/stop_cases.txt")) {
        RunRequest r = request(3, 30);
        r.jobs = std::stoi(c[3]);
        const RunVerdict verdict = c[2] == "Stop" ? RunVerdict::Stop : RunVerdict::Exit;
        RecordingHost host;
        host.script = [&](int check) { return check >= std::stoi(c[1]) ? verdict : RunVerdict::Continue; };
        Watched sink;
        const RunOutcome outcome = runGeneration(r, host, watched(sink, host.stopSaid)).outcome;
        EXPECT_EQ(outcome, verdict == RunVerdict::Stop ? RunOutcome::Stopped : RunOutcome::Exited) << c[0];
        EXPECT_TRUE(sink.writesAfterStop == 0 && sink.discarded && !sink.finished) << c[0];
    }
}
