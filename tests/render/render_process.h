#pragma once
// pestrolik-render run as a user runs it: a real process in a folder of its own,
// its output streams caught in files.

#include "temp_folder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace pestrolik::testing {

struct Finished {
    int exitCode = -1;  // 1000 + the signal when one ended it
    std::string out, err;
};

inline std::string slurp(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class RenderProcess : public ::testing::Test {
protected:
    void SetUp() override { std::filesystem::create_directories(pictures()); }

    // Runs in pictures(); standard output goes to `stdoutPath` when given.
    pid_t start(const std::vector<std::string>& args, const std::string& stdoutPath = "") {
        const pid_t pid = fork();
        if (pid == 0) {
            const auto outPath = stdoutPath.empty() ? folder_ / "stdout" : std::filesystem::path(stdoutPath);
            dup2(::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
            dup2(::open((folder_ / "stderr").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
            if (chdir(pictures().c_str()) != 0) _exit(99);
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
        std::error_code ignored;
        Finished f{WIFEXITED(status) ? WEXITSTATUS(status) : 1000 + WTERMSIG(status), slurp(folder_ / "stdout"),
                   slurp(folder_ / "stderr")};
        std::filesystem::remove(folder_ / "stdout", ignored);
        return f;
    }

    Finished run(const std::vector<std::string>& args, const std::string& stdoutPath = "") {
        return finish(start(args, stdoutPath));
    }

    std::filesystem::path pictures() const { return folder_ / "pictures"; }

    TempFolder folder_{"render"};
};

}  // namespace pestrolik::testing
