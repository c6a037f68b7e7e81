// pestrolik-render: the same pictures as the window, made from the command line.
// Exit codes: 0 written, 2 bad arguments or values, 3 the file exists, 4 writing
// failed, 128 + the signal when SIGINT, SIGTERM, SIGHUP or SIGQUIT stopped the run.
// No failing case leaves a file behind.

#include "generation/chance.h"
#include "generation/file_naming.h"
#include "generation/generation_run.h"
#include "generation/picture_params.h"
#include "render_options.h"
#include "generation/run_inputs.h"
#include "generation/run_report.h"
#include "terminal_host.h"

#include <cstdio>
#include <iostream>
#include <thread>
#include <unistd.h>

using namespace pestrolik;

namespace {

enum ExitCode { ok = 0, badInput = 2, fileExists = 3, writeFailed = 4, signalled = 128 };

int exitCode(RunOutcome outcome) {
    switch (outcome) {
    case RunOutcome::Completed: return ok;
    case RunOutcome::FileExists: return fileExists;
    case RunOutcome::CreateFailed:
    case RunOutcome::WriteFailed: return writeFailed;
    case RunOutcome::Stopped:
    case RunOutcome::Exited: break;
    }
    return signalled + TerminalHost::caughtSignal();
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
    if (options->out.empty()) {
        // Another program may take the name meanwhile: the next free one is as good.
        request.nextFreePath = [folder = options->folder] { return nextFreePath(folder); };
        request.outputPath = request.nextFreePath();
    } else {
        request.outputPath = options->out;
    }
    request.jobs = options->jobs > 0 ? options->jobs : std::max(1u, std::thread::hardware_concurrency());

    TerminalHost::catchSignals();
    RunResult result;
    {
        TerminalHost host(!options->quiet && isatty(STDERR_FILENO), request.stillBackground);
        result = runGeneration(request, host);
    }
    if (result.outcome == RunOutcome::Completed) {
        std::cout << result.path << '\n' << paramsCode(request.params) << '\n';
    } else {
        std::cerr << "pestrolik-render: " << joinLines(runMessage(result).lines, "\n") << '\n';
    }
    return exitCode(result.outcome);
}
