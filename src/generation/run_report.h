#pragma once
// What a finished run tells the user, in the window's message box and on the
// terminal alike (UTF-8, Russian).

#include "generation/generation_run.h"

#include <string>
#include <string_view>
#include <vector>

namespace pestrolik {

struct RunMessage {
    std::string title;
    std::vector<std::string> lines;  // the window joins them with CR LF, a terminal with LF
};

// The message for `result`. `location` is the folder named in the completion message.
RunMessage runMessage(const RunResult& result, std::string_view location = {});

// Why a file could not be created or written, for the common causes in words of our
// own, otherwise as the system says it; empty for 0.
std::string failureReasonText(int errorNumber);

std::string joinLines(const std::vector<std::string>& lines, std::string_view separator);

}  // namespace pestrolik
