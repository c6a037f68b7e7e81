// pestrolik-render: the same pictures as the window, made from the command line.
// Exit codes: 0 written, 2 bad arguments or values, 3 the file exists, 4 writing
// failed, 130 interrupted (the partial file is deleted in every failing case).

#include "generation/chance.h"
#include "generation/file_naming.h"
#include "generation/generation_run.h"
#include "generation/picture_params.h"
#include "render_options.h"
#include "generation/run_inputs.h"
#include "terminal_host.h"

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <thread>
#include <unistd.h>

using namespace pestrolik;

namespace {

enum ExitCode { ok = 0, badInput = 2, fileExists = 3, writeFailed = 4, interrupted = 130 };

std::string nextFreePath(const std::string& folder) {
    const std::filesystem::path dir(folder);
    const int n = lowestFreeNumber([&](const std::string& name) {
        std::error_code ignored;
        return std::filesystem::is_regular_file(dir / name, ignored);
    });
    return (dir / numberedFileName(n)).string();
}

}  // namespace

int main(int argc, char** argv) {
    std::string error;
    const auto options = parseRenderOptions(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!options) {
        std::cerr << "pestrolik-render: " << error << '\n' << renderUsage;
        return badInput;
    }

    const RunInputs inputs = readRunInputs(options->countText, options->sizeText);
    if (inputs.problem != InputProblem::None) {
        std::cerr << inputProblemMessage(inputs.problem) << '\n';
        return badInput;
    }

    RunRequest request;
    request.frameCount = inputs.frameCount;
    request.pictureSize = inputs.pictureSize;
    request.stillBackground = options->still;
    if (!options->paramsCode.empty()) {
        const auto params = parseParamsCode(options->paramsCode);
        if (!params) {
            std::cerr << "pestrolik-render: --params wants ten comma-separated whole numbers:\n"
                         "  twist 0-9, lobes 0-9, spacing 0-9, turn 0-9, red 0-3, green 0-3, blue 0-3,\n"
                         "  depth 0-58, waves 0-2, reference size 10-1000\n";
            return badInput;
        }
        request.params = *params;
    } else {
        SystemClock clock;
        SystemRandom random;
        chooseParameters(request.params, clock, random);
        request.params.refSize = request.pictureSize;
    }
    request.outputPath = options->out.empty() ? nextFreePath(options->folder) : options->out;
    request.jobs = options->jobs > 0 ? options->jobs : std::max(1u, std::thread::hardware_concurrency());

    TerminalHost::catchInterrupt();
    RunOutcome outcome;
    {
        TerminalHost host(!options->quiet && isatty(STDERR_FILENO), request.stillBackground);
        outcome = runGeneration(request, host);
    }
    switch (outcome) {
    case RunOutcome::Completed:
        std::cout << request.outputPath << '\n' << paramsCode(request.params) << '\n';
        return ok;
    case RunOutcome::FileExists:
        std::cerr << "В этой папке уже есть такой файл :\n" << request.outputPath << ".\n";
        return fileExists;
    case RunOutcome::CreateFailed:
        std::cerr << "pestrolik-render: cannot create " << request.outputPath << '\n';
        return writeFailed;
    case RunOutcome::WriteFailed:
        std::cerr << "pestrolik-render: writing " << request.outputPath << " failed; nothing was saved\n";
        return writeFailed;
    case RunOutcome::Stopped:
    case RunOutcome::Exited:
        std::cerr << "Процесс был прерван.\nСохранение не произошло.\n";
        return interrupted;
    }
    return writeFailed;
}
