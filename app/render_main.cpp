// pestrolik-render: the same pictures as the window, made from the command line.
// Exit codes: 0 written, 2 bad arguments or values, 3 the file exists, 4 writing
// failed (standard output included), 128 + the signal when one that would end the
// program stopped it (generation/ending_signals.h). No failing case leaves a file
// behind; a stream on standard output is cut off, and a signal ends it as any filter.

#include "generation/chance.h"
#include "generation/file_naming.h"
#include "generation/generation_run.h"
#include "generation/picture_params.h"
#include "generation/run_inputs.h"
#include "messages/failure_reason.h"
#include "messages/run_messages.h"
#include "music/song_builder.h"
#include "music/song_midi_file.h"
#ifdef PESTROLIK_SONG_SOUND
#include "music/song_sound.h"
#endif
#include "music/voice_rotation.h"
#include "render_options.h"
#include "stdout_sink.h"
#include "terminal_host.h"
#include "webp/webp_animation.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
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

// A run or a write that a signal broke off was stopped by it; it did not fail.
RunResult seenThroughSignals(RunResult result) {
    if (TerminalHost::caughtSignal() && result.outcome != RunOutcome::Completed) result.outcome = RunOutcome::Stopped;
    return result;
}

// Standard output for "-", else a new file.
SinkOpener outputOpener(bool toStdout) {
    if (!toStdout) return fileSinkOpener();
    return [](const std::string&, CreateError&) { return std::unique_ptr<ByteSink>(std::make_unique<StdoutSink>()); };
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
std::optional<std::vector<uint8_t>> songFile(const RenderOptions& options) {
    MemorySettingsStore counters;
    const VoiceCounter order[] = {kSoloCounter, kBackgroundCounter, kBassCounter};
    for (size_t i = 0; i < options.voiceCounters.size(); ++i)
        counters.save(kVoiceCounterSection, order[i].key, options.voiceCounters[i]);
    SongTable song;
    buildSong(counters, song);
    return options.songSound ? songSound(song, options.soundFont) : songMidiFile(song);
}

RunResult writeWhole(const std::string& path, const std::vector<uint8_t>& bytes) {
    CreateError createError = CreateError::None;
    const std::unique_ptr<ByteSink> sink = outputOpener(path == "-")(path, createError);
    if (!sink) {
        const bool taken = createError == CreateError::AlreadyExists;
        return {taken ? RunOutcome::FileExists : RunOutcome::CreateFailed, path, createError.reason};
    }
    if (!sink->write(bytes) || !sink->finish()) return {RunOutcome::WriteFailed, path, sink->failureReason()};
    return {RunOutcome::Completed, path, 0};
}

int saveSong(const RenderOptions& options) {
    TerminalHost::catchSignals(options.songPath == "-");
    const auto bytes = songFile(options);
    if (!bytes) return badInput;
    const RunResult result = seenThroughSignals(writeWhole(options.songPath, *bytes));
    if (result.outcome != RunOutcome::Completed) {
        printFailure(result);
        return exitCode(result.outcome);
    }
    if (result.path != "-") std::cout << result.path << '\n';
    return ok;
}

RunRequest pictureRequest(const RenderOptions& options, const RunInputs& inputs) {
    RunRequest request;
    request.frameCount = inputs.frameCount;
    request.pictureSize = inputs.pictureSize;
    request.stillBackground = options.still;
    if (options.params) {
        request.params = *options.params;
    } else {
        SystemClock clock;
        SystemRandom random;
        chooseParameters(request.params, clock, random);
        request.params.refSize = request.pictureSize;
    }
    const bool webp = options.format == RenderOptions::Format::Webp;
    request.small = options.format == RenderOptions::Format::SmallGif;
    if (webp) request.animation = webpAnimation;
    if (options.out.empty()) {
        // Another program may take the name meanwhile: the next free one is as good.
        request.nextFreePath = [folder = options.folder, webp] {
            return webp ? nextFreePath(folder, ".webp") : nextFreePath(folder);
        };
        request.outputPath = request.nextFreePath();
    } else {
        request.outputPath = options.out;
    }
    request.jobs = options.jobs > 0 ? options.jobs : std::max(1u, std::thread::hardware_concurrency());
    return request;
}

int renderPicture(const RenderOptions& options, bool toStdout) {
    const RunInputs inputs = readRunInputs(options.countText, options.sizeText);
    if (inputs.problem != InputProblem::None) {
        std::cerr << "pestrolik-render: " << inputProblemMessage(inputs.problem) << '\n';
        return badInput;
    }
    const RunRequest request = pictureRequest(options, inputs);
    TerminalHost::catchSignals(toStdout);
    RunResult result;
    {
        TerminalHost host(!options.quiet && isatty(STDERR_FILENO), request.stillBackground);
        result = seenThroughSignals(runGeneration(request, host, outputOpener(toStdout)));
    }
    if (result.outcome == RunOutcome::Completed) {
        (toStdout ? std::cerr : std::cout) << result.path << '\n' << paramsCode(request.params) << '\n';
    } else {
        printFailure(result);
    }
    return exitCode(result.outcome);
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
    const bool song = options->task == RenderOptions::Task::Song;
    const std::string& target = song ? options->songPath : options->out;
    const bool toStdout = target == "-";
    if (toStdout && isatty(STDOUT_FILENO)) {
        std::cerr << "pestrolik-render: стандартный вывод — терминал; направьте его в файл или программу\n";
        return badInput;
    }
    std::error_code ignored;
    if (!toStdout && std::filesystem::is_directory(target, ignored)) {
        std::cerr << "pestrolik-render: " << (song ? "--song" : "--out") << ": «" << target << "» — это папка, а не файл\n";
        return badInput;
    }
    return song ? saveSong(*options) : renderPicture(*options, toStdout);
}

}  // namespace

// Whatever went to standard output must have arrived: a full disk or a closed pipe
// is a failure even when everything else went well.
int main(int argc, char** argv) {
    int code = render(argc, argv);
    errno = 0;
    if (code == ok && (std::fflush(stdout) != 0 || std::ferror(stdout))) {
        const std::string reason = errno != 0 ? ": " + failureReasonText(errno) : "";
        std::cerr << "pestrolik-render: не удалось записать в стандартный вывод" << reason << '\n';
        code = writeFailed;
    }
    return code != ok && TerminalHost::caughtSignal() ? signalled + TerminalHost::caughtSignal() : code;
}
