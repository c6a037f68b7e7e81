#pragma once
// Int(x) of the drawing formulas: the largest whole number not above x.

#include <cmath>

namespace pestrolik {

inline int wholePart(double x) { return static_cast<int>(std::floor(x)); }

}  // namespace pestrolik
