// Every errno the system knows reads in Russian: the causes a user meets in words of
// our own, the rest after a Russian lead-in.

#include "core_test.h"
#include "messages/failure_reason.h"

#include <cstring>
#include <map>

TEST(FailureReason, OwnWordsForTheCommonCausesALeadInForTheRest) {
    std::map<std::string, std::string> ownWords;
    for (const DataRow& row : readDataTable(TEST_DATA_DIR "/failure_reasons.txt")) ownWords[row[0]] = row[1];
    EXPECT_EQ(failureReasonText(0), "");
    for (int e = 1; e < 256; ++e) {
        const char* name = strerrorname_np(e);
        if (!name) continue;
        const auto own = ownWords.find(name);
        EXPECT_EQ(failureReasonText(e), own != ownWords.end() ? own->second : "Ошибка системы: " + std::string(std::strerror(e)))
            << name;
        if (own != ownWords.end()) ownWords.erase(own);
    }
    EXPECT_TRUE(ownWords.empty()) << ownWords.begin()->first << " is no errno";
}
