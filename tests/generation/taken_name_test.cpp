// A run whose name someone else takes while the file is being made.

#include "generation/file_naming.h"
#include "generation/generation_run.h"
#include "gif_judge.h"
#include "squatting_sink.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

using namespace pestrolik;
namespace fs = std::filesystem;

namespace {

struct QuietHost : RunHost {
    RunVerdict verdict() override { return RunVerdict::Continue; }
    void yield() override {}
    bool stillBackground() override { return false; }
    void pictureStarted(int) override {}
    void frameStripChanged(int) override {}
    void totalStripChanged(int) override {}
    void percentChanged(int) override {}
};

}  // namespace

TEST(TakenName, ANameTakenAtTheLastMomentMovesAnAutomaticRunOnAndEndsAGivenOne) {
    struct Case {
        bool automatic;
        RunOutcome outcome;
        std::set<std::string> entries;
    };
    const Case cases[] = {
        {true, RunOutcome::Completed, {"Kaleidrix_1.GIF", "Kaleidrix_2.GIF"}},
        {false, RunOutcome::FileExists, {"Kaleidrix_1.GIF"}},
    };
    for (const Case& c : cases) {
        pestrolik::testing::TempFolder folder{c.automatic ? "automatic" : "given"};
        RunRequest r;
        r.frameCount = 2;
        r.pictureSize = 20;
        r.outputPath = (folder / "Kaleidrix_1.GIF").string();
        if (c.automatic) r.nextFreePath = [&] { return nextFreePath(folder.path().string()); };
        QuietHost host;
        const RunResult result = runGeneration(r, host, pestrolik::testing::squattingOpener());

        EXPECT_EQ(result.outcome, c.outcome) << c.automatic;
        std::set<std::string> entries;
        for (const auto& entry : fs::directory_iterator(folder.path())) entries.insert(entry.path().filename());
        EXPECT_EQ(entries, c.entries) << c.automatic;
        EXPECT_EQ(fs::file_size(r.outputPath), 8u) << "the squatter's file is left alone";
        if (c.automatic) {
            EXPECT_EQ(result.path, (folder / "Kaleidrix_2.GIF").string());
            EXPECT_EQ(pestrolik::testing::decodeGif(pestrolik::testing::readFileBytes(result.path)).frames.size(), 2u);
        }
    }
}
