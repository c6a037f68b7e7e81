#include "window/file_list_filter.h"

#include <QFileSystemModel>

namespace pestrolik {

namespace {

QString withSlash(const QString& path) { return path.endsWith(u'/') ? path : path + u'/'; }

}  // namespace

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
