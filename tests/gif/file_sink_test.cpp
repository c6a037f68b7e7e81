// The file sink with both kinds of temporary: the name appears only when the file is
// whole, is never taken from anyone, and nothing is left behind otherwise; what a
// killed process left behind goes with the next file made in its folder.

#include "core_test.h"
#include "gif/file_sink.h"
#include "gif/file_sink_temporaries.h"

#include <sys/file.h>
#include <sys/resource.h>
#include <sys/wait.h>

using Temporary = FileSink::Temporary;

namespace {

// Entries of a folder: names in ours, open descriptors in /proc/self/fd.
long entries(const fs::path& folder) { return std::distance(fs::directory_iterator(folder), fs::directory_iterator{}); }

class FileSinkTest : public ::testing::TestWithParam<Temporary> {
protected:
    auto create(const std::string& name, CreateError& error) { return FileSink::createNew(path(name), error, GetParam()); }
    std::string path(const std::string& name) const { return (folder_ / name).string(); }

    pestrolik::testing::TempFolder folder_{"sink"};
    const std::vector<uint8_t> bytes_ = std::vector<uint8_t>(200000, 7);
};

}  // namespace

// The bytes carry no name until finished; a taken name keeps them for another.
TEST_P(FileSinkTest, NamedOnlyWhenWholeAndNeverOverAnother) {
    CreateError error;
    ::umask(022);
    auto sink = create("a.GIF", error);
    ASSERT_TRUE(sink);
    EXPECT_TRUE(sink->write({bytes_.data(), 5}) && sink->write(bytes_));
    EXPECT_FALSE(fs::exists(path("a.GIF")));
    std::ofstream(path("a.GIF")) << "theirs";
    EXPECT_TRUE(!sink->finish() && sink->failureReason() == EEXIST);
    EXPECT_TRUE(sink->finishAs(path("b.GIF")) && sink->path() == path("b.GIF") && sink->finish());  // once named, it stays so
    EXPECT_EQ(pestrolik::testing::readFileBytes(path("b.GIF")).size(), bytes_.size() + 5);
    EXPECT_EQ(entries(folder_.path()), 2) << "theirs and ours, no temporary";
    EXPECT_EQ(fs::status(path("b.GIF")).permissions(), fs::perms(0644));  // as any new file under the umask

    EXPECT_TRUE(!create("a.GIF", error) && error == CreateError::AlreadyExists);
    EXPECT_TRUE(!create("no/such/folder/x.GIF", error) && error == CreateError::CannotCreate && error.reason == ENOENT);
}

// Discarded, dropped unfinished, or failed while writing: no file and no temporary.
TEST_P(FileSinkTest, NothingStaysBehindAnUnfinishedFile) {
    const long openBefore = entries("/proc/self/fd");
    CreateError error;
    auto discarded = create("d.GIF", error), dropped = create("e.GIF", error);
    discarded->write(bytes_);
    discarded->discard();
    discarded->discard();
    EXPECT_FALSE(discarded->finish());
    dropped->write(bytes_);
    dropped.reset();

    // A file size limit makes the writes fail (EFBIG rather than the signal).
    auto failing = create("f.GIF", error);
    rlimit old, tight;
    getrlimit(RLIMIT_FSIZE, &old);
    tight = {100000, old.rlim_max};
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &tight);
    EXPECT_FALSE(failing->write(bytes_));
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(failing->failureReason(), EFBIG);
    EXPECT_FALSE(failing->write({bytes_.data(), 1}) || failing->finish());
    failing.reset();
    // A name refused for another reason than being taken fails the sink for good.
    auto lost = create("g.GIF", error);
    EXPECT_TRUE(!lost->finishAs(path("gone/g.GIF")) && lost->failureReason() == ENOENT);
    EXPECT_FALSE(lost->finishAs(path("g.GIF")));
    lost.reset();
    EXPECT_EQ(entries(folder_.path()), 0);
    EXPECT_EQ(entries("/proc/self/fd"), openBefore);
}

// Discarded twice, a hidden temporary does not take along a file made under its name since.
TEST(HiddenTemporaries, ASecondDiscardLeavesANewFileAlone) {
    pestrolik::testing::TempFolder folder("again");
    CreateError error;
    auto sink = FileSink::createNew((folder / "a.GIF").string(), error, Temporary::Hidden);
    const fs::path hidden = fs::directory_iterator(folder.path())->path();
    sink->discard();
    std::ofstream(hidden) << "another's";
    sink->discard();
    EXPECT_TRUE(fs::exists(hidden));
}

INSTANTIATE_TEST_SUITE_P(BothTemporaries, FileSinkTest, ::testing::Values(Temporary::Unnamed, Temporary::Hidden));

TEST(HiddenTemporaries, OnlyTheWholeNameOfAGoneProcessIsSwept) {
    for (const DataRow& row : readDataTable(TEST_DATA_DIR "/hidden_temporaries.txt"))
        EXPECT_EQ(deadProcessTemporary(row[0], [](int pid) { return pid == 42; }), row[1] == "1") << row[0];
}

// A gone process's temporary goes; a live one's stays, also when its pid tells nothing
// (held by a writer in another pid namespace), and so do other names.
TEST(HiddenTemporaries, ANewFileSweepsWhatGoneProcessesLeft) {
    const pid_t gone = fork();
    if (gone == 0) _exit(0);
    ASSERT_EQ(waitpid(gone, nullptr, 0), gone);
    pestrolik::testing::TempFolder folder("sweep");
    const std::string names[] = {hiddenTemporaryName(gone, 0), hiddenTemporaryName(gone, 1),
                                 hiddenTemporaryName(::getpid(), 9), hiddenTemporaryName(1, 0), "notes.txt"};
    for (const std::string& name : names) std::ofstream(folder / name) << "x";
    const int held = ::open((folder / names[1]).c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    CreateError error;
    EXPECT_TRUE(FileSink::createNew((folder / "a.GIF").string(), error));
    ::close(held);
    for (const std::string& name : names) EXPECT_EQ(fs::exists(folder / name), name != names[0]) << name;
}
