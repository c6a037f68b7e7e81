#include "generation/progress.h"
#include "generation/run_inputs.h"

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
    const std::tuple<const char*, const char*, int, int, const char*> cases[] = {  // count and size read, message
        {"100", "1000", 100, 1000, ""},
        {"1", "10", 1, 10, ""},
        {"2.9", "128", 2, 128, ""},
        {"101", "200", 0, 0, "Количество картинок не должно превышать 100."},
        {"99999999999999999999", "200", 0, 0, "Количество картинок не должно превышать 100."},
        {"letters", "200", 0, 0, "Количество картинок должно быть не меньше, чем одна."},
        {"0.99", "5", 0, 0, "Количество картинок должно быть не меньше, чем одна."},
        {"3", "1001", 0, 0, "Ширина и высота картинок не должны привышать 1000 пикселей."},
        {"3", "9.99", 0, 0, "Ширина и высота картинок должны быть не меньше, чем 10 пикселей."},
    };
    for (const auto& [count, size, frameCount, pictureSize, message] : cases) {
        const RunInputs inputs = readRunInputs(count, size);
        EXPECT_EQ(inputProblemMessage(inputs.problem), message) << count << " / " << size;
        if (inputs.problem == InputProblem::None) {
            EXPECT_EQ(std::pair(inputs.frameCount, inputs.pictureSize), std::pair(frameCount, pictureSize));
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
