#include "window/after_run.h"

namespace pestrolik {

namespace {

// A window that has closed says nothing more, unless a person closed it and the
// run was given up; then the program ends.
AfterRun whenClosed(RunOutcome outcome, WindowState window) {
    AfterRun after;
    const bool givenUp = outcome == RunOutcome::Stopped || outcome == RunOutcome::Exited;
    if (window == WindowState::ClosedByPerson)
        after.box = givenUp ? AfterBox::Exited : outcome == RunOutcome::Completed ? AfterBox::None : AfterBox::Outcome;
    after.endProgram = true;
    return after;
}

}  // namespace

AfterRun afterRun(RunOutcome outcome, WindowState window, bool openAtEnd) {
    if (window != WindowState::Open) return whenClosed(outcome, window);
    AfterRun after;
    after.idleLook = outcome != RunOutcome::Stopped && outcome != RunOutcome::Exited;
    switch (outcome) {
    case RunOutcome::Completed:
        after.report = openAtEnd ? AfterReport::Open : AfterReport::Report;
        [[fallthrough]];
    case RunOutcome::FileExists:
        after.boxFirst = outcome == RunOutcome::FileExists;
        after.box = after.boxFirst ? AfterBox::Outcome : AfterBox::None;
        after.clearProgress = after.refreshList = after.nextName = after.runEnded = true;
        return after;
    case RunOutcome::Stopped:  // STOP showed the idle look, but the blinking lasts until the box
    case RunOutcome::Exited:
        after.box = AfterBox::Outcome;
        return after;
    case RunOutcome::CreateFailed:
    case RunOutcome::WriteFailed:  // the path that failed stays in Text3, to be corrected
        after.box = AfterBox::Outcome;
        after.clearProgress = after.refreshList = true;
        return after;
    }
    return after;
}

}  // namespace pestrolik
