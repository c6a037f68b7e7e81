// The window when the world gets in its way: odd entries under a picture's name, a
// name taken while the file is made, ending signals, a settings file that is none.

#include "window_test_support.h"

#include "squatting_sink.h"
#include "window/close_on_signals.h"
#include "window/controls.h"
#include "window/qt_settings_store.h"

#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QTimer>

#include <csignal>
#include <sys/stat.h>

using namespace pestrolik;
using namespace pestrolik::test;

namespace {

using Make = std::function<void(const QString& path)>;

const Make makeFifo = [](const QString& path) { ::mkfifo(QFile::encodeName(path), 0600); };

}  // namespace
Q_DECLARE_METATYPE(Make)

class InterferenceTest : public QObject {
    Q_OBJECT
private slots:
    void oddEntriesTakeTheName_data();
    void oddEntriesTakeTheName();
    void nameTakenWhileWriting();
    void closingSignals_data();
    void closingSignals();
    void unusableSettingsFile_data();
    void unusableSettingsFile();
};

void InterferenceTest::oddEntriesTakeTheName_data() {
    QTest::addColumn<Make>("make");
    QTest::newRow("folder") << Make([](const QString& path) { QDir().mkdir(path); });
    QTest::newRow("link leading nowhere") << Make([](const QString& path) { QFile::link("/nowhere", path); });
    QTest::newRow("FIFO") << makeFifo;
}

// Both the window and the renderer write Kaleidrix_2.GIF next to it.
void InterferenceTest::oddEntriesTakeTheName() {
    QFETCH(Make, make);
    TestWindow w;
    make(w.pathIn("Kaleidrix_1.GIF"));
    w.form().NextFileName();
    w.start("1", "10");
    QVERIFY(decodeGif(w.pathIn("Kaleidrix_2.GIF")).ok);

    QVERIFY(QFile::remove(w.pathIn("Kaleidrix_2.GIF")));
    QProcess render;
    render.start(RENDER_EXE, {"--count", "1", "--size", "10", "--quiet", "--folder", w.folder()});
    QVERIFY(render.waitForFinished());
    QCOMPARE(render.exitCode(), 0);
    QVERIFY(decodeGif(w.pathIn("Kaleidrix_2.GIF")).ok);
}

// The window's file goes to the next free name, and that is the file it opens.
void InterferenceTest::nameTakenWhileWriting() {
    TestWindow w(nullptr, {}, [](WindowServices& services) { services.openSink = testing::squattingOpener(); });
    w.start("2", "20");
    QVERIFY(decodeGif(w.pathIn("Kaleidrix_2.GIF")).ok);
    QCOMPARE(w.shell.opened, QStringList{w.pathIn("Kaleidrix_2.GIF")});  // opened at the end
    QCOMPARE(w.c().text3->text(), w.pathIn("Kaleidrix_3.GIF"));
}

void InterferenceTest::closingSignals_data() {
    QTest::addColumn<int>("signal");
    QTest::newRow("SIGTERM") << SIGTERM;
    QTest::newRow("SIGHUP") << SIGHUP;
    QTest::newRow("SIGINT") << SIGINT;
}

// During a run: the settings are written, the file is deleted, the program ends.
void InterferenceTest::closingSignals() {
    QFETCH(int, signal);
    TestWindow w;
    new CloseOnSignals(w.form());
    QTimer::singleShot(0, [signal] { std::raise(signal); });
    w.start("3", "300");

    QVERIFY(w.folderEntries().isEmpty());
    QCOMPARE(w.messages.shown.size(), 1);
    const qsizetype saved = w.log.indexOf(QRegularExpression("save tem2/put=.*"));
    QVERIFY(saved >= 0 && saved < w.log.indexOf("message Выход из программы"));
    QCOMPARE(w.endProgramCalls, 1);
}

void InterferenceTest::unusableSettingsFile_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<Make>("make");
    QTest::newRow("FIFO") << "fandorel.conf" << makeFifo;
    QTest::newRow("under a file") << "file/fandorel.conf"
                                  << Make([](const QString& path) { writeFile(QFileInfo(path).path()); });
}

// Nothing blocks: the window starts with the defaults, and says once that its
// settings could not be written.
void InterferenceTest::unusableSettingsFile() {
    QFETCH(QString, name);
    QFETCH(Make, make);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    make(path);
    QtSettingsStore store(path);
    TestWindow w(&store);
    QCOMPARE(w.c().text1->text(), QString("3"));
    w.form().close();
    QCOMPARE(w.messages.shown.size(), 1);
    QCOMPARE(w.messages.shown[0].title, QString("Ошибка"));
    QCOMPARE(w.messages.shown[0].text, "Не удалось сохранить настройки в файл :\r\n" + path + ".");
}

PESTROLIK_WINDOW_TEST_MAIN(InterferenceTest)
#include "interference_test.moc"
