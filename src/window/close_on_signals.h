#pragma once
// Every catchable signal that would otherwise end the program (logout, `kill`, Ctrl-C
// or Ctrl-\ in the terminal that started us, a stray alarm, a broken pipe, the user
// signals; the list is the command line's, generation/ending_signals.h) closes the
// window cleanly instead: the settings are written, a run is
// abandoned and its file deleted, and the program ends without waiting for a click.
// The handler only writes to a pipe; the event loop reads it and does the closing.

#include <QObject>

#include <functional>

class QSocketNotifier;

namespace pestrolik {

class CloseOnSignals : public QObject {
public:
    // From now on until destruction; `close` is called on the event loop's thread.
    explicit CloseOnSignals(std::function<void()> close, QObject* parent = nullptr);
    ~CloseOnSignals() override;

private:
    QSocketNotifier* notifier_;
};

}  // namespace pestrolik
