// The naming of new files and the drives on offer. How the browser moves between
// folders and drives is in scripts/folders.txt.

#include "window_test_support.h"

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

    // "/" first, then the other volumes in order, each once.
    void mountedVolumes() {
        QStringList mounted = mountedVolumeRoots();
        QVERIFY(mounted.first() == "/" && std::is_sorted(mounted.begin() + 1, mounted.end()));
        QCOMPARE(mounted.removeDuplicates(), 0);
    }
};

PESTROLIK_WINDOW_TEST_MAIN(FolderBrowserTest)
#include "folder_browser_test.moc"
