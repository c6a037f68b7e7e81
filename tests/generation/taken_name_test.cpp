// A run whose name someone else takes while the file is being made.

#include "generation/generation_run.h"
#include "squatting_sink.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

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

// A name the user gave is never swapped for another: nothing is kept, the taker's file
// is left alone. (An automatic name moves on; the window's tests see that.)
TEST(TakenName, AGivenNameTakenAtTheLastMomentKeepsNothing) {
    pestrolik::testing::TempFolder folder{"taken"};
    RunRequest r;
    r.frameCount = 2;
    r.pictureSize = 20;
    r.outputPath = (folder / "mine.GIF").string();
    QuietHost host;
    const RunResult result = runGeneration(r, host, pestrolik::testing::squattingOpener());
    EXPECT_EQ(result.outcome, RunOutcome::FileExists);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator{}), 1);
    EXPECT_EQ(fs::file_size(r.outputPath), 8u);
}
