#pragma once
// A fresh folder for one test, named after it, removed afterwards.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace pestrolik::testing {

struct TempFolder {
    explicit TempFolder(const std::string& kind) {
        std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::ranges::replace(test, '/', '-');  // a parameterised test's name holds one
        path_ = std::filesystem::temp_directory_path() / ("pestrolik-" + kind + "-" + std::to_string(::getpid()) + "-" + test);
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
    std::filesystem::path path_;
};

}  // namespace pestrolik::testing
