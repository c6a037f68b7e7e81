#include "generation/run_inputs.h"

#include <gtest/gtest.h>

using namespace pestrolik;

TEST(LeadingNumber, ReadsTheNumberATextBeginsWith) {
    const std::pair<const char*, double> cases[] = {
        {"200", 200}, {"  42", 42}, {"2.9", 2.9}, {"12abc", 12}, {"abc", 0}, {"", 0},
        {"-5", -5},   {"1e3", 1000}, {"1 5", 15}, {".5", 0.5},   {"3,7", 3}, {"+7", 7},
        {"1e", 1},    {"-", 0},
    };
    for (auto [text, value] : cases) EXPECT_DOUBLE_EQ(leadingNumber(text), value) << '"' << text << '"';
}

TEST(RunInputs, CountAndSizeLimits) {
    struct Case {
        const char* count;
        const char* size;
        InputProblem problem;
        int frameCount, pictureSize;
    };
    const Case cases[] = {
        {"100", "1000", InputProblem::None, 100, 1000},
        {"1", "10", InputProblem::None, 1, 10},
        {"2.9", "128", InputProblem::None, 2, 128},
        {"101", "200", InputProblem::CountTooLarge, 0, 0},
        {"99999999999999999999", "200", InputProblem::CountTooLarge, 0, 0},
        {"letters", "200", InputProblem::CountTooSmall, 0, 0},
        {"0.99", "200", InputProblem::CountTooSmall, 0, 0},
        {"3", "1001", InputProblem::SizeTooLarge, 3, 0},
        {"3", "9.99", InputProblem::SizeTooSmall, 3, 0},
        {"0", "5", InputProblem::CountTooSmall, 0, 0},  // only the count is reported
    };
    for (const Case& c : cases) {
        const RunInputs inputs = readRunInputs(c.count, c.size);
        EXPECT_EQ(inputs.problem, c.problem) << c.count << " / " << c.size;
        if (c.problem == InputProblem::None) {
            EXPECT_EQ(inputs.frameCount, c.frameCount);
            EXPECT_EQ(inputs.pictureSize, c.pictureSize);
        }
    }
}
