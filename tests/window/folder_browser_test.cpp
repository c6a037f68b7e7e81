// The save-folder browser and the naming of new files: proposals, folder and drive
// changes (an unready drive included), the file list's pattern, clicks on listed files.

#include "window_test_support.h"

#include "window/controls.h"
#include "window/folder_browser.h"
#include "window/next_file_name.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QListView>
#include <QSortFilterProxyModel>
#include <QStandardPaths>
#include <QTreeView>

using namespace pestrolik;
using namespace pestrolik::test;

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
    const int index = c.drive1->findText(root);
    QVERIFY2(index >= 0, qPrintable(root));
    c.drive1->setCurrentIndex(index);
}

QModelIndex listedIndex(const Controls& c, const QString& name) {
    const QAbstractItemModel* model = c.file1->model();
    for (int row = 0; row < model->rowCount(c.file1->rootIndex()); ++row) {
        const QModelIndex index = model->index(row, 0, c.file1->rootIndex());
        if (index.data().toString() == name) return index;
    }
    return {};
}

}  // namespace

class FolderBrowserTest : public QObject {
    Q_OBJECT

private slots:
    void proposals_data();
    void proposals();
    void proposalInRootFolder();
    void startUpShowsStoredFolder();
    void folderChange();
    void proposalIsNotCached();
    void driveChange();
    void unreadyDriveKeepsFolder();
    void driveRemembersItsFolder();
    void fileListPattern();
    void folderInsideHiddenFolder();
    void listedFileClicks();
};

void FolderBrowserTest::proposals_data() {
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("folders");
    QTest::addColumn<int>("expected");
    QTest::newRow("empty folder") << QStringList{} << QStringList{} << 1;
    QTest::newRow("1 and 2 taken") << QStringList{"Kaleidrix_1.GIF", "Kaleidrix_2.GIF"} << QStringList{} << 3;
    QTest::newRow("the lowest gap, not above the highest")
        << QStringList{"Kaleidrix_1.GIF", "Kaleidrix_3.GIF"} << QStringList{} << 2;
    QTest::newRow("other letter case is not taken") << QStringList{"Kaleidrix_1.gif", "KALEIDRIX_1.GIF"} << QStringList{} << 1;
    QTest::newRow("leading zero is another name") << QStringList{"Kaleidrix_01.GIF"} << QStringList{} << 1;
    QTest::newRow("a folder of that name takes it") << QStringList{} << QStringList{"Kaleidrix_1.GIF"} << 2;
    QStringList many;
    for (int n = 1; n <= 500; ++n) many << QString("Kaleidrix_%1.GIF").arg(n);
    QTest::newRow("500 taken") << many << QStringList{} << 501;
}

void FolderBrowserTest::proposals() {
    QFETCH(QStringList, files);
    QFETCH(QStringList, folders);
    QFETCH(int, expected);
    QTemporaryDir dir;
    for (const QString& name : files) writeFile(dir.filePath(name));
    for (const QString& name : folders) QVERIFY(QDir(dir.path()).mkdir(name));

    const FileNameProposal proposal = proposeNextFileName(dir.path());
    QCOMPARE(proposal.fileNumber, expected);
    QCOMPARE(proposal.path, dir.path() + "/Kaleidrix_" + QString::number(expected) + ".GIF");
}

// At a root the separator comes out doubled, and the path still works.
void FolderBrowserTest::proposalInRootFolder() {
    QCOMPARE(pathInFolder("/", "Kaleidrix_1.GIF"), QString("//Kaleidrix_1.GIF"));
    QTemporaryDir dir;
    writeFile(dir.filePath("Kaleidrix_1.GIF"));
    QCOMPARE(proposeNextFileName(dir.path() + "/").path, dir.path() + "//Kaleidrix_2.GIF");
}

