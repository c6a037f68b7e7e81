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

}  // namespace pestrolik
