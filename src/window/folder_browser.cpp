#include "window/folder_browser.h"

#include "window/controls.h"
#include "window/folder_paths.h"
#include "window/next_file_name.h"
#include "window/shell.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QListView>
#include <QScopedValueRollback>
#include <QStorageInfo>
#include <QTimer>
#include <QTreeView>

namespace pestrolik {

namespace {

// The lists pick files by this pattern, letter case ignored: a.gif and a.GIFs alike.
const QString fileListPattern = QStringLiteral("*.GIF*");

QString modelForm(const QString& path) {
    if (path.isEmpty()) return path;
    return QDir::cleanPath(QFileInfo(QDir::fromNativeSeparators(path)).absoluteFilePath());
}

QString shownForm(const QString& path) { return QDir::toNativeSeparators(path); }

bool isReadyFolder(const QString& path) {
    const QFileInfo folder(path);
    return !path.isEmpty() && folder.isDir() && folder.isReadable();
}

}  // namespace

QStringList mountedVolumeRoots() {
    QStringList roots;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes())
        if (volume.isValid() && QFileInfo(volume.rootPath()).isDir()) roots << volume.rootPath();
    return orderedRoots(roots);
}

FolderBrowser::FolderBrowser(const Controls& controls, Shell& shell, const QStringList& volumeRoots, QObject* parent)
    : QObject(parent),
      drive1_(controls.drive1),
      dir1_(controls.dir1),
      file1_(controls.file1),
      text3_(controls.text3),
      shell_(shell),
      treeFilter_(&folders_),
      fileFilter_(&files_) {
    for (const QString& root : volumeRoots) drive1_->addItem(shownForm(modelForm(root)));
    setUpFolderTree();
    setUpFileList();
    if (drive1_->count() > 0) showDriveInTree(driveRootAt(0));

    connect(drive1_, &QComboBox::currentIndexChanged, this, &FolderBrowser::onDriveChanged);
    connect(dir1_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &FolderBrowser::onTreeCurrentChanged);
    connect(file1_, &QListView::clicked, this, &FolderBrowser::onFileClicked);
    connect(file1_, &QListView::doubleClicked, this, &FolderBrowser::onFileDoubleClicked);
}

void FolderBrowser::setUpFolderTree() {
    folders_.setIconProvider(&icons_);
    folders_.setOption(QFileSystemModel::DontUseCustomDirectoryIcons);
    folders_.setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    // The model may drop a folder it has just been shown (a listing made before the
    // folder existed arrives late); the current item then moves, which is no choice
    // of the user's. Connected before the view is, so this runs first.
    connect(&treeFilter_, &QAbstractItemModel::rowsAboutToBeRemoved, this, [this] { treeRowsGoing_ = true; });
    connect(&treeFilter_, &QAbstractItemModel::rowsRemoved, this, [this] {
        treeRowsGoing_ = false;
        QTimer::singleShot(0, this, &FolderBrowser::keepTreeOnItsPath);
    });
    dir1_->setModel(&treeFilter_);
    for (int column = 1; column < folders_.columnCount(); ++column) dir1_->hideColumn(column);
    // Folders listed above the chosen one push it down as they arrive, and sorting
    // moves it again: keep it in view.
    connect(&treeFilter_, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex& parent) { keepCurrentInViewAfterChangeIn(parent); });
    connect(&treeFilter_, &QAbstractItemModel::layoutChanged, this,
            [this](const QList<QPersistentModelIndex>& parents) {
                if (parents.isEmpty()) keepCurrentInViewAfterChangeIn({});
                for (const QPersistentModelIndex& parent : parents) keepCurrentInViewAfterChangeIn(parent);
            });
}

void FolderBrowser::setUpFileList() {
    // Folders stay in the model, as by default (a hidden one above the list's folder is
    // let through by the model itself); fileFilter_ leaves only the files. Both models
    // stay read-only, as they start: nothing is renamed from the lists.
    files_.setIconProvider(&icons_);
    files_.setOption(QFileSystemModel::DontUseCustomDirectoryIcons);
    files_.setNameFilters({fileListPattern});  // folders are not held to it
    files_.setNameFilterDisables(false);
    file1_->setModel(&fileFilter_);
    // The same late listing can drop the listed folder itself from the model.
    connect(&files_, &QAbstractItemModel::rowsRemoved, this, [this] {
        QTimer::singleShot(0, this, [this] {
            if (!file1_->rootIndex().isValid()) attachFileList();
        });
    });
}

QString FolderBrowser::treePath() const { return shownForm(treePath_); }

QString FolderBrowser::fileListFolder() const { return shownForm(files_.rootPath()); }

void FolderBrowser::goToFolder(const QString& folder) {
    setDriveOf(modelForm(folder));
    setTreePath(folder);
    setFileListFolder(treePath_);
}

void FolderBrowser::NextFileName() {
    const FileNameProposal proposal = proposeNextFileName(saveFolder_);
    fileNumber_ = proposal.fileNumber;
    nextFilePath_ = proposal.path;
    text3_->setText(nextFilePath_);
}

