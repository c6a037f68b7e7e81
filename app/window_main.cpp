// pestrolik: the window that makes random animated GIFs.

#include "chance.h"
#include "controls.h"
#include "folder_browser.h"
#include "fallback_midi_output.h"
#include "form1.h"
#include "message_boxes.h"
#include "qt_settings_store.h"
#include "shell.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // The window ends the program itself: a run on the stack must first delete its
    // file and say so, even after the last window has gone.
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setFont(pestrolik::windowFont());  // the message boxes look like the window

    pestrolik::QtSettingsStore settings;
    pestrolik::QtMessageBoxes messages;
    pestrolik::DesktopShell shell;
    pestrolik::SystemClock clock;
    pestrolik::SystemRandom random;
    const auto midi = pestrolik::makeSystemMidiOutput();

    pestrolik::Form1 form({
        .settings = settings,
        .messages = messages,
        .shell = shell,
        .clock = clock,
        .random = random,
        .midi = *midi,
        .programFolder = QCoreApplication::applicationDirPath(),
        .volumeRoots = pestrolik::mountedVolumeRoots(),
    });
    messages.setOwner(&form);
    form.show();
    return app.exec();
}
