// Whole pestrolik-render processes, as a user runs them: wall time and peak memory.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

void renderProcess(benchmark::State& state, std::vector<std::string> args) {
    const auto folder = std::filesystem::temp_directory_path() / ("pestrolik-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    long peakKiB = 0;
    for (auto _ : state) {
        const auto out = folder / "bench.GIF";
        std::filesystem::remove(out);
        std::vector<std::string> full = args;
        full.insert(full.end(), {"--quiet", "--out", out.string()});
        std::vector<char*> argv{const_cast<char*>(RENDER_EXE)};
        for (std::string& a : full) argv.push_back(a.data());
        argv.push_back(nullptr);
        const pid_t pid = fork();
        if (pid == 0) {
            std::freopen("/dev/null", "w", stdout);
            execv(RENDER_EXE, argv.data());
            _exit(127);
        }
        int status = 0;
        rusage usage{};
        wait4(pid, &status, 0, &usage);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) state.SkipWithError("pestrolik-render failed");
        peakKiB = std::max(peakKiB, usage.ru_maxrss);
    }
    std::filesystem::remove_all(folder);
    state.counters["peak_MiB"] = static_cast<double>(peakKiB) / 1024;
}

}  // namespace

BENCHMARK_CAPTURE(renderProcess, count100_size1000, {"--count", "100", "--size", "1000"})
    ->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK_CAPTURE(renderProcess, count100_size1000_jobs1, {"--count", "100", "--size", "1000", "--jobs", "1"})
    ->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK_CAPTURE(renderProcess, count10_size200, {"--count", "10", "--size", "200"})
    ->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);
