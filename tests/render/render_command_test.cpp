// pestrolik-render driven as a user drives it: a real process in a folder of its own,
// its output streams caught in files, real files.

#include "core_test.h"
#include "music/song_builder.h"
#include "music/song_midi_file.h"
#include "music/voice_rotation.h"

#include <chrono>
#include <fcntl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

// The signals that ask a program to end, and those that end one by surprise.
constexpr int endingSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGALRM, SIGPIPE, SIGUSR1, SIGUSR2, SIGVTALRM};

// The exit code is 1000 + the signal when one ended the program.
struct Finished { int exitCode = -1; std::string out, err; };

std::string slurp(const fs::path& path) { const auto bytes = readFileBytes(path.string()); return {bytes.begin(), bytes.end()}; }

class RenderCommand : public ::testing::Test {
protected:
    void SetUp() override { fs::create_directories(pictures()); }

    // Starts in pictures(), every signal at its default; standard output goes to
    // `stdoutPath` when given.
    pid_t start(const std::vector<std::string>& args, const std::string& stdoutPath = "") {
        const pid_t pid = fork();
        if (pid == 0) {
            dup2(::open(stdoutPath.empty() ? (folder_ / "stdout").c_str() : stdoutPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
            dup2(::open((folder_ / "stderr").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
            if (chdir(pictures().c_str()) != 0) _exit(99);
            for (int signal : endingSignals) std::signal(signal, SIG_DFL);
            std::vector<char*> argv{const_cast<char*>(RENDER_EXE)};
            for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            execv(RENDER_EXE, argv.data());
            _exit(98);
        }
        return pid;
    }

    Finished finish(pid_t pid) {
        int status = 0;
        waitpid(pid, &status, 0);
        Finished f{WIFEXITED(status) ? WEXITSTATUS(status) : 1000 + WTERMSIG(status), slurp(folder_ / "stdout"),
                   slurp(folder_ / "stderr")};
        fs::remove(folder_ / "stdout");  // a run writing elsewhere must not show the last one's
        return f;
    }
    Finished run(const std::vector<std::string>& args, const std::string& out = "") { return finish(start(args, out)); }

    fs::path pictures() const { return folder_ / "pictures"; }

    TempFolder folder_{"render"};
};

// The data file's placeholders and line breaks made real.
std::string expand(std::string text) {
    const std::pair<std::string, std::string> words[] = {
        {"{version}", RENDER_VERSION}, {"{code}", "3,5,7,2,1,0,3,20,1,16"}, {"{long}", std::string(300, 'n')}, {"\\n", "\n"}};
    for (const auto& [word, meaning] : words)
        for (size_t at; (at = text.find(word)) != std::string::npos;) text.replace(at, word.size(), meaning);
    return text;
}

}  // namespace

// The printed parameter code makes the same picture again, on standard output and on
// another count of threads.
TEST_F(RenderCommand, TheParameterCodeMakesTheSamePictureAgain) {
    const Finished first = run({"--count", "4", "--size", "90", "--still", "--out", "a.GIF", "--jobs", "2"});
    ASSERT_EQ(first.exitCode, 0) << first.err;
    const std::string code = first.out.substr(6, first.out.size() - 7);  // between "a.GIF\n" and the last break
    const Finished again = run({"-c", "4", "-s", "90", "--still", "--out", "-", "--params", code, "-j", "1", "-q"});
    EXPECT_EQ(again.exitCode, 0) << again.err;
    EXPECT_EQ(again.out, slurp(pictures() / "a.GIF"));
    const auto decoded = decodeGif(readFileBytes((pictures() / "a.GIF").string()));
    EXPECT_TRUE(decoded.ok && decoded.frames.size() == 4 && decoded.controlBytes[0] == 0x09) << decoded.error;
}

TEST_F(RenderCommand, ArgumentsRefusalsAndFailuresOneTable) {
    std::ofstream(pictures() / "taken.GIF") << "keep me";
    std::ofstream(pictures() / "Kaleidrix_1.GIF") << "x";
    std::ofstream(pictures() / "kaleidrix_2.GIF") << "x";
    for (const DataRow& c : readDataTable(TEST_DATA_DIR "/cli_cases.txt")) {
        std::vector<std::string> args;
        std::istringstream words(expand(c[1]));
        for (std::string word; words >> word;) args.push_back(word);
        const Finished f = run(args, c[5]);
        const std::string out = expand(c[3]);
        EXPECT_EQ(f.exitCode, std::stoi(c[2])) << c[0] << ": " << f.err;
        EXPECT_NE(f.err.find(expand(c[4])), std::string::npos) << c[0] << ": " << f.err;
        EXPECT_TRUE(out.empty() ? f.out.empty() : f.out.find(out) != std::string::npos) << c[0] << ": " << f.out;
    }
    EXPECT_EQ(decodeGif(readFileBytes((pictures() / "a.GIF").string())).controlBytes.at(0), 0x08);  // not still
    EXPECT_EQ(slurp(pictures() / "taken.GIF"), "keep me");
    EXPECT_EQ(std::distance(fs::directory_iterator(pictures()), fs::directory_iterator{}), 9);  // the three placed and the six made
}

// Whether process `pid` has a file open in `folder`, named or not.
bool writesInto(pid_t pid, const fs::path& folder) {
    std::error_code gone;
    return std::ranges::any_of(fs::directory_iterator("/proc/" + std::to_string(pid) + "/fd", gone),
                               [&](const auto& fd) { return fs::read_symlink(fd, gone).string().starts_with(folder.string() + "/"); });
}

// Each signal that would end the program stops the run once it writes: the file goes,
// and the exit code names the signal.
TEST_F(RenderCommand, EndingSignalsStopTheRunAndLeaveNoFile) {
    for (int signal : endingSignals) {
        const pid_t pid = start({"--count", "100", "--size", "1000", "-q"});
        for (int waited = 0; !writesInto(pid, pictures()) && waited < 10000; ++waited)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        ::kill(pid, signal);
        EXPECT_EQ(finish(pid).exitCode, 128 + signal) << strsignal(signal);
    }
    EXPECT_TRUE(fs::is_empty(pictures()));
}

// The song file is the song the given voice counters choose, as stored counters would.
TEST_F(RenderCommand, TheSongFileHoldsTheGivenVoices) {
    ASSERT_EQ(run({"--song=s.mid", "--voices=7,99,3"}).exitCode, 0);
    MemorySettingsStore counters;
    for (auto [counter, value] : {std::pair{kSoloCounter, "7"}, {kBackgroundCounter, "99"}, {kBassCounter, "3"}})
        counters.save(kVoiceCounterSection, counter.key, value);
    SongTable song;
    buildSong(counters, song);
    EXPECT_EQ(readFileBytes((pictures() / "s.mid").string()), songMidiFile(song));
}

// --small and --webp show the plain file's frames, made ahead on worker threads; the
// largest picture with the most frames included, and WebP at each size step of its settings.
TEST_F(RenderCommand, SmallAndWebpFilesShowThePlainFrames) {
    const std::tuple<std::string, std::string, std::string> cases[] = {  // size, count, still
        {"1000", "100", ""}, {"64", "5", "--still"}, {"64", "2", ""}, {"600", "2", "--still"}, {"900", "2", ""}};
    for (const auto& [size, count, still] : cases) {
        std::vector<std::string> args = {"-s", size, "-c", count, "-p", "3,5,7,2,1,0,3,20,1,300", "-j", "2", "-q"};
        if (!still.empty()) args.push_back(still);
        const auto made = [&](const std::string& name, const std::string& format) {
            std::vector<std::string> all = args;
            all.insert(all.end(), {"-o", name});
            if (!format.empty()) all.push_back(format);
            EXPECT_EQ(run(all).exitCode, 0) << name;
            return readFileBytes((pictures() / name).string());
        };
        const std::vector<uint8_t> plainBytes = made("p" + size + still + ".GIF", "");
        const ShownAnimation plain = showGif(plainBytes);
        const std::vector<uint8_t> smallBytes = made("s" + size + still + ".GIF", "--small");
        const ShownAnimation small = showGif(smallBytes);
        ASSERT_TRUE(plain.ok && small.ok) << small.error;
        EXPECT_TRUE(small == plain) << size << still << ": the screens, delays, loop and comments";
        EXPECT_LT(smallBytes.size(), plainBytes.size());
        if (size == "1000") continue;  // WebP takes its time: the small pictures show it
        const std::vector<uint8_t> webpBytes = made("w" + size + still + ".webp", "--webp");
        const ShownAnimation webp = showWebp(webpBytes);
        ASSERT_TRUE(webp.ok) << webp.error;
        EXPECT_TRUE(webp.frames == plain.frames && webp.delays == plain.delays && webp.loopCount == 0) << size << still;
        args[7] = "1";  // on the run's own thread, the same bytes
        EXPECT_EQ(made("t" + size + still + ".GIF", "--small"), smallBytes) << size << still;
        EXPECT_EQ(made("v" + size + still + ".webp", "--webp"), webpBytes) << size << still;
    }
}
