#include "window/close_on_signals.h"

#include "generation/ending_signals.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace pestrolik {

namespace {

int pipeEnds[2] = {-1, -1};  // read, write

extern "C" void onClosingSignal(int) {
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t ignored = ::write(pipeEnds[1], &byte, 1);  // full pipe: a close is pending anyway
    errno = saved;
}

void setHandler(void (*handler)(int)) {
    struct sigaction action {};  // an empty mask
    action.sa_handler = handler;
    action.sa_flags = SA_RESTART;
    for (int signal : endingSignals) sigaction(signal, &action, nullptr);
}

}  // namespace

CloseOnSignals::CloseOnSignals(std::function<void()> close, QObject* parent) : QObject(parent) {
    if (::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0) qFatal("no pipe for the closing signals");
    notifier_ = new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [close = std::move(close)] {
        char bytes[64];
        while (::read(pipeEnds[0], bytes, sizeof bytes) > 0) {}
        close();
    });
    setHandler(onClosingSignal);
}

CloseOnSignals::~CloseOnSignals() {
    setHandler(SIG_DFL);
    delete notifier_;
    ::close(pipeEnds[0]);
    ::close(pipeEnds[1]);
    pipeEnds[0] = pipeEnds[1] = -1;
}

}  // namespace pestrolik
