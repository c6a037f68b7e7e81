#pragma once
// The help box's title and text (built anew for every showing).

#include <QString>

namespace pestrolik {

QString helpTitle();
// Fifteen lines joined by "\r\n", no line break after the last.
QString helpText();

}  // namespace pestrolik
