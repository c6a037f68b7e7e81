#pragma once
// Reading the count and size boxes the way START reads them.

#include <optional>
#include <string>
#include <string_view>

namespace pestrolik {

// What the count and size boxes hold until the user types something else.
inline constexpr int defaultFrameCount = 3;
inline constexpr int defaultPictureSize = 200;

// The number a text begins with (blanks are skipped); nothing when it does not
// begin with one.
std::optional<double> numberAtStart(std::string_view text);
// The same, with 0 for a text that does not begin with a number, as START reads it.
double leadingNumber(std::string_view text);

enum class InputProblem { None, CountTooLarge, CountTooSmall, SizeTooLarge, SizeTooSmall };

struct RunInputs {
    InputProblem problem = InputProblem::None;  // the first one found: count before size
    int frameCount = 0;
    int pictureSize = 0;
};

RunInputs readRunInputs(std::string_view countText, std::string_view sizeText);

}  // namespace pestrolik
