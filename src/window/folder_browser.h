#pragma once
// The save-folder browser: the drive list Drive1, the folder tree Dir1 and the file
// list File1, with the save folder they choose and the proposed next file name that
// goes into Text3.
//
// On a system without drive letters the drives are the mounted volumes. A drive's
// current folder is the last folder chosen on it, or its root.

#include "window/drive_folder_filter.h"
#include "window/file_list_filter.h"
#include "window/name_only_icons.h"

#include <QFileSystemModel>
#include <QHash>
#include <QObject>
#include <QStringList>

class QComboBox;
class QLineEdit;
class QListView;
class QTreeView;

namespace pestrolik {

class Shell;
struct Controls;

class FolderBrowser : public QObject {
public:
    // `volumeRoots` fill the drive list in their order (the controls and `shell` are
    // not owned and outlive this object).
    FolderBrowser(const Controls& controls, Shell& shell, const QStringList& volumeRoots, QObject* parent = nullptr);

    // Start-up: the drive list to the folder's drive, the tree to the folder, the file
    // list to the tree. Each may raise the drive and folder change handling.
    void goToFolder(const QString& folder);
    // Start-up: the save folder as stored, until the first folder or drive change.
    void setSaveFolder(const QString& folder) { saveFolder_ = folder; }

    // Proposes the lowest free Kaleidrix_n.GIF in the save folder and shows it in Text3.
    void NextFileName();
    // Lists the save folder's files again (after a run wrote one).
    void refreshFileList();

    QString saveFolder() const { return saveFolder_; }        // in the platform's form
    QString treePath() const;                                 // in the platform's form
    QString fileListFolder() const;                           // in the platform's form
    int fileNumber() const { return fileNumber_; }
    QString nextFilePath() const { return nextFilePath_; }
    QString listedFilePath() const { return listedFilePath_; }

private:
    void setUpFolderTree();
    void setUpFileList();
    void onDriveChanged(int index);
    void onTreeCurrentChanged(const QModelIndex& current);
    void onFolderChanged();
    void onFileClicked(const QModelIndex& index);
    void onFileDoubleClicked(const QModelIndex& index);

    // Nothing happens for a place that cannot be shown. The tree must already show its
    // drive: every caller moves the drive list (or the tree) there first.
    void setTreePath(const QString& path);
    void showDriveInTree(const QString& root);
    void selectInTree(const QString& path);
    void setDriveOf(const QString& path);
    int driveIndexOf(const QString& path) const;  // -1 when no listed drive holds it
    QString driveRootAt(int index) const;
    void setFileListFolder(const QString& path);
    void attachFileList();
    void keepTreeOnItsPath();
    void keepCurrentInViewAfterChangeIn(const QModelIndex& parent);

    QComboBox* drive1_;
    QTreeView* dir1_;
    QListView* file1_;
    QLineEdit* text3_;
    Shell& shell_;

    NameOnlyIcons icons_;  // before the models that use it
    QFileSystemModel folders_;
    DriveFolderFilter treeFilter_;
    QFileSystemModel files_;
    FileListFilter fileFilter_;
    bool settingTree_ = false;     // the tree is being moved by us, not the user
    bool treeRowsGoing_ = false;   // the model is dropping rows, which moves the current item
    bool scrollQueued_ = false;
    QString listFolder_;           // model form
    QHash<QString, QString> driveCurrentFolder_;  // drive root -> its current folder

    QString treePath_;  // model form ("/" separators), no trailing separator except at a root
    QString saveFolder_;
    int fileNumber_ = 1;
    QString nextFilePath_;
    QString listedFilePath_;
};

// The mounted volumes that can hold a folder, "/" first.
QStringList mountedVolumeRoots();

}  // namespace pestrolik
