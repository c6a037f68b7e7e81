#pragma once
// The headless renderer's command line.

#include <optional>
#include <string>
#include <vector>

namespace pestrolik {

struct RenderOptions {
    std::string countText = "3";  // read later exactly as the count box is
    std::string sizeText = "200";
    bool still = false;
    std::string folder = ".";
    std::string out;  // explicit file; empty: the next free name in `folder`
    std::string paramsCode;  // empty: fresh parameters
    int jobs = 0;  // 0: one per core
    bool quiet = false;
};

// Nothing, with `error` set, when the arguments are not understood.
std::optional<RenderOptions> parseRenderOptions(const std::vector<std::string>& args, std::string& error);

extern const char* const renderUsage;

}  // namespace pestrolik
