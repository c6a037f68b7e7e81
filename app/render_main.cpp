// pestrolik-render: the same pictures as the window, made from the command line.
// Exit codes: 0 written, 2 bad arguments or values, 3 the file exists, 4 writing
// failed (standard output included), 130 interrupted (the partial file is deleted
// in every failing case; a stream on standard output is cut off).

#include "generation/chance.h"
#include "generation/file_naming.h"
#include "generation/generation_run.h"
#include "generation/picture_params.h"
#include "render_options.h"
#include "generation/run_inputs.h"
#include "music/song_builder.h"
#include "music/song_midi_file.h"
#include "music/voice_rotation.h"
#include "stdout_sink.h"
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

// The song of the about screen as a MIDI file, built from the given voice counters
// the way the stored ones would build it; the real settings are neither read nor advanced.
int saveSong(const RenderOptions& options) {
    MemorySettingsStore counters;
    const VoiceCounter order[] = {kSoloCounter, kBackgroundCounter, kBassCounter};
    for (size_t i = 0; i < options.voiceCounters.size(); ++i)
        counters.save(kVoiceCounterSection, order[i].key, options.voiceCounters[i]);
    SongTable song;
    buildSong(counters, song);
    const std::vector<uint8_t> bytes = songMidiFile(song);

    const std::string& path = options.songPath;
    CreateError createError = CreateError::None;
    std::unique_ptr<ByteSink> sink;
    if (path == "-")
        sink = std::make_unique<StdoutSink>();
    else
        sink = FileSink::createNew(path, createError);
    if (createError == CreateError::AlreadyExists) {
        std::cerr << "pestrolik-render: В этой папке уже есть такой файл :\n" << path << ".\n";
        return fileExists;
    }
    if (!sink) {
        std::cerr << "pestrolik-render: Не удалось создать файл :\n" << path << '\n';
        return writeFailed;
    }
    if (!sink->write(bytes) || !sink->finish()) {
        std::cerr << "pestrolik-render: Не удалось записать файл :\n" << path << '\n';
        return writeFailed;
    }
    if (path != "-") std::cout << path << '\n';
    return ok;
}

int render(int argc, char** argv) {
    std::string error;
    const auto options = parseRenderOptions(argc, argv, error);
    if (!options) {
        std::cerr << "pestrolik-render: " << error << "\nПодробнее: pestrolik-render --help\n";
        return badInput;
    }
    switch (options->task) {
    case RenderOptions::Task::Help: std::cout << renderHelp; return ok;
    case RenderOptions::Task::Version: std::cout << "pestrolik-render " PESTROLIK_VERSION "\n"; return ok;
    case RenderOptions::Task::Song:
    case RenderOptions::Task::Picture: break;
    }
    const bool toStdout = (options->task == RenderOptions::Task::Song ? options->songPath : options->out) == "-";
    if (toStdout && isatty(STDOUT_FILENO)) {
        std::cerr << "pestrolik-render: стандартный вывод — терминал; направьте его в файл или программу\n";
        return badInput;
    }
    if (options->task == RenderOptions::Task::Song) return saveSong(*options);

    const RunInputs inputs = readRunInputs(options->countText, options->sizeText);
    if (inputs.problem != InputProblem::None) {
        std::cerr << "pestrolik-render: " << inputProblemMessage(inputs.problem) << '\n';
        return badInput;
    }

    RunRequest request;
    request.frameCount = inputs.frameCount;
    request.pictureSize = inputs.pictureSize;
    request.stillBackground = options->still;
    if (options->params) {
        request.params = *options->params;
    } else {
        SystemClock clock;
        SystemRandom random;
        chooseParameters(request.params, clock, random);
        request.params.refSize = request.pictureSize;
    }
    request.outputPath = options->out.empty() ? nextFreePath(options->folder) : options->out;
    request.jobs = options->jobs > 0 ? options->jobs : std::max(1u, std::thread::hardware_concurrency());

    const SinkOpener openSink = !toStdout ? fileSinkOpener() : [](const std::string&, CreateError&) {
        return std::unique_ptr<ByteSink>(std::make_unique<StdoutSink>());
    };

    TerminalHost::catchInterrupt();
    RunOutcome outcome;
    {
        TerminalHost host(!options->quiet && isatty(STDERR_FILENO), request.stillBackground);
        outcome = runGeneration(request, host, openSink);
    }
    switch (outcome) {
    case RunOutcome::Completed:
        (toStdout ? std::cerr : std::cout) << request.outputPath << '\n' << paramsCode(request.params) << '\n';
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

}  // namespace

// Whatever went to standard output must have arrived: a full disk or a closed pipe
// is a failure even when everything else went well.
int main(int argc, char** argv) {
    const int code = render(argc, argv);
    if (code == ok && (std::fflush(stdout) != 0 || std::ferror(stdout))) {
        std::cerr << "pestrolik-render: не удалось записать в стандартный вывод\n";
        return writeFailed;
    }
    return code;
}
