// Settings: the record read from stored texts (corrupt ones included), the store on
// its INI file, the window's place, and the start-up and shut-down order.

#include "window_test_support.h"

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

QMap<QString, QString> fields(const WindowSettings& s) {
    auto box = [](bool ticked) { return QString(ticked ? "1" : "0"); };
    return {{"folder", s.folder},  {"countText", s.countText},  {"sizeText", s.sizeText},
            {"mobile", box(s.mobile)}, {"still", box(s.still)}, {"openAtEnd", box(s.openAtEnd)},
            {"leftTwips", QString::number(s.leftTwips)}, {"topTwips", QString::number(s.topTwips)}};
}

}  // namespace

class WindowSettingsTest : public QObject {
    Q_OBJECT

private slots:
    void readingStoredTexts() {
        MemorySettingsStore empty;
        const auto defaults = fields(readWindowSettings(empty, "/home"));
        QCOMPARE(defaults, fields({"/home", "3", "200", false, false, 3500, 3000, true}));
        for (const auto& row : readDataTable(TEST_DATA_DIR "/stored_settings.txt")) {
            MemorySettingsStore store;
            store.save(row[0], row[1], row[2]);
            auto expected = defaults;
            expected[QString::fromStdString(row[3])] = QString::fromStdString(row.size() > 4 ? row[4] : "");
            QCOMPARE(fields(readWindowSettings(store, "/home")), expected);
        }
    }

    // Any text comes back as it was; the user's own store is "fandorel" under the config
    // folder, and a hand-edited list reads back as one text.
    void storeKeepsTextsExactly() {
        QTemporaryDir dir;
        for (const QString& text : {"", "  12 ", "1, 2, 3", "семь", "a=\"b\";c", "@Variant(x)", "C:\\Мои рисунки\\"}) {
            QtSettingsStore(dir.filePath("a.ini")).save("tem2", "col", text.toStdString());
            QtSettingsStore reread(dir.filePath("a.ini"));
            QCOMPARE(stored(reread, "tem2", "col"), text);
            QCOMPARE(stored(reread, "tem2", "px"), QString("<missing>"));
        }
        QtSettingsStore().save("tem2", "px", "300");
        QFile file(qEnvironmentVariable("XDG_CONFIG_HOME") + "/fandorel/fandorel.conf");
        QVERIFY(file.open(QIODevice::Append | QIODevice::Text));
        file.write("\n[met2]\nsol=1, 2\n");
        file.close();
        QtSettingsStore user;
        QCOMPARE(stored(user, "tem2", "px"), QString("300"));
        QCOMPARE(stored(user, "met2", "sol"), QString("1, 2"));
    }

    void folderWhenNoneIsUsable() {
        for (const auto& row : readDataTable(TEST_DATA_DIR "/save_folders.txt")) {
            auto set = [&](size_t column) {
                QSet<QString> items;
                for (const QString& item : QString::fromStdString(column < row.size() ? row[column] : "").split(' '))
                    if (!item.isEmpty()) items << item;
                return items;
            };
            QSet<QString> folders = set(1), writable = set(2), made;
            const FolderProbe probe{
                [&](const QString& path) { return folders.contains(path); },
                [&](const QString& path) { return folders.contains(path) && writable.contains(path); },
                [&](const QString& path) {
                    if (set(3).contains(path) && !folders.contains(path)) made << path, folders << path, writable << path;
                    return folders.contains(path);
                }};
            const DefaultFolders defaults{"/opt/p", QString::fromStdString(row[4]), "/home/u"};
            QCOMPARE(chooseSaveFolder(QString::fromStdString(row[0]), defaults, probe), QString::fromStdString(row[5]));
            QCOMPARE(made, set(6));
        }
    }