void FolderBrowserTest::startUpShowsStoredFolder() {
    TestWindow w;
    QVERIFY(QDir().mkdir(w.pathIn("sub")));
    w.restart();
    FolderBrowser& browser = w.form().folderBrowser();
    QCOMPARE(browser.saveFolder(), w.folder());
    QCOMPARE(browser.treePath(), w.folder());
    QCOMPARE(browser.fileListFolder(), w.folder());
    QCOMPARE(browser.fileNumber(), 1);
    QCOMPARE(w.c().text3->text(), w.pathIn("Kaleidrix_1.GIF"));
    QCOMPARE(w.c().drive1->currentText(), QString("/"));
    // The tree shows the path down from the drive's root, the chosen folder selected.
    QCOMPARE(w.c().dir1->currentIndex().data(QFileSystemModel::FilePathRole).toString(), w.folder());
    QVERIFY(w.c().dir1->isExpanded(w.c().dir1->currentIndex().parent()));
    // ... and the folder's own sub-folders under it.
    const QPersistentModelIndex current = w.c().dir1->currentIndex();
    QVERIFY(w.c().dir1->isExpanded(current));
    QTRY_COMPARE(w.c().dir1->model()->rowCount(current), 1);
    QCOMPARE(w.c().dir1->model()->index(0, 0, current).data().toString(), QString("sub"));
    QCOMPARE(w.c().dir1->currentIndex(), QModelIndex(current));
    // ... and stays so once the model has listed everything on the way.
    QTest::qWait(1000);
    QCOMPARE(w.c().dir1->currentIndex().data(QFileSystemModel::FilePathRole).toString(), w.folder());
    for (QModelIndex up = w.c().dir1->currentIndex().parent(); up.isValid(); up = up.parent())
        QVERIFY2(w.c().dir1->isExpanded(up), qPrintable(up.data().toString()));
    QVERIFY(w.c().dir1->visualRect(w.c().dir1->currentIndex()).intersects(w.c().dir1->viewport()->rect()));
}

void FolderBrowserTest::folderChange() {
    TestWindow w;
    const QString sub = w.pathIn("sub");
    QVERIFY(QDir().mkdir(sub));
    writeFile(sub + "/Kaleidrix_1.GIF");
    writeFile(sub + "/a.gif");
    w.c().text3->setText("typed by hand");
    chooseInTree(w.c(), sub);

    FolderBrowser& browser = w.form().folderBrowser();
    QCOMPARE(browser.saveFolder(), sub);
    QCOMPARE(browser.fileListFolder(), sub);
    QCOMPARE(w.c().text3->text(), sub + "/Kaleidrix_2.GIF");
    QTRY_COMPARE(listedFiles(w.c()), (QStringList{"a.gif", "Kaleidrix_1.GIF"}));
    // The tree stays on the chosen folder whatever the model does meanwhile.
    QCOMPARE(w.c().dir1->currentIndex().data(QFileSystemModel::FilePathRole).toString(), sub);
}

// Deleting a file and coming back proposes its number again.
void FolderBrowserTest::proposalIsNotCached() {
    TestWindow w;
    writeFile(w.pathIn("Kaleidrix_1.GIF"));
    writeFile(w.pathIn("Kaleidrix_2.GIF"));
    QVERIFY(QDir().mkdir(w.pathIn("away")));
    chooseInTree(w.c(), w.pathIn("away"));
    chooseInTree(w.c(), w.folder());
    QCOMPARE(w.c().text3->text(), w.pathIn("Kaleidrix_3.GIF"));

    QVERIFY(QFile::remove(w.pathIn("Kaleidrix_1.GIF")));
    chooseInTree(w.c(), w.pathIn("away"));
    chooseInTree(w.c(), w.folder());
    QCOMPARE(w.c().text3->text(), w.pathIn("Kaleidrix_1.GIF"));
}

// A second "drive" (a volume mounted at a folder of ours): choosing it moves the
// tree, the file list, the save folder and the proposal to its root.
void FolderBrowserTest::driveChange() {
    QTemporaryDir volume;
    writeFile(volume.filePath("Kaleidrix_1.GIF"));
    TestWindow w(nullptr, {volume.path()});
    QCOMPARE(w.c().drive1->count(), 2);

    chooseDrive(w.c(), volume.path());

    FolderBrowser& browser = w.form().folderBrowser();
    QCOMPARE(browser.treePath(), volume.path());
    QCOMPARE(browser.fileListFolder(), volume.path());
    QCOMPARE(browser.saveFolder(), volume.path());
    QCOMPARE(w.c().text3->text(), volume.path() + "/Kaleidrix_2.GIF");
    // The tree shows that drive alone, its root as the top item.
    const QModelIndex top = w.c().dir1->model()->index(0, 0, w.c().dir1->rootIndex());
    QCOMPARE(w.c().dir1->model()->rowCount(w.c().dir1->rootIndex()), 1);
    QCOMPARE(top.data(QFileSystemModel::FilePathRole).toString(), volume.path());
    QTRY_COMPARE(listedFiles(w.c()), QStringList{"Kaleidrix_1.GIF"});
}

