#pragma once
// Automatic names for new files: "Kaleidrix_" + the lowest free number + ".GIF", one
// rule for the window and the command line.

#include <string>
#include <string_view>

namespace pestrolik {

inline constexpr std::string_view fileNamePrefix = "Kaleidrix_";
inline constexpr std::string_view fileNameExtension = ".GIF";

// "Kaleidrix_<n>.GIF" (or another extension), n in its shortest decimal form.
std::string numberedFileName(int n, std::string_view extension = fileNameExtension);

// Anything at all at `path` (UTF-8): a file, a folder, a FIFO, a symbolic link even
// when it leads nowhere. Each of them would stop a new file from taking the name.
bool entryExists(const std::string& path);

// The lowest n from 1 whose name is free in `folder`, looked up afresh on every call.
// A name is taken when entryExists answers for it, so letter case counts exactly as
// the file system counts it: where case is ignored (a FAT memory stick), kaleidrix_1.gif
// takes Kaleidrix_1.GIF, since a new file could not get that name there either.
int lowestFreeNumber(const std::string& folder, std::string_view extension = fileNameExtension);

// `folder` joined with the lowest free numbered name.
std::string nextFreePath(const std::string& folder, std::string_view extension = fileNameExtension);

}  // namespace pestrolik
