// pestrolik-render: the same pictures as the window, made from the command line.
// Exit codes: 0 written, 2 bad arguments or values, 3 the file exists, 4 writing
// failed (standard output included), 128 + the signal when SIGINT, SIGTERM, SIGHUP
// or SIGQUIT stopped the run. No failing case leaves a file behind; a stream on
// standard output is cut off.

#include "generation/chance.h"
#include "generation/file_naming.h"
#include "generation/generation_run.h"
#include "generation/picture_params.h"
#include "render_options.h"
#include "generation/run_inputs.h"
#include "generation/run_report.h"
#include "music/song_builder.h"
#include "music/song_midi_file.h"
#ifdef PESTROLIK_SONG_SOUND
#include "music/song_sound.h"
#endif
#include "music/voice_rotation.h"
#include "stdout_sink.h"
#include "terminal_host.h"

#include <cstdio>
#include <iostream>
#include <thread>
#include <unistd.h>

using namespace pestrolik;

namespace {

enum ExitCode { ok = 0, badInput = 2, fileExists = 3, writeFailed = 4, signalled = 128 };

void printFailure(const RunResult& result) {
    std::cerr << "pestrolik-render: " << joinLines(runMessage(result).lines, "\n") << '\n';
}

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

// The song as the about screen sounds it with `soundFont` (empty: the one it finds), in
// a WAVE file; nothing, after saying why, when the sound font does not load.
std::optional<std::vector<uint8_t>> songSound(const SongTable& song, const std::string& soundFont) {
#ifdef PESTROLIK_SONG_SOUND
    const auto font = soundFont.empty() ? findGeneralMidiSoundFont() : std::filesystem::path(soundFont);
    if (font)
        if (auto bytes = songWaveFile(song, *font)) return bytes;
    std::cerr << "pestrolik-render: "
              << (soundFont.empty() ? "не найден звуковой шрифт General MIDI; укажите его в --soundfont"
                                    : "--soundfont: «" + soundFont + "» — не звуковой шрифт")
              << '\n';
#else
    (void)song, (void)soundFont;
    std::cerr << "pestrolik-render: эта сборка без синтезатора и пишет песню только в MIDI-файл\n";
#endif
    return std::nullopt;
}

// The song of the about screen as a MIDI or WAVE file, built from the given voice counters
// the way the stored ones would build it; the real settings are neither read nor advanced.
int saveSong(const RenderOptions& options) {
    MemorySettingsStore counters;
    const VoiceCounter order[] = {kSoloCounter, kBackgroundCounter, kBassCounter};
    for (size_t i = 0; i < options.voiceCounters.size(); ++i)
        counters.save(kVoiceCounterSection, order[i].key, options.voiceCounters[i]);
    SongTable song;
    buildSong(counters, song);
    const auto bytes = options.songSound ? songSound(song, options.soundFont) : songMidiFile(song);
    if (!bytes) return badInput;

    const std::string& path = options.songPath;
    CreateError createError = CreateError::None;
    std::unique_ptr<ByteSink> sink;
    if (path == "-")
        sink = std::make_unique<StdoutSink>();
    else
        sink = FileSink::createNew(path, createError);
    RunResult result{RunOutcome::Completed, path, 0};
    if (!sink) {
        const bool taken = createError == CreateError::AlreadyExists;
        result = {taken ? RunOutcome::FileExists : RunOutcome::CreateFailed, path, createError.reason};
    } else if (!sink->write(*bytes) || !sink->finish()) {
        result = {RunOutcome::WriteFailed, path, sink->failureReason()};
    }
    if (result.outcome != RunOutcome::Completed) {
        printFailure(result);
        return exitCode(result.outcome);
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
    if (options->out.empty()) {
        // Another program may take the name meanwhile: the next free one is as good.
        request.nextFreePath = [folder = options->folder] { return nextFreePath(folder); };
        request.outputPath = request.nextFreePath();
    } else {
        request.outputPath = options->out;
    }
    request.jobs = options->jobs > 0 ? options->jobs : std::max(1u, std::thread::hardware_concurrency());

    const SinkOpener openSink = !toStdout ? fileSinkOpener() : [](const std::string&, CreateError&) {
        return std::unique_ptr<ByteSink>(std::make_unique<StdoutSink>());
    };

    TerminalHost::catchSignals();
    RunResult result;
    {
        TerminalHost host(!options->quiet && isatty(STDERR_FILENO), request.stillBackground);
        result = runGeneration(request, host, openSink);
    }
    if (result.outcome == RunOutcome::Completed) {
        (toStdout ? std::cerr : std::cout) << result.path << '\n' << paramsCode(request.params) << '\n';
    } else {
        printFailure(result);
    }
    return exitCode(result.outcome);
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
