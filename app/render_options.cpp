#include "render_options.h"

namespace pestrolik {

const char* const renderUsage =
    "usage: pestrolik-render [--count N] [--size S] [--still] [--folder DIR | --out FILE]\n"
    "                        [--params CODE] [--jobs N] [--quiet]\n";

std::optional<RenderOptions> parseRenderOptions(const std::vector<std::string>& args, std::string& error) {
    RenderOptions options;
    bool folderGiven = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&]() -> const std::string* {
            if (i + 1 >= args.size()) {
                error = arg + " needs a value";
                return nullptr;
            }
            return &args[++i];
        };
        const std::string* v = nullptr;
        if (arg == "--still") {
            options.still = true;
        } else if (arg == "--quiet") {
            options.quiet = true;
        } else if (arg == "--count" || arg == "--size" || arg == "--folder" || arg == "--out" ||
                   arg == "--params" || arg == "--jobs") {
            if (!(v = value())) return std::nullopt;
            if (arg == "--count") options.countText = *v;
            if (arg == "--size") options.sizeText = *v;
            if (arg == "--folder") options.folder = *v, folderGiven = true;
            if (arg == "--out") options.out = *v;
            if (arg == "--params") options.paramsCode = *v;
            if (arg == "--jobs") {
                if (v->empty() || v->size() > 3 || v->find_first_not_of("0123456789") != std::string::npos ||
                    std::stoi(*v) < 1) {
                    error = "--jobs takes a whole number from 1 to 999";
                    return std::nullopt;
                }
                options.jobs = std::stoi(*v);
            }
        } else {
            error = "unknown argument: " + arg;
            return std::nullopt;
        }
    }
    if (folderGiven && !options.out.empty()) {
        error = "--folder and --out exclude each other";
        return std::nullopt;
    }
    return options;
}

}  // namespace pestrolik
