#pragma once
// What the file list shows of a file-system model: the files of its folder, never
// folders. The model itself must keep folders: it filters out a folder it already
// knows when that folder later becomes the list's root, and the list would then show
// the top of the file system instead.

#include <QSortFilterProxyModel>

class QFileSystemModel;

namespace pestrolik {

class FileListFilter : public QSortFilterProxyModel {
public:
    explicit FileListFilter(QFileSystemModel* source, QObject* parent = nullptr);

    // The folder listed (model form); it and the folders above it stay in the model.
    void setFolder(const QString& folder);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    QFileSystemModel* source_;
    QString folderWithSlash_;
};

}  // namespace pestrolik
