#include "window/folder_paths.h"

#include <QDir>

#include <algorithm>

namespace pestrolik {

QString withSlash(const QString& path) { return path.endsWith(u'/') ? path : path + u'/'; }

bool holds(const QString& root, const QString& path) { return path == root || path.startsWith(withSlash(root)); }

int driveFor(const QStringList& roots, const QString& path) {
    int best = -1;
    for (int i = 0; i < roots.size(); ++i)
        if (holds(roots[i], path) && (best < 0 || roots[i].size() > roots[best].size())) best = i;
    return best;
}

QString driveOpensAt(const QString& root, const QString& lastChosen, const std::function<bool(const QString&)>& ready) {
    if (!lastChosen.isEmpty() && ready(lastChosen)) return lastChosen;
    return ready(root) ? root : QString();
}

QStringList orderedRoots(QStringList roots) {
    roots.removeDuplicates();
    std::sort(roots.begin(), roots.end(), [](const QString& a, const QString& b) {
        const bool aIsRoot = QDir(a).isRoot(), bIsRoot = QDir(b).isRoot();
        return aIsRoot != bIsRoot ? aIsRoot : a < b;
    });
    return roots;
}

}  // namespace pestrolik
