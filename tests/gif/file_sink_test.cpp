#include "gif/file_sink.h"
#include "gif_judge.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace pestrolik;
namespace fs = std::filesystem;

namespace {

class FileSinkTest : public ::testing::Test {
protected:
    std::string path(const std::string& name) const { return (folder_ / name).string(); }

    pestrolik::testing::TempFolder folder_{"sink"};
};

const std::vector<uint8_t> someBytes = {1, 2, 3, 4, 5};

}  // namespace

TEST_F(FileSinkTest, WritesEverythingOnFinish) {
    CreateError error;
    auto sink = FileSink::createNew(path("a.GIF"), error);
    ASSERT_TRUE(sink);
    std::vector<uint8_t> big(200000);
    for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<uint8_t>(i * 7);
    EXPECT_TRUE(sink->write(someBytes));
    EXPECT_TRUE(sink->write(big));
    EXPECT_TRUE(sink->finish());
    std::vector<uint8_t> expected = someBytes;
    expected.insert(expected.end(), big.begin(), big.end());
    EXPECT_EQ(pestrolik::testing::readFileBytes(path("a.GIF")), expected);
}

TEST_F(FileSinkTest, NeverTouchesAnExistingFile) {
    std::ofstream(path("taken.GIF")) << "precious";
    CreateError error;
    EXPECT_FALSE(FileSink::createNew(path("taken.GIF"), error));
    EXPECT_EQ(error, CreateError::AlreadyExists);
    std::ifstream in(path("taken.GIF"));
    std::string text;
    in >> text;
    EXPECT_EQ(text, "precious");
}

TEST_F(FileSinkTest, MissingFolderIsAnErrorNotACrash) {
    CreateError error;
    EXPECT_FALSE(FileSink::createNew(path("no/such/folder/x.GIF"), error));
    EXPECT_EQ(error, CreateError::CannotCreate);
}

TEST_F(FileSinkTest, DiscardAndUnfinishedDestructionLeaveNoFile) {
    CreateError error;
    auto sink = FileSink::createNew(path("d.GIF"), error);
    sink->write(someBytes);
    sink->discard();
    sink->discard();
    EXPECT_FALSE(fs::exists(path("d.GIF")));

    auto dropped = FileSink::createNew(path("e.GIF"), error);
    dropped->write(someBytes);
    dropped.reset();
    EXPECT_FALSE(fs::exists(path("e.GIF")));
}
