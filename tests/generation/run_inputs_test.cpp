#include "generation/progress.h"
#include "generation/run_inputs.h"
#include "messages/run_messages.h"

#include "core_test.h"

TEST(NumberAtStart, ReadsTheNumberATextBeginsWith) {
    const std::pair<const char*, std::optional<double>> cases[] = {
        {"200", 200}, {"  42", 42},  {"2.9", 2.9}, {"12abc", 12}, {"abc", {}}, {"", {}},  {"-5", -5}, {".", {}},
        {"1e3", 1000}, {"2D2", 200}, {"1 5", 15},  {".5", 0.5},   {"3,7", 3},  {"+7", 7}, {"1e", 1},  {"-", {}},
        {"1E2", 100},  {"5d1", 50},  {"1e+", 1}, {"\t1\n5\r2", 152},
    };
    for (auto [text, value] : cases) EXPECT_EQ(numberAtStart(text), value) << '"' << text << '"';
}

TEST(RunInputs, CountBeforeSizeEachWithItsMessage) {
    for (const DataRow& c : readDataTable(TEST_DATA_DIR "/run_inputs.txt")) {
        const RunInputs inputs = readRunInputs(c[0], c[1]);
        EXPECT_EQ(inputProblemMessage(inputs.problem), c.size() > 4 ? c[4] : "") << c[0] << " / " << c[1];
        if (inputs.problem == InputProblem::None) {
            EXPECT_EQ(std::to_string(inputs.frameCount) + " " + std::to_string(inputs.pictureSize), c[2] + " " + c[3]);
        }
    }
    EXPECT_EQ(inputProblemTitle, "Ошибочка");
}

TEST(Progress, StripStepsAndPercentWhenARowBegins) {
    const std::array<int, 7> cases[] = {  // frame, row, size, count; then frame strip, percent, file strip
        {2, 50, 100, 4, 16, 37, 12},  {1, 1, 10, 1, 3, 10, 3},    {4, 100, 100, 4, 32, 100, 32},
        {1, 999, 1000, 3, 31, 33, 10}, {3, 7, 13, 100, 17, 2, 0}, {1, 10, 1000, 1, 0, 1, 0},
    };
    for (const auto& [frameNo, row, size, count, frameStrip, percent, fileStrip] : cases) {
        EXPECT_EQ(std::tuple(frameStripStep(row, size), percentDone(frameNo, row, size, count),
                             totalStripStep(frameNo, row, size, count)),
                  std::tuple(frameStrip, percent, fileStrip))
            << "frame " << frameNo << " row " << row;
    }
}