void FolderBrowser::refreshFileList() { setFileListFolder(modelForm(treePath_)); }

void FolderBrowser::onDriveChanged(int index) {
    // Every step runs even when the one before it failed: an unready drive leaves the
    // tree where it was, and the proposal is made again for that folder.
    const QString root = driveRootAt(index);
    const QString target = driveOpensAt(root, driveCurrentFolder_.value(root), isReadyFolder);
    if (!target.isEmpty()) {
        showDriveInTree(root);
        setTreePath(target);
    }
    saveFolder_ = shownForm(treePath_);
    NextFileName();
}

void FolderBrowser::onTreeCurrentChanged(const QModelIndex& current) {
    if (settingTree_ || treeRowsGoing_) return;
    const QString path = folders_.filePath(treeFilter_.mapToSource(current));
    if (path.isEmpty() || path == treePath_) return;
    treePath_ = path;
    onFolderChanged();
}

void FolderBrowser::onFolderChanged() {
    const int drive = driveIndexOf(treePath_);
    if (drive >= 0) driveCurrentFolder_[driveRootAt(drive)] = treePath_;
    setFileListFolder(treePath_);
    saveFolder_ = shownForm(treePath_);
    NextFileName();
}

void FolderBrowser::onFileClicked(const QModelIndex& index) {
    const QString name = files_.fileName(fileFilter_.mapToSource(index));  // before the list may be moved
    const QString folder = modelForm(saveFolder_);
    setDriveOf(folder);
    setTreePath(folder);
    setFileListFolder(treePath_);
    listedFilePath_ = pathInFolder(saveFolder_, name);
}

void FolderBrowser::onFileDoubleClicked(const QModelIndex&) { shell_.open(listedFilePath_); }

void FolderBrowser::setTreePath(const QString& path) {
    const QString wanted = modelForm(path);
    if (!isReadyFolder(wanted) || wanted == treePath_) return;
    treePath_ = wanted;
    selectInTree(wanted);
    onFolderChanged();
}

void FolderBrowser::keepCurrentInViewAfterChangeIn(const QModelIndex& parent) {
    // An invalid parent is the top of the model, above every drive.
    if (parent.isValid() && !holds(folders_.filePath(treeFilter_.mapToSource(parent)), treePath_)) return;
    if (scrollQueued_) return;
    scrollQueued_ = true;
    QTimer::singleShot(0, this, [this] {
        scrollQueued_ = false;
        dir1_->scrollTo(dir1_->currentIndex(), QAbstractItemView::PositionAtCenter);
    });
}

void FolderBrowser::keepTreeOnItsPath() {
    const QString shown = folders_.filePath(treeFilter_.mapToSource(dir1_->currentIndex()));
    if (shown != treePath_ && isReadyFolder(treePath_)) selectInTree(treePath_);
}

void FolderBrowser::showDriveInTree(const QString& root) {
    QScopedValueRollback moving(settingTree_, true);
    treeFilter_.setDriveRoot(root);
    folders_.setRootPath(root);  // without a root path the model fetches nothing
    // The tree's top item is the drive's root itself, as a drive list's tree shows it.
    const QModelIndex above = QDir(root).isRoot() ? QModelIndex() : folders_.index(QFileInfo(root).absolutePath());
    dir1_->setRootIndex(treeFilter_.mapFromSource(above));
}

void FolderBrowser::selectInTree(const QString& path) {
    QScopedValueRollback moving(settingTree_, true);
    const QModelIndex shown = treeFilter_.mapFromSource(folders_.index(path));
    dir1_->setCurrentIndex(shown);
    for (QModelIndex up = shown.parent(); up.isValid(); up = up.parent()) dir1_->expand(up);
    dir1_->expand(shown);
    dir1_->scrollTo(shown, QAbstractItemView::PositionAtCenter);  // its sub-folders below it
}

void FolderBrowser::setDriveOf(const QString& path) {
    const int drive = driveIndexOf(path);
    if (drive >= 0) drive1_->setCurrentIndex(drive);  // raises the change only when it moves
}

int FolderBrowser::driveIndexOf(const QString& path) const {
    QStringList roots;
    for (int i = 0; i < drive1_->count(); ++i) roots << driveRootAt(i);
    return driveFor(roots, path);
}

QString FolderBrowser::driveRootAt(int index) const { return modelForm(drive1_->itemText(index)); }

void FolderBrowser::setFileListFolder(const QString& path) {
    if (path.isEmpty()) return;
    listFolder_ = path;
    fileFilter_.setFolder(path);
    files_.setRootPath(path);
    attachFileList();
}

void FolderBrowser::attachFileList() {
    const QModelIndex folder = files_.index(listFolder_);  // made again if it was dropped
    file1_->setRootIndex(fileFilter_.mapFromSource(folder));
    if (files_.canFetchMore(folder)) files_.fetchMore(folder);
}

}  // namespace pestrolik
