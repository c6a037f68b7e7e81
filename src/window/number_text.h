#pragma once
// Numbers to and from the texts of the boxes and the settings store.

#include <QString>

#include <optional>

namespace pestrolik {

// The shortest text that reads back as the same single-precision number ("200",
// "3495", "2.5").
QString shortestDecimal(float value);

// The number a text begins with, read as START reads the boxes; nothing when the
// text does not begin with a number ("abc", "", "-").
std::optional<float> numberAtStart(const QString& text);

// A whole number written as the whole text (blanks around it allowed, "1.0" is 1);
// nothing for anything else.
std::optional<int> wholeNumber(const QString& text);

// A finite number written as the whole text; nothing for anything else.
std::optional<float> singleNumber(const QString& text);

}  // namespace pestrolik
