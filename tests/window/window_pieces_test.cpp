// The window's pieces under Qt Test: every control from the layout table, the drawn
// pieces, the real message box, and the rules that need no window (settings read from
// stored texts, corrupt ones included; the store on its INI file; the save folder's
// choice; the window's place; the next file name; the folder browser's path rules).
// What the window does with them is in scripts/.

#include "generation/chance.h"
#include "window/about_screen.h"
#include "window/name_only_icons.h"
#include "window_test_support.h"

#include <filesystem>

namespace {

QString stored(SettingsStore&& store, const char* section, const char* key) { return QString::fromStdString(store.get(section, key, "")); }
QString text(const DataRow& row, size_t column) { return QString::fromStdString(column < row.size() ? row[column] : ""); }

// The runs of rows holding ink, top to bottom, each as its leftmost and rightmost ink.
QList<QPair<int, int>> inkLines(const QImage& image) {
    QList<QPair<int, int>> lines;
    for (int y = 3, inLine = 0; y < image.height() - 3; ++y) {
        int left = image.width(), right = -1;
        for (int x = 3; x < image.width() - 3; ++x)
            if (image.pixelColor(x, y).lightness() < 100) left = std::min(left, x), right = x;
        if (right >= 0 && !inLine) lines << qMakePair(left, right);
        if (right >= 0) lines.last() = {std::min(lines.last().first, left), std::max(lines.last().second, right)};
        inLine = right >= 0;
    }
    return lines;
}

}  // namespace

class WindowPiecesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { w_ = std::make_unique<TestWindow>(); }

    void tabOrder() {
        QWidget* const first = w_->form().focusWidget();
        QStringList walked{first->objectName()};
        for (QWidget* at = first->nextInFocusChain(); at != first; at = at->nextInFocusChain())
            if ((at->focusPolicy() & Qt::TabFocus) && at->isVisibleTo(&w_->form()) && at->parentWidget() == &w_->form()) walked << at->objectName();
        QCOMPARE(walked.join(' '), QString::fromStdString(readDataLines(TEST_DATA_DIR "/tab_order.txt")[1]));
    }

    // A signal closes once: the pipe that brought it is emptied, and closed at the end.
    void oneCloseForOneSignal() {
        const auto pipes = [] {  // other descriptors come and go with Qt's own work
            return std::ranges::count_if(std::filesystem::directory_iterator("/proc/self/fd"), [](const auto& fd) {
                std::error_code gone;
                return std::filesystem::read_symlink(fd, gone).string().starts_with("pipe:");
            });
        };
        const auto pipesBefore = pipes();
        for (int signal : {SIGTERM, SIGQUIT}) {
            int closes = 0;
            CloseOnSignals closer([&] { ++closes; });
            std::raise(signal);
            QTRY_VERIFY(closes > 0);
            QCoreApplication::processEvents();
            QCoreApplication::processEvents();
            QCOMPARE(closes, 1);
        }
        QCOMPARE(pipes(), pipesBefore);
    }

    // Every control from the table; the window of fixed size with its icon in every size the menu uses.
    void layoutTable() {
        Form1& form = w_->form();
        QVERIFY(form.minimumSize() == QSize(537, 255) && form.maximumSize() == QSize(537, 255) && !(form.windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(!form.windowIcon().pixmap(32, 32).toImage().allGray());
        QCOMPARE(form.windowIcon().availableSizes(), (QList<QSize>{{16, 16}, {32, 32}, {48, 48}, {64, 64}, {128, 128}, {256, 256}}));
        for (const auto& row : readDataTable(TEST_DATA_DIR "/controls.txt")) {
            QWidget* widget = form.findChild<QWidget*>(QString::fromStdString(row[0]));
            QVERIFY2(widget, row[0].c_str());
            const QStringList place = text(row, 2).split(' ');
            QVERIFY2(widget->inherits(row[1].c_str()), row[0].c_str());
            QCOMPARE(widget->geometry(), QRect(place[0].toInt(), place[1].toInt(), place[2].toInt(), place[3].toInt()));
            QCOMPARE(widget->isVisibleTo(&form), row[3] == "1");
            QCOMPARE(widget->isEnabled(), row[4] == "1");
            if (row[0].starts_with("Label")) QVERIFY2(static_cast<QLabel*>(widget)->alignment() == (Qt::AlignLeft | Qt::AlignTop), row[0].c_str());
            QCOMPARE(widget->font().pointSizeF(), row[5] == "box" ? 9.75 : 8.25);
            QVERIFY(QStringList({"Arial", "Liberation Sans"}).contains(QFontInfo(widget->font()).family()));
            QVERIFY(QFontMetrics(widget->font()).inFont(QChar(u'Ж')));
            const auto role = qobject_cast<QLabel*>(widget) ? QPalette::WindowText : QPalette::Text;
            if (row[7] != "-") QCOMPARE(widget->palette().color(role), QColor(text(row, 7)));
            if (text(row, 8) != "-") QCOMPARE(widget->property("text").toString(), text(row, 8));  // buttons, edits and labels alike
        }
    }

    // Outlines, the sunken strips, the progress images, and the START caption wrapped
    // with "СТАРТ" alone and centred on its line, on the tool-tip colour.
    void drawnPieces() {
        const Controls& c = w_->c();
        for (auto [shape, colour] : {std::pair{c.shape1, 0xff808080u}, {c.shape2, 0xff808080u}, {c.shape3, 0xff804000u}}) {
            const QImage drawn = shape->grab().toImage();  // an outline only, rounded but the last
            QVERIFY(drawn.pixel(drawn.width() / 2, 0) == colour && drawn.pixel(drawn.width() / 2, drawn.height() / 2) != colour);
            QVERIFY(shape->testAttribute(Qt::WA_TransparentForMouseEvents) && (shape->corners() == OutlineShape::Corners::Square) == (shape == c.shape3));
            bool blended = false;  // a rounded corner is smoothed: some pixel neither outline nor inside
            for (int x = 0; x < 8; ++x) for (int y = 0; y < 8; ++y) blended |= drawn.pixel(x, y) != colour && drawn.pixel(x, y) != drawn.pixel(drawn.width() / 2, drawn.height() / 2);
            QCOMPARE(blended, shape != c.shape3);
        }
        QCOMPARE(progressImage(0).size(), QSize(285, 13));
        for (ProgressStrip* strip : {c.picture1, c.picture2})
            QVERIFY(strip->frameShadow() == QFrame::Sunken && strip->contentsRect().size() == QSize(285, 13) && strip->pixmap().toImage().pixelColor(1, 1) == QColor(224, 223, 227));
        c.picture1->showStep(32);  // the last image, the whole strip
        QCOMPARE(c.picture1->pixmap().toImage().pixelColor(283, 6), QColor(178, 180, 191));
        for (const auto& row : readDataTable(TEST_DATA_DIR "/progress_pixels.txt"))
            QCOMPARE(progressImage(std::stoi(row[0])).pixelColor(std::stoi(row[1]), std::stoi(row[2])), QColor(row[3].c_str()));
        QCOMPARE(c.command1->palette().color(QPalette::Button), toolTipColour());
        const QImage button = c.command1->grab().toImage();
        const auto lines = inkLines(button);
        QCOMPARE(lines.size(), 2);
        QVERIFY(qAbs(lines[0].first + lines[0].second - button.width()) <= 8 && lines[0].second - lines[0].first < button.width() / 3);
        QVERIFY(lines[1].second - lines[1].first > button.width() / 2);
    }

    // The about text as printed, spaces and empty lines kept (the data file's first line is a note).
    void aboutText() {
        const auto lines = readDataLines(TEST_DATA_DIR "/about_lines.txt");
        QStringList wanted;
        for (size_t i = 1; i < lines.size(); ++i) wanted << QString::fromStdString(lines[i]);
        QCOMPARE(AboutScreen::lines(), wanted);
    }

    // The real clock counts from local midnight, as the wall clock shows it.
    void clockTime() {
        const auto wall = [] { return QTime::currentTime().msecsSinceStartOfDay() / 1000.0; };
        const double before = wall(), seconds = SystemClock().secondsSinceMidnight(), after = wall() + 0.001;
        QVERIFY(after < before || (before <= seconds && seconds <= after));  // no verdict across midnight
    }

    // Icons by kind alone: a root is a drive.
    void kindIcons() {
        const NameOnlyIcons icons;
        const auto look = [](const QIcon& icon) { return icon.pixmap(16).toImage(); };
        QCOMPARE(look(icons.icon(QFileInfo("/"))), look(icons.icon(QFileIconProvider::Drive)));
        QCOMPARE(look(icons.icon(QFileInfo(QDir::tempPath()))), look(icons.icon(QFileIconProvider::Folder)));
        QVERIFY(look(icons.icon(QFileIconProvider::Drive)) != look(icons.icon(QFileIconProvider::Folder)));
    }

    // A path with a colon in it is a file; two letters and more before the colon, a scheme.
    void shellTargets() {
        QCOMPARE(shellUrl("/tmp/a b/x:y.gif"), QUrl::fromLocalFile("/tmp/a b/x:y.gif"));
        QCOMPARE(shellUrl("ws://p1.test").scheme(), QString("ws"));
    }

    // The real box: title, lines as given, an icon only when asked for, and OK closes it.
    void realMessageBox() {
        QtMessageBoxes boxes;
        boxes.setOwner(&w_->form());
        const QString longLine(120, u'ш');
        for (MessageIcon icon : {MessageIcon::None, MessageIcon::Information, MessageIcon::Exclamation}) {
            QStringList seen;
            QTimer::singleShot(0, [&] {
                auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
                const auto kind = icon == MessageIcon::Information ? QStyle::SP_MessageBoxInformation : QStyle::SP_MessageBoxWarning;
                const int side = box->style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, box);
                const QImage wanted = box->style()->standardIcon(kind, nullptr, box).pixmap(side, side).toImage();
                seen << box->windowTitle();
                for (const QLabel* label : box->findChildren<QLabel*>())
                    seen << (!label->pixmap().isNull() ? label->pixmap().toImage() == wanted ? "icon" : "another icon"
                             : label->textInteractionFlags() & Qt::TextSelectableByMouse ? label->text() : "unselectable");  // to copy a path from
                QTest::keyClick(box, Qt::Key_Return);
            });
            boxes.show(icon, "Ошибка", longLine + "\r\nвторая");
            QCOMPARE(seen.join('|'), QString(icon == MessageIcon::None ? "Ошибка|" : "Ошибка|icon|") + longLine + "\nвторая");
        }
        // Once dismissed (the program ends on a signal), no box waits for a click.
        boxes.dismiss();
        bool waited = false;
        QTimer::singleShot(0, &w_->form(), [&] { if (QWidget* box = QApplication::activeModalWidget()) waited = true, box->close(); });
        boxes.show(MessageIcon::None, "Ошибка", "после");
        QTest::qWait(10);  // the check runs here when no box ran its own loop
        QVERIFY(!waited);
    }

    void readingStoredTexts() {
        const QStringList names{"folder", "countText", "sizeText", "mobile", "still", "openAtEnd", "leftTwips", "topTwips"};
        auto fields = [](const WindowSettings& s) {
            return QStringList{s.folder, s.countText, s.sizeText, QString::number(s.mobile), QString::number(s.still),
                               QString::number(s.openAtEnd), QString::number(s.leftTwips), QString::number(s.topTwips)};
        };
        const QStringList defaults{"/home", "3", "200", "0", "0", "1", "3500", "3000"};
        MemorySettingsStore empty;
        QCOMPARE(fields(readWindowSettings(empty, "/home")), defaults);
        for (const auto& row : readDataTable(TEST_DATA_DIR "/stored_settings.txt")) {
            MemorySettingsStore store;
            store.save(row[0], row[1], row[2]);
            QStringList expected = defaults;
            expected[names.indexOf(text(row, 3))] = text(row, 4);
            QCOMPARE(fields(readWindowSettings(store, "/home")), expected);
        }
    }

    // The user's own store is "fandorel" under the config folder, and a hand-edited list
    // (which the INI reader takes for a list) reads back as one text.
    void userStore() {
        QtSettingsStore().save("tem2", "px", "1, 2");
        QFile file(qEnvironmentVariable("XDG_CONFIG_HOME") + "/fandorel/fandorel.conf");
        QVERIFY(file.open(QIODevice::Append | QIODevice::Text) && file.write("\n[met2]\nsol=1, 2\n") > 0);
        file.close();
        QCOMPARE(stored(QtSettingsStore(), "tem2", "px") + '|' + stored(QtSettingsStore(), "met2", "sol"), QString("1, 2|1, 2"));
    }

    void folderWhenNoneIsUsable() {
        for (const auto& row : readDataTable(TEST_DATA_DIR "/save_folders.txt")) {
            auto set = [&](size_t column) {
                const QStringList items = text(row, column).split(' ', Qt::SkipEmptyParts);
                return QSet<QString>(items.begin(), items.end());
            };
            QSet<QString> folders = set(1), writable = set(2), made;
            const FolderProbe probe{[&](const QString& path) { return folders.contains(path); },
                                    [&](const QString& path) { return folders.contains(path) && writable.contains(path); },
                                    [&](const QString& path) {
                                        if (set(3).contains(path) && !folders.contains(path)) made << path, folders << path, writable << path;
                                        return folders.contains(path);
                                    }};
            QCOMPARE(chooseSaveFolder(text(row, 0), {"/opt/p", text(row, 4), "/home/u"}, probe), text(row, 5));
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
            QCOMPARE(w.messages.shown[0].title + '|' + w.messages.shown[0].text, "Ошибка|Не удалось сохранить настройки в файл :\r\n" + path + ".");
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
        for (const auto& row : readDataTable(TEST_DATA_DIR "/proposals.txt")) {
            QTemporaryDir dir;
            for (const QString& name : text(row, 0).split(',', Qt::SkipEmptyParts)) writeFile(dir.filePath(name));
            for (const QString& name : text(row, 1).split(',', Qt::SkipEmptyParts)) QVERIFY(QDir(dir.path()).mkdir(name));
            const FileNameProposal proposal = proposeNextFileName(dir.path());
            QCOMPARE(proposal.fileNumber, std::stoi(row[2]));
            QCOMPARE(proposal.path, dir.filePath("Kaleidrix_" + text(row, 2) + ".GIF"));
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
            const AfterRun got = afterRun(RunOutcome(outcomes.indexOf(text(row, 0))), WindowState(windows.indexOf(text(row, 1))), row[2] == "1");
            QStringList seen{boxes[int(got.box)]}, expected;
            for (bool flag : {got.boxFirst, got.idleLook, got.clearProgress, got.refreshList, got.nextName}) seen << QString::number(flag);
            seen << reports[int(got.report)] << QString::number(got.runEnded) << QString::number(got.endProgram);
            for (size_t column = 3; column < row.size(); ++column) expected << text(row, column);
            QCOMPARE(seen, expected);
        }
    }

    void folderPaths() {
        auto list = [](const std::string& text) { return QString::fromStdString(text).split(',', Qt::SkipEmptyParts); };
        for (const auto& row : readDataTable(TEST_DATA_DIR "/folder_paths.txt")) {
            const QString a = text(row, 1), b = text(row, 2);
            QString got;
            if (row[0] == "slash") got = withSlash(a);
            if (row[0] == "holds") got = holds(a, b) ? "1" : "0";
            if (row[0] == "drive") got = QString::number(driveFor(list(row[1]), b));
            if (row[0] == "opens") got = driveOpensAt(a, b, [&](const QString& path) { return list(row[3]).contains(path); });
            if (row[0] == "order") got = orderedRoots(list(row[1])).join(',');
            QCOMPARE(got, row.size() > 4 || row[0] != "opens" ? QString::fromStdString(row.back()) : QString());
        }
    }

private:
    std::unique_ptr<TestWindow> w_;
};

PESTROLIK_WINDOW_TEST_MAIN(WindowPiecesTest)
#include "window_pieces_test.moc"
