#include "terminal_host.h"

#include "generation/ending_signals.h"

#include <csignal>
#include <string>

namespace pestrolik {

namespace {

volatile std::sig_atomic_t caught = 0;

extern "C" void onStopSignal(int signal) {
    if (!caught) caught = signal;  // the first one tells why the run ended
}

}  // namespace

TerminalHost::TerminalHost(bool showProgress, bool stillBackground)
    : showProgress_(showProgress), still_(stillBackground) {}

TerminalHost::~TerminalHost() {
    if (drawn_) std::fputc('\n', stderr);
}

void TerminalHost::catchSignals(bool writingToStdout) {
    std::signal(SIGXFSZ, SIG_IGN);
    if (writingToStdout) return;
    struct sigaction stop {};
    stop.sa_handler = onStopSignal;
    sigemptyset(&stop.sa_mask);
    for (int signal : endingSignals) {
        struct sigaction before {};
        sigaction(signal, nullptr, &before);
        if (before.sa_handler != SIG_IGN) sigaction(signal, &stop, nullptr);
    }
}

int TerminalHost::caughtSignal() { return caught; }

RunVerdict TerminalHost::verdict() { return caught ? RunVerdict::Stop : RunVerdict::Continue; }

void TerminalHost::pictureStarted(int frameNo) {
    frameNo_ = frameNo;
    draw();
}

void TerminalHost::percentChanged(int percent) {
    percent_ = percent;
    draw();
}

void TerminalHost::draw() {
    if (!showProgress_) return;
    constexpr int width = 40;
    const int filled = percent_ * width / 100;
    std::string bar(static_cast<size_t>(filled), '#');
    bar.append(static_cast<size_t>(width - filled), '.');
    std::fprintf(stderr, "\r[%s] %3d %%  картинка %d", bar.c_str(), percent_, frameNo_);
    std::fflush(stderr);
    drawn_ = true;
}

}  // namespace pestrolik
