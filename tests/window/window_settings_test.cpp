// Settings across a restart, read once at start-up and written once at shut-down in
// their order; stored values that are missing, corrupt or off every screen.

#include "window_test_support.h"

#include "window/controls.h"
#include "window/folder_browser.h"
#include "window/qt_settings_store.h"
#include "window/window_place.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTreeView>

using namespace pestrolik;
using namespace pestrolik::test;

namespace {

QString stored(SettingsStore& store, const char* section, const char* key) {
    return QString::fromStdString(store.get(section, key, "<missing>"));
}

QStringList logged(const EventLog& log, const QString& prefix) {
    QStringList picked;
    for (const QString& entry : log)
        if (entry.startsWith(prefix)) picked << entry.section('=', 0, 0);
    return picked;
}

}  // namespace

class WindowSettingsTest : public QObject {
    Q_OBJECT

private slots:
    void firstStart();
    void restartKeepsEverything();
    void iniFileForm();
    void storeKeepsTextsExactly_data();
    void storeKeepsTextsExactly();
    void nativeStoreIsTheUsersFandorelFile();
    void mobileBoxAtStartUp();
    void corruptValues_data();
    void corruptValues();
    void storedFolder_data();
    void storedFolder();
    void places_data();
    void places();
    void unmovedWindowKeepsItsTwips();
    void startUpAndShutDownOrder();
};

void WindowSettingsTest::firstStart() {
    TestWindow w;
    QCOMPARE(w.c().text1->text(), QString("3"));
    QCOMPARE(w.c().text2->text(), QString("200"));
    QVERIFY(!w.c().check2->isChecked());
    QVERIFY(!w.c().check3->isChecked());
    QVERIFY(w.c().check5->isChecked());
    QCOMPARE(w.form().folderBrowser().saveFolder(), w.folder());
    QCOMPARE(w.form().pos(), QPoint(233, 200));  // 3500 and 3000 twips
    QCOMPARE(w.form().savedSize(), 200.0f);
}

void WindowSettingsTest::restartKeepsEverything() {
    QTemporaryDir dir;
    const QString ini = dir.filePath("fandorel.ini");
    auto store = std::make_unique<QtSettingsStore>(ini);
    TestWindow w(store.get());
    QVERIFY(QDir().mkdir(w.pathIn("sub")));
    w.c().text1->setText(" 7 шт");
    w.c().text2->setText("345");
    w.c().check3->setChecked(true);
    w.c().check5->setChecked(false);
    w.form().move(101, 120);
    w.c().check2->setChecked(true);  // shows 128
    w.form().close();
    store.reset();  // written out

    auto again = std::make_unique<QtSettingsStore>(ini);
    w.useSettings(again.get());
    w.restart();
    QCOMPARE(w.c().text1->text(), QString(" 7 шт"));
    QVERIFY(w.c().check2->isChecked());
    QCOMPARE(w.c().text2->text(), QString("128"));
    QVERIFY(w.c().check3->isChecked());
    QVERIFY(!w.c().check5->isChecked());
    QCOMPARE(w.form().pos(), QPoint(101, 120));
    QCOMPARE(w.form().folderBrowser().saveFolder(), w.folder());
}

// What lands in the file: box values "0"/"1", twips in shortest form, texts as typed.
void WindowSettingsTest::iniFileForm() {
    QTemporaryDir dir;
    const QString ini = dir.filePath("fandorel.ini");
    QString folder;
    {
        QtSettingsStore store(ini);
        TestWindow w(&store);
        folder = w.folder();
        w.c().text1->setText("abc");
        w.c().check3->setChecked(true);
        w.form().move(100, 7);
        w.form().close();
    }
    QSettings file(ini, QSettings::IniFormat);
    QCOMPARE(file.childGroups(), (QStringList{"met2", "tem2"}));
    QCOMPARE(file.value("tem2/col").toString(), QString("abc"));
    QCOMPARE(file.value("tem2/px").toString(), QString("200"));
    QCOMPARE(file.value("tem2/mob").toString(), QString("0"));
    QCOMPARE(file.value("tem2/fon").toString(), QString("1"));
    QCOMPARE(file.value("tem2/lef").toString(), QString("1500"));
    QCOMPARE(file.value("tem2/top").toString(), QString("105"));
    QCOMPARE(file.value("met2/ope").toString(), QString("1"));
    QCOMPARE(file.value("tem2/put").toString(), folder);
}

void WindowSettingsTest::storeKeepsTextsExactly_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << "";
    QTest::newRow("blanks around") << "  12 ";
    QTest::newRow("commas") << "1, 2, 3";
    QTest::newRow("cyrillic") << "семь";
    QTest::newRow("quotes and equals") << "a=\"b\";c";
    QTest::newRow("at sign first") << "@Variant(x)";
    QTest::newRow("backslashes") << "C:\\Мои рисунки\\";
}

