// The window's rules that need no window: the settings read from stored texts (corrupt
// ones included), the store on its INI file, the save folder's choice, the window's
// place, the next file name and the folder browser's path rules. What the window does with them
// is in scripts/.

#include "window_test_support.h"

namespace {

QString stored(SettingsStore& store, const char* section, const char* key) {
    return QString::fromStdString(store.get(section, key, "<missing>"));
}

QMap<QString, QString> fields(const WindowSettings& s) {
    auto box = [](bool ticked) { return QString(ticked ? "1" : "0"); };
    return {{"folder", s.folder},  {"countText", s.countText},  {"sizeText", s.sizeText},
            {"mobile", box(s.mobile)}, {"still", box(s.still)}, {"openAtEnd", box(s.openAtEnd)},
            {"leftTwips", QString::number(s.leftTwips)}, {"topTwips", QString::number(s.topTwips)}};
}

}  // namespace

class WindowRulesTest : public QObject {
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
        for (const char* text : {"", "  12 ", "1, 2, 3", "семь", "a=\"b\";c", "@Variant(x)", "C:\\Мои рисунки\\"}) {
            QtSettingsStore(dir.filePath("a.ini")).save("tem2", "col", text);
            QtSettingsStore reread(dir.filePath("a.ini"));
            QCOMPARE(stored(reread, "tem2", "col"), QString(text));
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

    void proposals() {
        for (const auto& row : pestrolik::testing::readDataTable(TEST_DATA_DIR "/proposals.txt")) {
            QTemporaryDir dir;
            for (const QString& name : QString::fromStdString(row[0]).split(',', Qt::SkipEmptyParts))
                writeFile(dir.filePath(name));
            for (const QString& name : QString::fromStdString(row[1]).split(',', Qt::SkipEmptyParts))
                QVERIFY(QDir(dir.path()).mkdir(name));
            const FileNameProposal proposal = proposeNextFileName(dir.path());
            QCOMPARE(proposal.fileNumber, std::stoi(row[2]));
            QCOMPARE(proposal.path, dir.filePath("Kaleidrix_" + QString::fromStdString(row[2]) + ".GIF"));
        }
    }

    void mobileSizeBox() {
        for (const auto& row : readDataTable(TEST_DATA_DIR "/mobile_sizes.txt")) {
            QCheckBox check2;
            QLineEdit text2;
            MobileSize mobile(&check2, &text2);
            for (const QString& typed : QString::fromStdString(row[0]).split(',')) {
                text2.setText(typed);
                check2.setChecked(true);
                QCOMPARE(text2.text(), QString("128"));
                check2.setChecked(false);
            }
            QCOMPARE(text2.text(), QString::fromStdString(row[1]));
        }
    }

    void afterRuns() {
        const QStringList outcomes{"completed", "stopped", "exited", "exists", "createfailed", "writefailed"};
        const QStringList windows{"open", "person", "signal"}, boxes{"-", "outcome", "exited"}, reports{"-", "report", "open"};
        for (const auto& row : readDataTable(TEST_DATA_DIR "/after_run.txt")) {
            const AfterRun got = afterRun(RunOutcome(outcomes.indexOf(row[0].c_str())),
                                          WindowState(windows.indexOf(row[1].c_str())), row[2] == "1");
            const QList<bool> flags{got.boxFirst, got.idleLook, got.clearProgress, got.refreshList, got.nextName};
            QStringList seen{boxes[int(got.box)]};
            for (bool flag : flags) seen << (flag ? "1" : "0");
            seen << reports[int(got.report)] << (got.runEnded ? "1" : "0") << (got.endProgram ? "1" : "0");
            QCOMPARE(seen.join('|'), QString::fromStdString(row[3] + '|' + row[4] + '|' + row[5] + '|' + row[6] + '|' + row[7] + '|' +
                                                              row[8] + '|' + row[9] + '|' + row[10] + '|' + row[11]));
        }
    }

    void folderPaths() {
        auto list = [](const std::string& text) { return QString::fromStdString(text).split(',', Qt::SkipEmptyParts); };
        for (const auto& row : readDataTable(TEST_DATA_DIR "/folder_paths.txt")) {
            const QString a = QString::fromStdString(row[1]), b = QString::fromStdString(row.size() > 2 ? row[2] : "");
            QString got;
            if (row[0] == "slash") got = withSlash(a);
            if (row[0] == "holds") got = holds(a, b) ? "1" : "0";
            if (row[0] == "drive") got = QString::number(driveFor(list(row[1]), b));
            if (row[0] == "opens") got = driveOpensAt(a, b, [&](const QString& path) { return list(row[3]).contains(path); });
            if (row[0] == "order") got = orderedRoots(list(row[1])).join(',');
            QCOMPARE(got, QString::fromStdString(row.size() > 4 || row[0] != "opens" ? row.back() : ""));
        }
    }
};

PESTROLIK_WINDOW_TEST_MAIN(WindowRulesTest)
#include "window_rules_test.moc"
