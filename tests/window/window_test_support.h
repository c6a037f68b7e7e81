#pragma once
// Stand-ins for the window's platform services, a window made with them in a
// temporary folder, and giflib as the judge of written files.

#include "window/controls.h"
#include "window/form1.h"
#include "gif_judge.h"
#include "recording_midi_output.h"
#include "window/window_services.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QList>
#include <QListView>
#include <QPushButton>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <functional>
#include <memory>

namespace pestrolik::test {

// One log shared by the stand-ins, so tests can check the order of what happened.
using EventLog = QStringList;

struct ShownMessage {
    MessageIcon icon;
    QString title;
    QString text;
};

class RecordingMessages : public MessageBoxes {
public:
    explicit RecordingMessages(EventLog& log) : log_(log) {}
    void show(MessageIcon icon, const QString& title, const QString& text) override;

    QList<ShownMessage> shown;
    std::function<void()> whileShown;  // runs as if the user acted while the box is open

private:
    EventLog& log_;
};

class RecordingShell : public Shell {
public:
    explicit RecordingShell(EventLog& log) : log_(log) {}
    bool open(const QString& target) override;

    QStringList opened;

private:
    EventLog& log_;
};

// A memory store that logs every get and save.
class RecordingSettings : public SettingsStore {
public:
    explicit RecordingSettings(EventLog& log, SettingsStore* backing = nullptr) : log_(log), backing_(backing) {}
    std::string get(std::string_view section, std::string_view key, std::string_view defaultValue) override;
    void save(std::string_view section, std::string_view key, std::string_view value) override;

    std::function<void()> onSave;  // runs before each save

private:
    EventLog& log_;
    MemorySettingsStore memory_;
    SettingsStore* backing_;
};

// A clock that moves on by 1.234 s each time it is read, so parameters change.
class SteppingClock : public Clock {
public:
    double secondsSinceMidnight() override { return now_ += 1.234; }

private:
    double now_ = 40000.0;
};

class SteppingRandom : public RandomSource {
public:
    void reseedFromClock() override {}
    double uniform() override { return next_ = next_ + 0.37 >= 1 ? next_ + 0.37 - 1 : next_ + 0.37; }

private:
    double next_ = 0.1;
};

// A window with recording services, its program folder a fresh temporary folder.
class TestWindow {
public:
    // `settings` (not owned) replaces the recording memory store when given.
    explicit TestWindow(SettingsStore* settings = nullptr, QStringList extraVolumes = {},
                        const std::function<void(WindowServices&)>& adjust = {});
    ~TestWindow();

    // Makes a new window on the same services and folder (a restart).
    void restart(const std::function<void(WindowServices&)>& adjust = {});
    // The store the next restart reads (not owned; null: the recording memory store).
    void useSettings(SettingsStore* settings) { settings_ = settings; }

    Form1& form() { return *form_; }
    const Controls& c() { return form_->controls(); }
    QString folder() const { return dir_.path(); }
    QString pathIn(const QString& name) const { return dir_.path() + u'/' + name; }
    QStringList folderEntries() const;

    // Fills count and size, ticks nothing else, and presses START (returns when the
    // run has ended). The event loop turns at every yield.
    void start(const QString& count, const QString& size);
    void clickStart();

    EventLog log;
    RecordingMessages messages{log};
    RecordingShell shell{log};
    RecordingSettings memorySettings{log};
    SteppingClock clock;
    SteppingRandom random;
    RecordingMidiOutput midi;
    int endProgramCalls = 0;

private:
    WindowServices services(const std::function<void(WindowServices&)>& adjust);

    QTemporaryDir dir_;
    SettingsStore* settings_;
    QStringList volumes_;
    std::unique_ptr<Form1> form_;
};

// Decodes the whole file with giflib.
pestrolik::testing::DecodedGif decodeGif(const QString& path);

// Writes `bytes` to a new file (for "existing file" cases).
void writeFile(const QString& path, const QByteArray& bytes = "x");

// The text of every row File1 lists, in order.
QStringList listedFiles(const Controls& c);

// Keeps the tests away from the user's own settings (the config folder becomes a
// temporary one) and screens.
void isolateFromUser();

}  // namespace pestrolik::test

#define PESTROLIK_WINDOW_TEST_MAIN(TestClass)                \
    int main(int argc, char** argv) {                        \
        pestrolik::test::isolateFromUser();                  \
        QApplication app(argc, argv);                        \
        QApplication::setQuitOnLastWindowClosed(false);      \
        TestClass tc;                                        \
        return QTest::qExec(&tc, argc, argv);                \
    }
