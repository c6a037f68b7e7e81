#include "window/drive_folder_filter.h"

#include "window/folder_paths.h"

#include <QFileSystemModel>

namespace pestrolik {

namespace {

#ifdef Q_OS_WIN
constexpr Qt::CaseSensitivity pathCase = Qt::CaseInsensitive;
#else
constexpr Qt::CaseSensitivity pathCase = Qt::CaseSensitive;
#endif

}  // namespace

DriveFolderFilter::DriveFolderFilter(QFileSystemModel* source, QObject* parent)
    : QSortFilterProxyModel(parent), source_(source) {
    setSourceModel(source);
    setDriveRoot(QStringLiteral("/"));
}

void DriveFolderFilter::setDriveRoot(const QString& root) {
    if (root == root_) return;
    root_ = root;
    rootWithSlash_ = withSlash(root);
    invalidateFilter();
}

bool DriveFolderFilter::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const {
    const QString path = source_->filePath(source_->index(sourceRow, 0, sourceParent));
    return path.compare(root_, pathCase) == 0 || path.startsWith(rootWithSlash_, pathCase) ||
           rootWithSlash_.startsWith(withSlash(path), pathCase);
}

}  // namespace pestrolik
