#pragma once
// The core keeps its texts as UTF-8 in standard strings; the window shows QStrings.

#include <QString>

#include <string_view>

namespace pestrolik {

inline QString fromUtf8(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

}  // namespace pestrolik
