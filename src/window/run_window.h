#pragma once
// What the START/STOP run needs from the window it runs in, and nothing more. The
// window owns each of these: whether and how it closed, its caption, the file list and the
// proposal in Text3, the completion message and what the about screen shows.

#include "window/after_run.h"

class QString;

namespace pestrolik {

class RunWindow {
public:
    virtual ~RunWindow() = default;

    // Closed from the moment the window starts to close.
    virtual WindowState windowState() const = 0;
    virtual void setCaption(const QString& caption) = 0;
    // Lists the save folder's files again.
    virtual void refreshFileList() = 0;
    // Proposes the next free name in Text3.
    virtual void NextFileName() = 0;
    // The completion message for the file just written.
    virtual void got() = 0;
    // A run has ended and reported: the about screen may now drop the whole-file strip.
    virtual void runEnded() = 0;
};

}  // namespace pestrolik
