#pragma once
// Automatic names for new files: "Kaleidrix_" + the lowest free number + ".GIF".

#include <functional>
#include <string>
#include <string_view>

namespace pestrolik {

inline constexpr std::string_view fileNamePrefix = "Kaleidrix_";
inline constexpr std::string_view fileNameExtension = ".GIF";

// "Kaleidrix_<n>.GIF", n in its shortest decimal form.
std::string numberedFileName(int n);

// The lowest n from 1 whose name `taken` does not report; asks afresh every time.
int lowestFreeNumber(const std::function<bool(const std::string& name)>& taken);

// Anything at all at `path` (UTF-8): a file, a folder, a FIFO, a symbolic link even
// when it leads nowhere. Each of them would stop a new file from taking the name.
bool entryExists(const std::string& path);

// `folder` joined with the lowest free numbered name, judged by entryExists.
std::string nextFreePath(const std::string& folder);

}  // namespace pestrolik
