#pragma once
// Stand-ins for the window's platform services, a window made with them in a
// temporary folder, and giflib as the judge of written files; everything the window
// tests include.

#include "data_table.h"
#include "gif_judge.h"
#include "recording_midi_output.h"
#include "window/close_on_signals.h"
#include "window/folder_browser.h"
#include "window/folder_paths.h"
#include "window/form1.h"
#include "window/mobile_size.h"
#include "window/next_file_name.h"
#include "window/outline_shape.h"
#include "window/progress_strip.h"
#include "window/qt_settings_store.h"
#include "window/save_folder_choice.h"
#include "window/start_button.h"
#include "window/window_place.h"
#include "window/window_run.h"
#include "window/window_settings.h"

#include <QtCore>
#include <QtTest>
#include <QtWidgets>

#include <csignal>
#include <functional>
#include <memory>
#include <sys/stat.h>

namespace pestrolik::test {

struct ShownMessage { MessageIcon icon; QString title, text; };

struct RecordingMessages : MessageBoxes {
    explicit RecordingMessages(QStringList& l) : log(l) {}
    void show(MessageIcon icon, const QString& title, const QString& text) override {
        if (!dismissed) shown.append({icon, title, text}), log << "message " + title;
    }
    void dismiss() override { dismissed = true, log << "dismiss"; }
    bool dismissed = false;
    QStringList& log;
    QList<ShownMessage> shown;
};

struct RecordingShell : Shell {
    bool open(const QString& target) override { return opened << target, true; }
    QStringList opened;
};

// A memory store that logs every save.
struct RecordingSettings : MemorySettingsStore {
    explicit RecordingSettings(QStringList& l) : log(l) {}
    void save(std::string_view section, std::string_view key, std::string_view value) override {
        log << QString::fromStdString("save " + std::string(section) + '/' + std::string(key) + '=' + std::string(value));
        MemorySettingsStore::save(section, key, value);
    }
    QStringList& log;
};

// A clock that moves on by 1.234 s each time it is read, and random values that step
// by 0.37, so every press draws other parameters.
struct SteppingChance : Clock, RandomSource {
    double secondsSinceMidnight() override { return now += 1.234; }
    void reseedFromClock() override {}
    double uniform() override { return next = next + 0.37 >= 1 ? next + 0.37 - 1 : next + 0.37; }
    double now = 40000.0, next = 0.1;
};

// A window with recording services, its program folder a fresh temporary folder.
class TestWindow {
public:
    // `settings` (not owned) replaces the recording memory store when given.
    explicit TestWindow(SettingsStore* settings = nullptr, QStringList volumes = {"/"}) : settings_(settings), volumes_(volumes) { restart(); }

    // Makes a new window on the same services and folder (a restart).
    void restart() {
        form_.reset();
        form_ = std::make_unique<Form1>(WindowServices{
            .settings = settings_ ? *settings_ : static_cast<SettingsStore&>(memorySettings), .messages = messages, .shell = shell,
            .clock = chance, .random = chance, .midi = midi, .programFolder = dir_.path(), .volumeRoots = volumes_,
            .endProgram = [this] { ++endProgramCalls, log << "end program"; },
        });
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
    }

    Form1& form() { return *form_; }
    const Controls& c() { return form_->controls(); }
    QString folder() const { return dir_.path(); }

    QStringList log;  // shared by the stand-ins, so tests can check the order of what happened
    RecordingMessages messages{log};
    RecordingShell shell;
    RecordingSettings memorySettings{log};
    SteppingChance chance;
    RecordingMidiOutput midi;
    int endProgramCalls = 0;

private:
    QTemporaryDir dir_;
    SettingsStore* settings_;
    QStringList volumes_;
    std::unique_ptr<Form1> form_;
};

// Writes `bytes` to a new file (for "existing file" cases).
inline void writeFile(const QString& path, const QByteArray& bytes = "x") {
    QFile file(path);
    QVERIFY(file.open(QIODevice::NewOnly));
    file.write(bytes);
}

}  // namespace pestrolik::test

using namespace pestrolik;
using namespace pestrolik::test;
using namespace pestrolik::testing;

// Keeps the tests away from the user's own settings and screens: the home (Qt's runtime
// folder too) is removed at exit, so nothing is left behind in the temporary folder.
#define PESTROLIK_WINDOW_TEST_MAIN(TestClass)                                         \
    int main(int argc, char** argv) {                                                 \
        QTemporaryDir home;                                                           \
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath("config")));       \
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(home.path()));                   \
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen"); \
        QApplication app(argc, argv);                        \
        QApplication::setQuitOnLastWindowClosed(false);      \
        TestClass tc;                                        \
        return QTest::qExec(&tc, argc, argv);                \
    }
