// The save-folder browser and the naming of new files: proposals, folder and drive
// changes (an unready drive included), the file list, clicks on listed files.

#include "window_test_support.h"

namespace {

// Chooses `path` in Dir1 the way a click does: through the view's own model.
void chooseInTree(const Controls& c, const QString& path) {
    auto* proxy = qobject_cast<QSortFilterProxyModel*>(c.dir1->model());
    auto* model = qobject_cast<QFileSystemModel*>(proxy->sourceModel());
    const QModelIndex index = proxy->mapFromSource(model->index(path));
    QVERIFY2(index.isValid(), qPrintable(path));
    c.dir1->setCurrentIndex(index);
}

void chooseDrive(const Controls& c, const QString& root) {
    c.drive1->setCurrentIndex(c.drive1->findText(root));
    QCOMPARE(c.drive1->currentText(), root);
}

QString treeCurrent(const Controls& c) { return c.dir1->currentIndex().data(QFileSystemModel::FilePathRole).toString(); }

void verifyFolder(TestWindow& w, const QString& folder, int proposal) {
    FolderBrowser& browser = w.form().folderBrowser();
    QCOMPARE(browser.saveFolder(), folder);
    QCOMPARE(browser.treePath(), folder);
    QCOMPARE(browser.fileListFolder(), folder);
    QCOMPARE(w.c().text3->text(), folder + "/Kaleidrix_" + QString::number(proposal) + ".GIF");
}

}  // namespace

