#pragma once
// What the window is given from outside: the platform services behind their
// interfaces, so that tests stand in for each.

#include "common/settings_store.h"
#include "generation/chance.h"
#include "generation/generation_run.h"
#include "music/midi_output.h"
#include "window/message_boxes.h"
#include "window/shell.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <functional>

namespace pestrolik {

struct WindowServices {
    SettingsStore& settings;  // read at start-up, written at shut-down
    MessageBoxes& messages;
    Shell& shell;
    Clock& clock;             // for the random picture parameters
    RandomSource& random;
    MidiOutput& midi;         // the about screen's song
    QString programFolder;    // the save folder when none is stored or it is gone, if writable
    QStringList volumeRoots;  // what the drive list offers, "/" first
    // Called once the window has closed and no run is left on the stack.
    std::function<void()> endProgram = [] { QCoreApplication::quit(); };
    SinkOpener openSink = fileSinkOpener();  // where a run's bytes go
};

}  // namespace pestrolik
