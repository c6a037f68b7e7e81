#pragma once
// What START's refusals and a finished run tell the user, in the window's message box
// and on the terminal alike (UTF-8, Russian).

#include "generation/generation_run.h"
#include "generation/run_inputs.h"

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

// The message box text for a count or size the run refuses (title: inputProblemTitle).
std::string_view inputProblemMessage(InputProblem problem);
inline constexpr std::string_view inputProblemTitle = "Ошибочка";

std::string joinLines(const std::vector<std::string>& lines, std::string_view separator);

}  // namespace pestrolik
