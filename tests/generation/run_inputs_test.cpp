#include "core_test.h"
#include "generation/progress.h"
#include "generation/run_inputs.h"
#include "messages/run_messages.h"

TEST(NumberAtStart, ReadsTheNumberATextBeginsWith) {
    for (const DataRow& c : readDataTable(TEST_DATA_DIR "/numbers_at_start.txt")) {
        std::string text = c[0].substr(1, c[0].size() - 2);
        for (auto [escape, meant] : {std::pair{"\\t", '\t'}, {"\\n", '\n'}, {"\\r", '\r'}})
            for (size_t at; (at = text.find(escape)) != std::string::npos;) text.replace(at, 2, 1, meant);
        EXPECT_EQ(numberAtStart(text), c[1] == "none" ? std::nullopt : std::optional(std::stod(c[1]))) << c[0];
    }
}

TEST(RunInputs, CountBeforeSizeEachWithItsMessage) {
    for (const DataRow& c : readDataTable(TEST_DATA_DIR "/run_inputs.txt")) {
        const RunInputs inputs = readRunInputs(c[0], c[1]);
        EXPECT_EQ(inputProblemMessage(inputs.problem), c.size() > 4 ? c[4] : "") << c[0] << " / " << c[1];
        const bool read = inputs.problem == InputProblem::None;
        EXPECT_EQ(read ? std::to_string(inputs.frameCount) + "|" + std::to_string(inputs.pictureSize) : "|", c[2] + "|" + c[3]);
    }
}

TEST(Progress, StripStepsAndPercentWhenARowBegins) {
    for (const DataRow& c : readDataTable(TEST_DATA_DIR "/progress_steps.txt", ' ')) {
        const int frameNo = std::stoi(c[0]), row = std::stoi(c[1]), size = std::stoi(c[2]), count = std::stoi(c[3]);
        EXPECT_EQ(std::to_string(frameStripStep(row, size)) + " " + std::to_string(percentDone(frameNo, row, size, count)) +
                      " " + std::to_string(totalStripStep(frameNo, row, size, count)),
                  c[4] + " " + c[5] + " " + c[6])
            << "frame " << frameNo << " row " << row;
    }
}