void WindowSettingsTest::storeKeepsTextsExactly() {
    QFETCH(QString, text);
    QTemporaryDir dir;
    const QString ini = dir.filePath("fandorel.ini");
    QtSettingsStore(ini).save("tem2", "col", text.toStdString());
    QtSettingsStore reread(ini);
    QCOMPARE(stored(reread, "tem2", "col"), text);
    QCOMPARE(stored(reread, "tem2", "px"), QString("<missing>"));
    QCOMPARE(stored(reread, "nosuch", "col"), QString("<missing>"));
}

// The user's own store is a file named after "fandorel" under the config folder
// (here the tests' stand-in for it), and a hand-edited list reads back as one text.
void WindowSettingsTest::nativeStoreIsTheUsersFandorelFile() {
    const QString configHome = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    QCOMPARE(configHome, qEnvironmentVariable("XDG_CONFIG_HOME"));
    QVERIFY(!configHome.startsWith(QDir::homePath()));
    {
        QtSettingsStore store;
        store.save("tem2", "px", "300");
    }
    const QString expected = configHome + "/fandorel/fandorel.conf";
    QVERIFY2(QFile::exists(expected), qPrintable(expected));
    QFile file(expected);
    QVERIFY(file.open(QIODevice::Append | QIODevice::Text));
    file.write("\n[met2]\nsol=1, 2\n");
    file.close();
    QtSettingsStore store;
    QCOMPARE(stored(store, "tem2", "px"), QString("300"));
    QCOMPARE(stored(store, "met2", "sol"), QString("1, 2"));
}

// The box ticked at start-up shows 128 and keeps 128: unticking shows "128" too.
void WindowSettingsTest::mobileBoxAtStartUp() {
    TestWindow w;
    w.memorySettings.save("tem2", "mob", "1");
    w.memorySettings.save("tem2", "px", "300");
    w.restart();
    QVERIFY(w.c().check2->isChecked());
    QCOMPARE(w.c().text2->text(), QString("128"));
    QTest::mouseClick(w.c().check2, Qt::LeftButton);
    QCOMPARE(w.c().text2->text(), QString("128"));
}

void WindowSettingsTest::corruptValues_data() {
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("sizeText");
    QTest::addColumn<bool>("mobile");
    QTest::addColumn<bool>("still");
    QTest::addColumn<bool>("openAtEnd");
    QTest::addColumn<QPoint>("place");
    const QPoint home(233, 200);
    QTest::newRow("size letters") << "tem2" << "px" << "big" << "big" << false << false << true << home;
    QTest::newRow("mobile letters") << "tem2" << "mob" << "x" << "200" << false << false << true << home;
    QTest::newRow("mobile 2") << "tem2" << "mob" << "2" << "200" << false << false << true << home;
    QTest::newRow("mobile 1.0 is 1") << "tem2" << "mob" << "1.0" << "128" << true << false << true << home;
    QTest::newRow("still 0.5") << "tem2" << "fon" << "0.5" << "200" << false << false << true << home;
    QTest::newRow("open yes") << "met2" << "ope" << "yes" << "200" << false << false << true << home;
    QTest::newRow("open 0") << "met2" << "ope" << " 0 " << "200" << false << false << false << home;
    QTest::newRow("left letters") << "tem2" << "lef" << "abc" << "200" << false << false << true << home;
    QTest::newRow("top empty") << "tem2" << "top" << "" << "200" << false << false << true << home;
    QTest::newRow("top beyond float") << "tem2" << "top" << "1e40" << "200" << false << false << true << home;
    QTest::newRow("left off the screen") << "tem2" << "lef" << "-99999" << "200" << false << false << true << home;
    QTest::newRow("top below the screen") << "tem2" << "top" << "150000" << "200" << false << false << true << home;
    QTest::newRow("left in twips, fraction") << "tem2" << "lef" << "1507.5" << "200" << false << false << true
                                             << QPoint(101, 200);
}

void WindowSettingsTest::corruptValues() {
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QString, sizeText);
    QFETCH(bool, mobile);
    QFETCH(bool, still);
    QFETCH(bool, openAtEnd);
    QFETCH(QPoint, place);
    TestWindow w;
    w.memorySettings.save(section.toStdString(), key.toStdString(), value.toStdString());
    w.restart();

    QCOMPARE(w.c().text2->text(), sizeText);
    QCOMPARE(w.c().check2->isChecked(), mobile);
    QCOMPARE(w.c().check3->isChecked(), still);
    QCOMPARE(w.c().check5->isChecked(), openAtEnd);
    QCOMPARE(w.form().pos(), place);
    QVERIFY(std::isfinite(w.form().savedSize()));
    QVERIFY(w.messages.shown.isEmpty());
}

// The stored folder is the save folder exactly as stored until the first change;
// one that is gone gives the program's own folder.
void WindowSettingsTest::storedFolder_data() {
    QTest::addColumn<QString>("relative");  // under the test's folder; "*" for the folder itself
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QString>("saveFolder");
    QTest::addColumn<QString>("proposal");
    QTest::newRow("as stored") << "sub" << true << "sub" << "sub/Kaleidrix_1.GIF";
    QTest::newRow("trailing separator kept") << "sub/" << true << "sub/" << "sub//Kaleidrix_1.GIF";
    QTest::newRow("gone") << "gone" << false << "*" << "Kaleidrix_1.GIF";
}

