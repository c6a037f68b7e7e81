// pestrolik-render driven as a user drives it: a real process, real files.

#include "gif_judge.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using pestrolik::testing::decodeGif;
using pestrolik::testing::readFileBytes;
namespace fs = std::filesystem;

namespace {

struct Finished {
    int exitCode = -1;
    std::string out, err;
};

std::string slurp(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class RenderCommand : public ::testing::Test {
protected:
    void SetUp() override { fs::create_directories(folder_ / "pictures"); }

    pid_t start(const std::vector<std::string>& args) {
        const pid_t pid = fork();
        if (pid == 0) {
            const int out = ::open((folder_ / "stdout").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            const int err = ::open((folder_ / "stderr").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            dup2(out, 1);
            dup2(err, 2);
            if (chdir((folder_ / "pictures").c_str()) != 0) _exit(99);
            std::vector<char*> argv{const_cast<char*>(RENDER_EXE)};
            for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            execv(RENDER_EXE, argv.data());
            _exit(98);
        }
        return pid;
    }

    Finished finish(pid_t pid) {
        int status = 0;
        waitpid(pid, &status, 0);
        return {WIFEXITED(status) ? WEXITSTATUS(status) : 1000 + WTERMSIG(status), slurp(folder_ / "stdout"),
                slurp(folder_ / "stderr")};
    }

    Finished run(const std::vector<std::string>& args) { return finish(start(args)); }

    // True once the process holds a file open in the pictures folder.
    bool waitUntilWriting(pid_t pid) const {
        const fs::path fds = "/proc/" + std::to_string(pid) + "/fd";
        for (int i = 0; i < 2000; ++i) {
            std::error_code ignored;
            for (const auto& fd : fs::directory_iterator(fds, ignored))
                if (fs::read_symlink(fd, ignored).string().starts_with(pictures().string())) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return false;
    }

    fs::path pictures() const { return folder_ / "pictures"; }

    pestrolik::testing::TempFolder folder_{"render"};
};

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) result.push_back(line);
    return result;
}

}  // namespace

TEST_F(RenderCommand, NamesFilesLikeTheWindowAndPrintsPathAndCode) {
    const Finished first = run({"--count", "2", "--size", "24", "--quiet"});
    ASSERT_EQ(first.exitCode, 0) << first.err;
    const auto out = lines(first.out);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(fs::path(out[0]).filename(), "Kaleidrix_1.GIF");
    EXPECT_TRUE(fs::exists(pictures() / "Kaleidrix_1.GIF"));

    fs::remove(pictures() / "Kaleidrix_1.GIF");
    std::ofstream(pictures() / "Kaleidrix_1.GIF") << "x";
    std::ofstream(pictures() / "Kaleidrix_3.GIF") << "x";
    std::ofstream(pictures() / "kaleidrix_2.GIF") << "x";  // another letter case: 2 is still free
    const Finished second = run({"--count", "1", "--size", "10", "--folder", pictures().string()});
    ASSERT_EQ(second.exitCode, 0) << second.err;
    EXPECT_EQ(fs::path(lines(second.out)[0]).filename(), "Kaleidrix_2.GIF");
    EXPECT_EQ(fs::file_size(pictures() / "Kaleidrix_2.GIF"), 878u);
}

TEST_F(RenderCommand, TheParameterCodeMakesTheSamePictureAgain) {
    const Finished first = run({"--count", "4", "--size", "90", "--still", "--out", "a.GIF", "--jobs", "2"});
    ASSERT_EQ(first.exitCode, 0) << first.err;
    const std::string code = lines(first.out).at(1);
    const Finished again = run({"--count", "4", "--size", "90", "--still", "--out", "b.GIF", "--params", code, "--jobs", "1"});
    ASSERT_EQ(again.exitCode, 0) << again.err;
    EXPECT_EQ(lines(again.out).at(1), code);
    const auto a = readFileBytes((pictures() / "a.GIF").string());
    EXPECT_EQ(a, readFileBytes((pictures() / "b.GIF").string()));
    const auto decoded = decodeGif(a);
    ASSERT_TRUE(decoded.ok) << decoded.error;
    EXPECT_EQ(decoded.frames.size(), 4u);
    EXPECT_EQ(decoded.controlBytes[0], 0x09);

    // The same picture at another size keeps the code's reference size.
    const Finished bigger = run({"--count", "1", "--size", "150", "--out", "c.GIF", "--params", code});
    ASSERT_EQ(bigger.exitCode, 0) << bigger.err;
    EXPECT_EQ(lines(bigger.out).at(1), code);
}

TEST_F(RenderCommand, RefusalsAndFailuresHaveTheirExitCodes) {
    struct Case {
        const char* name;
        std::vector<std::string> args;
        int exitCode;
        const char* message;
    };
    std::ofstream(pictures() / "taken.GIF") << "keep me";
    const Case cases[] = {
        {"count over 100", {"--count", "101"}, 2, "Количество картинок не должно превышать 100."},
        {"count of letters", {"--count", "abc", "--size", "5"}, 2, "Количество картинок должно быть не меньше, чем одна."},
        {"size over 1000", {"--size", "1001"}, 2, "Ширина и высота картинок не должны привышать 1000 пикселей."},
        {"size under 10", {"--size", "9"}, 2, "Ширина и высота картинок должны быть не меньше, чем 10 пикселей."},
        {"bad parameter code", {"--params", "1,2,3"}, 2, "--params"},
        {"unknown option", {"--colour", "red"}, 2, "unknown argument"},
        {"existing file", {"--out", "taken.GIF"}, 3, "В этой папке уже есть такой файл :"},
        {"missing folder", {"--out", "nowhere/x.GIF"}, 4, "Не удалось создать файл :\nnowhere/x.GIF.\nТакой папки нет\n"},
        {"not a folder", {"--out", "taken.GIF/x.GIF"}, 4, "x.GIF.\nПуть ведёт не в папку\n"},
        {"name too long", {"--out", std::string(300, 'n')}, 4, "n.\nСлишком длинное имя\n"},
    };
    for (const Case& c : cases) {
        const Finished f = run(c.args);
        EXPECT_EQ(f.exitCode, c.exitCode) << c.name << ": " << f.err;
        EXPECT_NE(f.err.find(c.message), std::string::npos) << c.name << ": " << f.err;
        EXPECT_TRUE(f.out.empty()) << c.name;
    }
    EXPECT_EQ(slurp(pictures() / "taken.GIF"), "keep me");
    EXPECT_EQ(std::distance(fs::directory_iterator(pictures()), fs::directory_iterator{}), 1);
}

// The signals that ask a program to end stop the run as STOP does: whenever they come,
// no file is left, not even an unnamed one's hidden stand-in.
TEST_F(RenderCommand, EndingSignalsLeaveNoFile) {
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) {
        const pid_t pid = start({"--count", "100", "--size", "1000", "--jobs", "1", "--quiet"});
        ASSERT_TRUE(waitUntilWriting(pid)) << "the run never started writing";
        kill(pid, signal);
        const Finished f = finish(pid);
        EXPECT_EQ(f.exitCode, 128 + signal) << signal << ": " << f.err;
        EXPECT_EQ(f.err, "pestrolik-render: Процесс был прерван.\nСохранение не произошло.\n") << signal;
        EXPECT_TRUE(fs::is_empty(pictures())) << signal;
    }
}
