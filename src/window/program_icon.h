#pragma once
// The program's icon, from the same pictures the desktop menu shows.

#include <QIcon>

namespace pestrolik {

QIcon programIcon();

}  // namespace pestrolik