class FolderBrowserTest : public QObject {
    Q_OBJECT

private slots:
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
        // At a root the separator comes out doubled, and the path still works.
        QCOMPARE(pathInFolder("/", "Kaleidrix_1.GIF"), QString("//Kaleidrix_1.GIF"));
    }

    // The stored folder as stored (its separator doubles before the name); the tree down
    // to it from the drive's root, selected and opened, and kept so while the model
    // lists everything on the way. A stored folder that is gone is replaced, silently.
    void startUpShowsStoredFolder() {
        TestWindow w;
        const QString sub = w.pathIn("sub");
        QVERIFY(QDir().mkpath(sub + "/deeper"));
        w.memorySettings.save("tem2", "put", (sub + '/').toStdString());
        w.restart();
        QCOMPARE(w.c().text3->text(), sub + "//Kaleidrix_1.GIF");
        QCOMPARE(w.c().drive1->currentText(), QString("/"));
        const QPersistentModelIndex current = w.c().dir1->currentIndex();
        QCOMPARE(treeCurrent(w.c()), sub);
        QVERIFY(w.c().dir1->isExpanded(current));
        QTRY_COMPARE(w.c().dir1->model()->rowCount(current), 1);
        QCOMPARE(w.c().dir1->model()->index(0, 0, current).data().toString(), QString("deeper"));
        QTest::qWait(1000);
        QCOMPARE(treeCurrent(w.c()), sub);
        for (QModelIndex up = w.c().dir1->currentIndex().parent(); up.isValid(); up = up.parent())
            QVERIFY2(w.c().dir1->isExpanded(up), qPrintable(up.data().toString()));
        QVERIFY(w.c().dir1->visualRect(w.c().dir1->currentIndex()).intersects(w.c().dir1->viewport()->rect()));

        w.memorySettings.save("tem2", "put", w.pathIn("gone").toStdString());
        w.restart();
        verifyFolder(w, w.folder(), 1);
        QVERIFY(w.messages.shown.isEmpty());
    }

    // A chosen folder becomes the save folder and is listed; coming back proposes anew,
    // so a deleted file's number is free again.
    void folderChanges() {
        TestWindow w;
        const QString sub = w.pathIn("sub");
        QVERIFY(QDir().mkdir(sub));
        writeFile(sub + "/Kaleidrix_1.GIF");
        writeFile(sub + "/a.gif");
        writeFile(w.pathIn("Kaleidrix_1.GIF"));
        w.c().text3->setText("typed by hand");
        chooseInTree(w.c(), sub);
        verifyFolder(w, sub, 2);
        QTRY_COMPARE(listedFiles(w.c()), (QStringList{"a.gif", "Kaleidrix_1.GIF"}));
        QCOMPARE(treeCurrent(w.c()), sub);

        chooseInTree(w.c(), w.folder());
        verifyFolder(w, w.folder(), 2);
        QVERIFY(QFile::remove(w.pathIn("Kaleidrix_1.GIF")));
        chooseInTree(w.c(), sub);
        chooseInTree(w.c(), w.folder());
        verifyFolder(w, w.folder(), 1);
    }

    // Another drive (a volume mounted at a folder of ours) moves everything to its root,
    // shows that drive alone, and remembers its last folder; an unready drive keeps the
    // folder and proposes again, silently.
    void drives() {
        QTemporaryDir volume;
        QVERIFY(QDir(volume.path()).mkdir("deeper"));
        writeFile(volume.filePath("Kaleidrix_1.GIF"));
        TestWindow w(nullptr, {volume.path(), "/no/such/volume"});
        QCOMPARE(w.c().drive1->count(), 3);
        QStringList mounted = mountedVolumeRoots();  // what the real program offers: "/" first, then in order
        QVERIFY(mounted.first() == "/" && std::is_sorted(mounted.begin() + 1, mounted.end()) && mounted.removeDuplicates() == 0);

        chooseDrive(w.c(), volume.path());
        verifyFolder(w, volume.path(), 2);
        QTest::qWait(300);  // the folders beside the drive's root, listed late, stay out
        const QModelIndex top = w.c().dir1->model()->index(0, 0, w.c().dir1->rootIndex());
        QCOMPARE(w.c().dir1->model()->rowCount(w.c().dir1->rootIndex()), 1);
        QCOMPARE(top.data(QFileSystemModel::FilePathRole).toString(), volume.path());
        QTRY_COMPARE(listedFiles(w.c()), QStringList{"Kaleidrix_1.GIF"});

        chooseInTree(w.c(), volume.filePath("deeper"));
        chooseDrive(w.c(), "/");
        verifyFolder(w, w.folder(), 1);
        chooseDrive(w.c(), volume.path());
        verifyFolder(w, volume.filePath("deeper"), 1);

        w.c().text3->setText("typed by hand");
        chooseDrive(w.c(), "/no/such/volume");
        verifyFolder(w, volume.filePath("deeper"), 1);
        QVERIFY(w.messages.shown.isEmpty());

        w.memorySettings.save("tem2", "put", volume.filePath("deeper").toStdString());
        w.restart();  // a stored folder on another drive shows that drive
        QCOMPARE(w.c().drive1->currentText(), volume.path());
    }

    // Names holding ".gif" in any case, ordinary files only; a save folder inside a
    // hidden folder is still listed, though the tree hides such folders.
    void fileList() {
        TestWindow w;
        for (const char* name : {"a.gif", "b.GIFs", "c.Gif.txt", "d.png", "egif", ".f.gif", "Kaleidrix_1.GIF"})
            writeFile(w.pathIn(name));
        QVERIFY(QDir().mkdir(w.pathIn("g.gif")));
        QTRY_COMPARE(listedFiles(w.c()), (QStringList{"a.gif", "b.GIFs", "c.Gif.txt", "Kaleidrix_1.GIF"}));

        QVERIFY(QDir().mkpath(w.pathIn(".hidden/pictures")));
        writeFile(w.pathIn(".hidden/pictures/a.gif"));
        w.memorySettings.save("tem2", "put", w.pathIn(".hidden/pictures").toStdString());
        w.restart();
        QCOMPARE(w.form().folderBrowser().saveFolder(), w.pathIn(".hidden/pictures"));
        QTRY_COMPARE(listedFiles(w.c()), QStringList{"a.gif"});
    }

    // One click selects a listed file, a double click opens it; neither changes folder
    // nor renames.
    void listedFileClicks() {
        TestWindow w;
        writeFile(w.pathIn("a.gif"));
        QTRY_COMPARE(listedFiles(w.c()), QStringList{"a.gif"});
        const QModelIndex listed = w.c().file1->model()->index(0, 0, w.c().file1->rootIndex());
        QVERIFY(!(listed.flags() & Qt::ItemIsEditable));  // no renaming from the list
        const QRect cell = w.c().file1->visualRect(listed);
        QTest::mouseClick(w.c().file1->viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(w.form().folderBrowser().listedFilePath(), w.pathIn("a.gif"));
        QVERIFY(w.shell.opened.isEmpty());
        QTest::mouseDClick(w.c().file1->viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(w.shell.opened, QStringList{w.pathIn("a.gif")});
        QCOMPARE(w.form().folderBrowser().saveFolder(), w.folder());
    }
};

PESTROLIK_WINDOW_TEST_MAIN(FolderBrowserTest)
#include "folder_browser_test.moc"
