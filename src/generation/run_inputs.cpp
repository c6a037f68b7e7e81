#include "generation/run_inputs.h"

#include <cmath>
#include <cstdlib>
#include <string>

namespace pestrolik {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::optional<double> numberAtStart(std::string_view text) {
    // Blanks count for nothing, even between digits ("1 5" is 15), as the boxes were
    // always read.
    std::string squeezed;
    for (char c : text)
        if (!isBlank(c)) squeezed.push_back(c);

    size_t at = 0;
    auto digitsFrom = [&](size_t from) {
        size_t end = from;
        while (end < squeezed.size() && isDigit(squeezed[end])) ++end;
        return end;
    };
    if (at < squeezed.size() && (squeezed[at] == '+' || squeezed[at] == '-')) ++at;
    size_t end = digitsFrom(at);
    bool anyDigit = end > at;
    if (end < squeezed.size() && squeezed[end] == '.') {
        const size_t fractionEnd = digitsFrom(end + 1);
        anyDigit = anyDigit || fractionEnd > end + 1;
        end = fractionEnd;
    }
    if (!anyDigit) return std::nullopt;
    if (end < squeezed.size() && (squeezed[end] == 'e' || squeezed[end] == 'E' || squeezed[end] == 'd' ||
                                  squeezed[end] == 'D')) {
        size_t exponent = end + 1;
        if (exponent < squeezed.size() && (squeezed[exponent] == '+' || squeezed[exponent] == '-')) ++exponent;
        squeezed[end] = 'e';  // an exponent without digits is left out by strtod itself
        end = digitsFrom(exponent);
    }
    return std::strtod(squeezed.substr(0, end).c_str(), nullptr);
}

double leadingNumber(std::string_view text) { return numberAtStart(text).value_or(0); }

RunInputs readRunInputs(std::string_view countText, std::string_view sizeText) {
    RunInputs inputs;
    // Compared as whole numbers of any size: a count too big for any integer is still "over 100".
    const double count = std::floor(leadingNumber(countText));
    if (count > 100) {
        inputs.problem = InputProblem::CountTooLarge;
        return inputs;
    }
    if (count < 1) {
        inputs.problem = InputProblem::CountTooSmall;
        return inputs;
    }
    inputs.frameCount = static_cast<int>(count);

    const double size = std::floor(leadingNumber(sizeText));
    if (size > 1000) {
        inputs.problem = InputProblem::SizeTooLarge;
        return inputs;
    }
    if (size < 10) {
        inputs.problem = InputProblem::SizeTooSmall;
        return inputs;
    }
    inputs.pictureSize = static_cast<int>(size);
    return inputs;
}

}  // namespace pestrolik
