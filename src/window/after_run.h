#pragma once
// What the window does once a run has reported its outcome: a decision of the
// outcome and the window's state alone, so that a table can check every case.

#include "generation/generation_run.h"

namespace pestrolik {

enum class WindowState {
    Open,
    ClosedByPerson,  // the close box or Выход: the person may still be told
    ClosedBySignal,  // logout, kill, Ctrl-C: nobody is there to click a box away
};

enum class AfterBox {
    None,
    Outcome,  // the run's own message (stopped, refused, failed)
    Exited,   // "Выход из программы": the run was given up because the window closed
};

enum class AfterReport {
    None,
    Report,  // the completion message
    Open,    // the file handed to the desktop ("open at the end" ticked)
};

struct AfterRun {
    AfterBox box = AfterBox::None;
    bool boxFirst = false;     // told while the running look is still shown
    bool idleLook = false;     // START caption, idle colour, no blinking
    bool clearProgress = false;  // strips, percent, picture number and caption emptied
    bool refreshList = false;  // the save folder listed again
    bool nextName = false;     // a new proposal in Text3
    AfterReport report = AfterReport::None;
    bool runEnded = false;     // the about screen may drop its whole-file strip
    bool endProgram = false;

    bool operator==(const AfterRun&) const = default;
};

AfterRun afterRun(RunOutcome outcome, WindowState window, bool openAtEnd);

}  // namespace pestrolik
