#include "window/file_list_filter.h"

#include "window/folder_paths.h"

#include <QFileSystemModel>

namespace pestrolik {

FileListFilter::FileListFilter(QFileSystemModel* source, QObject* parent)
    : QSortFilterProxyModel(parent), source_(source) {
    setSourceModel(source);
}

void FileListFilter::setFolder(const QString& folder) {
    const QString wanted = withSlash(folder);
    if (wanted == folderWithSlash_) return;
    folderWithSlash_ = wanted;
    invalidateFilter();
}

bool FileListFilter::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const {
    const QModelIndex index = source_->index(sourceRow, 0, sourceParent);
    return !source_->isDir(index) || folderWithSlash_.startsWith(withSlash(source_->filePath(index)));
}

}  // namespace pestrolik
