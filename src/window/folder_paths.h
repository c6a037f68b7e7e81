#pragma once
// The folder browser's decisions about paths, as plain functions of their texts:
// paths are in the model's form ("/" separators, no trailing one except at a root).

#include <QString>
#include <QStringList>

#include <functional>

namespace pestrolik {

// `path` with one "/" at its end, whether it had one or not.
QString withSlash(const QString& path);

// `path` is `root` itself or lies below it.
bool holds(const QString& root, const QString& path);

// The index of the drive whose root holds `path`, the longest such root wherever it
// stands in `roots`; -1 when none does.
int driveFor(const QStringList& roots, const QString& path);

// Where a drive opens: its last chosen folder while that is still a ready folder,
// otherwise its root; empty when not even the root is ready (an unready drive).
QString driveOpensAt(const QString& root, const QString& lastChosen, const std::function<bool(const QString&)>& ready);

// The drive list's order: the file system's root first, then the rest by name, each once.
QStringList orderedRoots(QStringList roots);

}  // namespace pestrolik
