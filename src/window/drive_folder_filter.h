#pragma once
// Narrows a file-system model to one drive: the drive's root, its folders, and the
// folders above the root (so a tree can show the root as its top item).

#include <QSortFilterProxyModel>

class QFileSystemModel;

namespace pestrolik {

class DriveFolderFilter : public QSortFilterProxyModel {
public:
    explicit DriveFolderFilter(QFileSystemModel* source, QObject* parent = nullptr);

    void setDriveRoot(const QString& root);  // a path in the model's form ("/", "C:/")

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    QFileSystemModel* source_;
    QString root_;
    QString rootWithSlash_;
};

}  // namespace pestrolik