    // A FIFO or a path under a file as the settings file: nothing blocks, the defaults
    // show, and closing says once that the settings could not be written.
    void unusableSettingsFile() {
        QTemporaryDir dir;
        writeFile(dir.filePath("file"));
        QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath("fifo")), 0600), 0);
        for (const QString& path : {dir.filePath("fifo"), dir.filePath("file/fandorel.conf")}) {
            QtSettingsStore store(path);
            TestWindow w(&store);
            QCOMPARE(w.c().text1->text(), QString("3"));
            w.form().close();
            QCOMPARE(w.messages.shown.size(), 1);
            QCOMPARE(w.messages.shown[0].title, QString("Ошибка"));
            QCOMPARE(w.messages.shown[0].text, "Не удалось сохранить настройки в файл :\r\n" + path + ".");
        }
    }

    void places() {
        const QList<QRect> screens{{0, 0, 800, 600}, {800, 0, 1024, 600}};
        for (const auto& row : readDataTable(TEST_DATA_DIR "/window_places.txt")) {
            const QPoint storedPixels(std::stoi(row[0]), std::stoi(row[1]));
            const QPoint placed = windowPlace(storedPixels.x() * 15.0f, storedPixels.y() * 15.0f, {537, 255}, screens);
            QCOMPARE(placed, row[2] == "1" ? storedPixels : QPoint(233, 200));
        }
    }

    // Twips that are no whole number of pixels survive a session in which the window did
    // not move; a moved window stores its new place; a place on no screen is replaced.
    void unmovedWindowKeepsItsTwips() {
        TestWindow w;
        w.memorySettings.save("tem2", "lef", "3500");
        w.memorySettings.save("tem2", "top", "3007");
        w.restart();
        w.form().close();
        QCOMPARE(stored(w.memorySettings, "tem2", "top"), QString("3007"));

        w.restart();
        w.form().move(50, 60);
        w.form().close();
        QCOMPARE(stored(w.memorySettings, "tem2", "lef") + stored(w.memorySettings, "tem2", "top"), QString("750900"));

        w.memorySettings.save("tem2", "lef", "-99999");
        w.restart();
        QCOMPARE(w.form().pos(), QPoint(233, 200));
        w.form().close();
        QCOMPARE(stored(w.memorySettings, "tem2", "lef"), QString("3500"));
    }

    // Start-up saves only the song's voice counters, moved on; shut-down writes every
    // setting once the window is no longer open: boxes as "0"/"1", twips in shortest
    // form, texts as typed. A restart reads them back, the ticked mobile box showing
    // and keeping 128.
    void startUpAndShutDownOrder() {
        TestWindow w;
        QCOMPARE(logged(w.log, "save "), (QStringList{"save met2/sol", "save met2/fon", "save met2/bas"}));
        QVERIFY(w.midi.events().empty());

        w.log.clear();
        bool openWhileSaving = false;
        w.memorySettings.onSave = [&] { openWhileSaving = openWhileSaving || w.form().windowOpen(); };
        w.c().text1->setText("abc");
        w.c().text2->setText("345");
        w.c().check3->setChecked(true);
        w.c().check5->setChecked(false);
        w.c().check2->setChecked(true);
        w.form().move(100, 7);
        QTest::mouseClick(w.c().command4, Qt::LeftButton);
        QVERIFY(!w.form().isVisible() && !openWhileSaving);
        QCOMPARE(w.log.filter("save "), (QStringList{"save tem2/put=" + w.folder(), "save tem2/col=abc", "save tem2/px=128",
                                                     "save tem2/mob=1", "save tem2/fon=1", "save tem2/lef=1500",
                                                     "save tem2/top=105", "save met2/ope=0"}));
        QCOMPARE(w.log.last(), QString("end program"));
        QCOMPARE(w.midi.events().back().call, RecordingMidiOutput::Call::Close);

        w.memorySettings.onSave = nullptr;
        w.restart();
        QCOMPARE(w.c().text1->text(), QString("abc"));
        QVERIFY(w.c().check2->isChecked() && w.c().check3->isChecked() && !w.c().check5->isChecked());
        QCOMPARE(w.form().pos(), QPoint(100, 7));
        w.c().check2->click();
        QCOMPARE(w.c().text2->text(), QString("128"));
    }
};

PESTROLIK_WINDOW_TEST_MAIN(WindowSettingsTest)
#include "window_settings_test.moc"
