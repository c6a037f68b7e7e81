#pragma once
// The program's web page and mail address: written into every file's comment and
// offered by the about screen's links.

#include <string_view>

namespace pestrolik {

inline constexpr std::string_view webHost = "pestrolik.test";
inline constexpr std::string_view webAddress = "http://pestrolik.test";
inline constexpr std::string_view mailAddress = "team@p1.test";

}  // namespace pestrolik
