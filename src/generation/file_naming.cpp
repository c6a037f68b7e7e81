#include "generation/file_naming.h"

namespace pestrolik {

std::string numberedFileName(int n) {
    return std::string(fileNamePrefix) + std::to_string(n) + std::string(fileNameExtension);
}

int lowestFreeNumber(const std::function<bool(const std::string& name)>& taken) {
    int n = 1;
    while (taken(numberedFileName(n))) ++n;
    return n;
}

}  // namespace pestrolik
