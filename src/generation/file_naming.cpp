#include "generation/file_naming.h"

#include <filesystem>

namespace pestrolik {

std::string numberedFileName(int n) {
    return std::string(fileNamePrefix) + std::to_string(n) + std::string(fileNameExtension);
}

bool entryExists(const std::string& path) {
    std::error_code ignored;
    return std::filesystem::exists(std::filesystem::symlink_status(path, ignored));
}

int lowestFreeNumber(const std::string& folder) {
    const std::filesystem::path dir(folder);
    int n = 1;
    while (entryExists((dir / numberedFileName(n)).string())) ++n;
    return n;
}

std::string nextFreePath(const std::string& folder) {
    return (std::filesystem::path(folder) / numberedFileName(lowestFreeNumber(folder))).string();
}

}  // namespace pestrolik
