#pragma once
// SIGTERM, SIGHUP and SIGINT (logout, `kill`, Ctrl-C in the terminal that started us)
// close the window as its close box does: the settings are written, a run is
// abandoned and its file deleted, and the program ends. The handler only writes to a
// pipe; the event loop reads it and does the closing.

#include <QObject>

class QSocketNotifier;
class QWidget;

namespace pestrolik {

class CloseOnSignals : public QObject {
public:
    // From now on until destruction; `window` outlives this.
    explicit CloseOnSignals(QWidget& window);
    ~CloseOnSignals() override;

private:
    QSocketNotifier* notifier_;
};

}  // namespace pestrolik
