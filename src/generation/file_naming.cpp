#include "generation/file_naming.h"

#include <filesystem>

namespace pestrolik {

std::string numberedFileName(int n) {
    return std::string(fileNamePrefix) + std::to_string(n) + std::string(fileNameExtension);
}

int lowestFreeNumber(const std::function<bool(const std::string& name)>& taken) {
    int n = 1;
    while (taken(numberedFileName(n))) ++n;
    return n;
}

bool entryExists(const std::string& path) {
    std::error_code ignored;
    return std::filesystem::exists(std::filesystem::symlink_status(path, ignored));
}

std::string nextFreePath(const std::string& folder) {
    const std::filesystem::path dir(folder);
    const int n = lowestFreeNumber([&](const std::string& name) { return entryExists((dir / name).string()); });
    return (dir / numberedFileName(n)).string();
}

}  // namespace pestrolik