void FolderBrowserTest::unreadyDriveKeepsFolder() {
    const QString unready = "/no/such/volume";
    TestWindow w(nullptr, {unready});
    w.c().text3->setText("typed by hand");

    chooseDrive(w.c(), unready);

    FolderBrowser& browser = w.form().folderBrowser();
    QCOMPARE(w.c().drive1->currentText(), unready);
    QCOMPARE(browser.treePath(), w.folder());
    QCOMPARE(browser.fileListFolder(), w.folder());
    QCOMPARE(browser.saveFolder(), w.folder());
    QCOMPARE(w.c().text3->text(), w.pathIn("Kaleidrix_1.GIF"));  // proposed again
    QVERIFY(w.messages.shown.isEmpty());
}

// A drive's current folder is the last one chosen on it.
void FolderBrowserTest::driveRemembersItsFolder() {
    QTemporaryDir volume;
    QVERIFY(QDir(volume.path()).mkdir("deeper"));
    TestWindow w(nullptr, {volume.path()});
    chooseDrive(w.c(), volume.path());
    chooseInTree(w.c(), volume.filePath("deeper"));

    chooseDrive(w.c(), "/");
    QCOMPARE(w.form().folderBrowser().saveFolder(), w.folder());
    chooseDrive(w.c(), volume.path());
    QCOMPARE(w.form().folderBrowser().saveFolder(), volume.filePath("deeper"));
    QCOMPARE(w.c().text3->text(), volume.filePath("deeper") + "/Kaleidrix_1.GIF");
}

void FolderBrowserTest::fileListPattern() {
    TestWindow w;
    for (const char* name : {"a.gif", "b.GIFs", "c.Gif.txt", "d.png", "egif", ".f.gif", "Kaleidrix_1.GIF"})
        writeFile(w.pathIn(name));
    QVERIFY(QDir().mkdir(w.pathIn("g.gif")));
    QTRY_COMPARE(listedFiles(w.c()), (QStringList{"a.gif", "b.GIFs", "c.Gif.txt", "Kaleidrix_1.GIF"}));
}

// A save folder inside a hidden folder is still listed, though the tree hides such
// folders.
void FolderBrowserTest::folderInsideHiddenFolder() {
    TestWindow w;
    QVERIFY(QDir().mkpath(w.pathIn(".hidden/pictures")));
    writeFile(w.pathIn(".hidden/pictures/a.gif"));
    w.memorySettings.save("tem2", "put", w.pathIn(".hidden/pictures").toStdString());
    w.restart();
    QCOMPARE(w.form().folderBrowser().saveFolder(), w.pathIn(".hidden/pictures"));
    QTRY_COMPARE(listedFiles(w.c()), QStringList{"a.gif"});
    QCOMPARE(w.c().text3->text(), w.pathIn(".hidden/pictures/Kaleidrix_1.GIF"));
}

void FolderBrowserTest::listedFileClicks() {
    TestWindow w;
    writeFile(w.pathIn("a.gif"));
    QTRY_VERIFY(listedIndex(w.c(), "a.gif").isValid());
    const QRect cell = w.c().file1->visualRect(listedIndex(w.c(), "a.gif"));

    QTest::mouseClick(w.c().file1->viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(w.form().folderBrowser().listedFilePath(), w.pathIn("a.gif"));
    QVERIFY(w.shell.opened.isEmpty());

    QTest::mouseDClick(w.c().file1->viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(w.shell.opened, QStringList{w.pathIn("a.gif")});
    // A click changes no folder.
    QCOMPARE(w.form().folderBrowser().saveFolder(), w.folder());
}

PESTROLIK_WINDOW_TEST_MAIN(FolderBrowserTest)
#include "folder_browser_test.moc"