void WindowSettingsTest::storedFolder() {
    QFETCH(QString, relative);
    QFETCH(bool, exists);
    QFETCH(QString, saveFolder);
    QFETCH(QString, proposal);
    TestWindow w;
    if (exists) QVERIFY(QDir().mkdir(w.pathIn("sub")));
    w.memorySettings.save("tem2", "put", w.pathIn(relative).toStdString());
    w.restart();

    FolderBrowser& browser = w.form().folderBrowser();
    QCOMPARE(browser.saveFolder(), saveFolder == "*" ? w.folder() : w.pathIn(saveFolder));
    QCOMPARE(browser.treePath(), exists ? w.pathIn("sub") : w.folder());
    QCOMPARE(w.c().text3->text(), w.pathIn(proposal));
    QVERIFY(w.messages.shown.isEmpty());
}

void WindowSettingsTest::places_data() {
    QTest::addColumn<QPoint>("storedPixels");
    QTest::addColumn<bool>("kept");
    QTest::newRow("inside") << QPoint(100, 100) << true;
    QTest::newRow("top-left corner") << QPoint(0, 0) << true;
    QTest::newRow("mostly left of the screen") << QPoint(-480, 50) << true;
    QTest::newRow("all left of the screen") << QPoint(-537, 50) << false;
    QTest::newRow("title strip above the screen") << QPoint(100, -15) << false;
    QTest::newRow("title strip on the bottom edge") << QPoint(100, 595) << false;
    QTest::newRow("on the second screen") << QPoint(900, 100) << true;
    QTest::newRow("between the screens' rows") << QPoint(900, 700) << false;
}

void WindowSettingsTest::places() {
    QFETCH(QPoint, storedPixels);
    QFETCH(bool, kept);
    const QList<QRect> screens{{0, 0, 800, 600}, {800, 0, 1024, 600}};
    const QPoint placed = windowPlace(storedPixels.x() * 15.0f, storedPixels.y() * 15.0f, {537, 255}, screens);
    QCOMPARE(placed, kept ? storedPixels : QPoint(233, 200));
}

// Twips that are no whole number of pixels survive a session in which the window
// did not move; a moved window stores its new place.
void WindowSettingsTest::unmovedWindowKeepsItsTwips() {
    TestWindow w;
    w.memorySettings.save("tem2", "lef", "3500");
    w.memorySettings.save("tem2", "top", "3007");
    w.restart();
    w.form().close();
    QCOMPARE(stored(w.memorySettings, "tem2", "lef"), QString("3500"));
    QCOMPARE(stored(w.memorySettings, "tem2", "top"), QString("3007"));

    w.restart();
    w.form().move(50, 60);
    w.form().close();
    QCOMPARE(stored(w.memorySettings, "tem2", "lef"), QString("750"));
    QCOMPARE(stored(w.memorySettings, "tem2", "top"), QString("900"));
}

void WindowSettingsTest::startUpAndShutDownOrder() {
    TestWindow w;
    // Start-up reads each setting once, in this order; only the song's voice counters
    // move on, as its last step.
    QCOMPARE(logged(w.log, "get "),
             (QStringList{"get tem2/put", "get tem2/col", "get tem2/px", "get tem2/mob", "get tem2/fon", "get tem2/lef",
                          "get tem2/top", "get met2/ope", "get met2/sol", "get met2/fon", "get met2/bas"}));
    QCOMPARE(logged(w.log, "save "), (QStringList{"save met2/sol", "save met2/fon", "save met2/bas"}));
    QVERIFY(w.midi.events().empty());  // the music stays stopped

    w.log.clear();
    bool openWhileSaving = false;
    w.memorySettings.onSave = [&] { openWhileSaving = openWhileSaving || w.form().windowOpen(); };
    QTest::mouseClick(w.c().command4, Qt::LeftButton);  // "Выход"

    QVERIFY(!w.form().isVisible());
    QVERIFY(!openWhileSaving);  // windowOpen is cleared first
    QCOMPARE(logged(w.log, "save "), (QStringList{"save tem2/put", "save tem2/col", "save tem2/px", "save tem2/mob",
                                                  "save tem2/fon", "save tem2/lef", "save tem2/top", "save met2/ope"}));
    QCOMPARE(logged(w.log, "get "), QStringList{});
    QCOMPARE(w.log.last(), QString("end program"));
    QCOMPARE(w.endProgramCalls, 1);
    QCOMPARE(w.midi.events().back().call, RecordingMidiOutput::Call::Close);  // StopMusic
}

PESTROLIK_WINDOW_TEST_MAIN(WindowSettingsTest)
#include "window_settings_test.moc"
