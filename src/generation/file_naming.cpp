#include "generation/file_naming.h"

#include <filesystem>

namespace pestrolik {

std::string numberedFileName(int n, std::string_view extension) {
    return std::string(fileNamePrefix) + std::to_string(n) + std::string(extension);
}

bool entryExists(const std::string& path) {
    std::error_code ignored;
    return std::filesystem::exists(std::filesystem::symlink_status(path, ignored));
}

int lowestFreeNumber(const std::string& folder, std::string_view extension) {
    const std::filesystem::path dir(folder);
    int n = 1;
    while (entryExists((dir / numberedFileName(n, extension)).string())) ++n;
    return n;
}

std::string nextFreePath(const std::string& folder, std::string_view extension) {
    return (std::filesystem::path(folder) / numberedFileName(lowestFreeNumber(folder, extension), extension)).string();
}

}  // namespace pestrolik
