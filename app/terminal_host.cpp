#include "terminal_host.h"

#include <csignal>
#include <string>

namespace pestrolik {

namespace {

volatile std::sig_atomic_t interrupted = 0;

extern "C" void onInterrupt(int) { interrupted = 1; }

}  // namespace

TerminalHost::TerminalHost(bool showProgress, bool stillBackground)
    : showProgress_(showProgress), still_(stillBackground) {}

TerminalHost::~TerminalHost() {
    if (drawn_) std::fputc('\n', stderr);
}

void TerminalHost::catchInterrupt() { std::signal(SIGINT, onInterrupt); }

RunVerdict TerminalHost::verdict() { return interrupted ? RunVerdict::Stop : RunVerdict::Continue; }

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
    std::fprintf(stderr, "\r[%s] %3d %%  picture %d", bar.c_str(), percent_, frameNo_);
    std::fflush(stderr);
    drawn_ = true;
}

}  // namespace pestrolik
