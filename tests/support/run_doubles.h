#pragma once
// Stand-ins for what a run is given: a host that records what it is shown and
// answers the row checks from a script, and a memory sink the test keeps, which can
// fail and notes writes made after the run was told to stop.

#include "generation/generation_run.h"

#include <functional>
#include <vector>

namespace pestrolik::testing {

struct RecordingHost : RunHost {
    std::function<RunVerdict(int check)> script = [](int) { return RunVerdict::Continue; };
    std::function<bool(int frame)> still = [](int) { return false; };  // asked once per frame begun
    int checks = 0, yields = 0, stillAsked = 0;
    bool stopSaid = false;
    std::vector<int> pictures, frameSteps, totalSteps, percents;

    RunVerdict verdict() override {
        const RunVerdict v = script(++checks);
        stopSaid = stopSaid || v != RunVerdict::Continue;
        return v;
    }
    void yield() override { ++yields; }
    bool stillBackground() override { return still(++stillAsked); }
    void pictureStarted(int frameNo) override { pictures.push_back(frameNo); }
    void frameStripChanged(int step) override { frameSteps.push_back(step); }
    void totalStripChanged(int step) override { totalSteps.push_back(step); }
    void percentChanged(int percent) override { percents.push_back(percent); }
};

struct WatchedSink : MemorySink {
    const bool* stopSaid = nullptr;
    int writesAfterStop = 0;
    size_t failAfterBytes = SIZE_MAX;
    bool write(std::span<const uint8_t> bytes) override {
        writesAfterStop += stopSaid && *stopSaid;
        return bytes.size() + this->bytes().size() <= failAfterBytes && MemorySink::write(bytes);
    }
};

// Lends the run a sink the test keeps (the run owns and drops what it opens).
inline SinkOpener lend(ByteSink& sink) {
    struct Borrowed : ByteSink {
        explicit Borrowed(ByteSink& t) : target(t) {}
        bool write(std::span<const uint8_t> bytes) override { return target.write(bytes); }
        bool finish() override { return target.finish(); }
        void discard() override { target.discard(); }
        ByteSink& target;
    };
    return [&sink](const std::string&, CreateError&) -> std::unique_ptr<ByteSink> {
        return std::make_unique<Borrowed>(sink);
    };
}

}  // namespace pestrolik::testing
