// pestrolik: the window that makes random animated GIFs.

#include "generation/chance.h"
#include "music/fallback_midi_output.h"
#include "window/close_on_signals.h"
#include "window/controls.h"
#include "window/folder_browser.h"
#include "window/form1.h"
#include "window/message_boxes.h"
#include "window/qt_settings_store.h"
#include "window/shell.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // The window's class and icon then match the menu entry, pestrolik.desktop.
    QApplication::setApplicationName(QStringLiteral("pestrolik"));
    QGuiApplication::setDesktopFileName(QStringLiteral("pestrolik"));
    // The window ends the program itself: a run given up on closing must first
    // delete its file on the run's thread, even after the last window has gone.
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
    new pestrolik::CloseOnSignals([&form] { form.closeBySignal(); }, &form);  // owned by the window
    form.show();
    return app.exec();
}
