// pestrolik-render driven as a user drives it: a real process, real files.

#include "gif_judge.h"
#include "render_process.h"

#include <chrono>
#include <csignal>
#include <thread>

using namespace pestrolik::testing;
namespace fs = std::filesystem;

namespace {

using RenderCommand = RenderProcess;

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) result.push_back(line);
    return result;
}

}  // namespace

TEST_F(RenderCommand, NamesFilesLikeTheWindowAndPrintsPathAndCode) {
    const Finished first = run({"--count", "2", "--size", "24", "--quiet"});
    ASSERT_EQ(first.exitCode, 0) << first.err;
    const auto out = lines(first.out);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(fs::path(out[0]).filename(), "Kaleidrix_1.GIF");
    EXPECT_TRUE(fs::exists(pictures() / "Kaleidrix_1.GIF"));

    fs::remove(pictures() / "Kaleidrix_1.GIF");
    std::ofstream(pictures() / "Kaleidrix_1.GIF") << "x";
    std::ofstream(pictures() / "Kaleidrix_3.GIF") << "x";
    std::ofstream(pictures() / "kaleidrix_2.GIF") << "x";  // another letter case: 2 is still free
    const Finished second = run({"--count", "1", "--size", "10", "--folder", pictures().string()});
    ASSERT_EQ(second.exitCode, 0) << second.err;
    EXPECT_EQ(fs::path(lines(second.out)[0]).filename(), "Kaleidrix_2.GIF");
    EXPECT_EQ(fs::file_size(pictures() / "Kaleidrix_2.GIF"), 878u);
}

TEST_F(RenderCommand, TheParameterCodeMakesTheSamePictureAgain) {
    const Finished first = run({"--count", "4", "--size", "90", "--still", "--out", "a.GIF", "--jobs", "2"});
    ASSERT_EQ(first.exitCode, 0) << first.err;
    const std::string code = lines(first.out).at(1);
    const Finished again = run({"--count", "4", "--size", "90", "--still", "--out", "b.GIF", "--params", code, "--jobs", "1"});
    ASSERT_EQ(again.exitCode, 0) << again.err;
    EXPECT_EQ(lines(again.out).at(1), code);
    const auto a = readFileBytes((pictures() / "a.GIF").string());
    EXPECT_EQ(a, readFileBytes((pictures() / "b.GIF").string()));
    const auto decoded = decodeGif(a);
    ASSERT_TRUE(decoded.ok) << decoded.error;
    EXPECT_EQ(decoded.frames.size(), 4u);
    EXPECT_EQ(decoded.controlBytes[0], 0x09);

    // The same picture at another size keeps the code's reference size.
    const Finished bigger = run({"--count", "1", "--size", "150", "--out", "c.GIF", "--params", code});
    ASSERT_EQ(bigger.exitCode, 0) << bigger.err;
    EXPECT_EQ(lines(bigger.out).at(1), code);
}

// Every case's stdout holds `out` (empty: nothing at all) and its stderr `err`.
TEST_F(RenderCommand, ArgumentsRefusalsAndFailuresOneTable) {
    struct Case {
        const char* name;
        std::vector<std::string> args;
        int exitCode;
        std::string out, err;
        const char* stdoutPath = "";
    };
    const std::string code = "3,5,7,2,1,0,3,20,1,16", notWhole = "» — не целое число";
    std::ofstream(pictures() / "taken.GIF") << "keep me";
    const Case cases[] = {
        {"help", {"--help"}, 0, "  -V, --version", ""},
        {"version", {"-V"}, 0, "pestrolik-render " RENDER_VERSION "\n", ""},
        {"letters after digits", {"--count=3abc"}, 2, "", "pestrolik-render: --count: «3abc" + notWhole},
        {"a fraction", {"--size", "2.9"}, 2, "", "pestrolik-render: --size: «2.9" + notWhole},
        {"letters", {"-cabc"}, 2, "", "«abc" + notWhole},
        {"empty", {"--jobs="}, 2, "", "pestrolik-render: --jobs: «" + notWhole},
        {"unknown option", {"--colour", "red"}, 2, "", "pestrolik-render: непонятный параметр «--colour»"},
        {"count over 100", {"--count", "101"}, 2, "", "pestrolik-render: Количество картинок не должно превышать 100."},
        {"size under 10", {"-s9"}, 2, "", "pestrolik-render: Ширина и высота картинок должны быть не меньше, чем 10"},
        {"bad parameter code", {"--params", "1,2,3"}, 2, "", "pestrolik-render: --params: «1,2,3»"},
        {"voices without three numbers", {"--song=s.mid", "--voices=1,x,3"}, 2, "", "pestrolik-render: --voices:"},
        {"existing file", {"--out", "taken.GIF"}, 3, "", "В этой папке уже есть такой файл :"},
        {"missing folder", {"--out", "nowhere/x.GIF"}, 4, "", "cannot create"},
        {"full disk on stdout", {"--help"}, 4, "", "pestrolik-render: не удалось записать в стандартный вывод", "/dev/full"},
        {"a file", {"--count=2", "--size=16", "--params=" + code, "--out=a.GIF", "-q"}, 0, "a.GIF\n" + code, ""},
    };
    for (const Case& c : cases) {
        const Finished f = run(c.args, c.stdoutPath);
        EXPECT_EQ(f.exitCode, c.exitCode) << c.name << ": " << f.err;
        EXPECT_NE(f.err.find(c.err), std::string::npos) << c.name << ": " << f.err;
        EXPECT_TRUE(c.out.empty() ? f.out.empty() : f.out.find(c.out) != std::string::npos) << c.name << ": " << f.out;
    }
    // The same picture on standard output, and nothing else there.
    const Finished piped = run({"-c", "2", "-s", "16", "-p", code, "--out", "-", "-q"});
    EXPECT_EQ(piped.exitCode, 0) << piped.err;
    EXPECT_EQ(piped.out, slurp(pictures() / "a.GIF"));
    EXPECT_EQ(slurp(pictures() / "taken.GIF"), "keep me");
    EXPECT_EQ(std::distance(fs::directory_iterator(pictures()), fs::directory_iterator{}), 2);
}

TEST_F(RenderCommand, CtrlCDeletesThePartialFile) {
    const pid_t pid = start({"--count", "100", "--size", "1000", "--out", "big.GIF", "--jobs", "1", "--quiet"});
    const auto file = pictures() / "big.GIF";
    for (int i = 0; i < 2000 && !(fs::exists(file) && fs::file_size(file) > 0); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    ASSERT_TRUE(fs::exists(file)) << "the run never started writing";
    kill(pid, SIGINT);
    const Finished f = finish(pid);
    EXPECT_EQ(f.exitCode, 130) << f.err;
    EXPECT_FALSE(fs::exists(file));
    EXPECT_NE(f.err.find("Сохранение не произошло."), std::string::npos);
}
