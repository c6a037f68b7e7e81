#include "generation/picture_params.h"

#include "generation/whole_part.h"

#include <sstream>
#include <vector>

namespace pestrolik {

void chooseParameters(PictureParams& params, Clock& clock, RandomSource& random) {
    double t = clock.secondsSinceMidnight();
    int digits[4];
    for (int& digit : digits) {
        digit = wholePart(t) - wholePart(t / 10) * 10;
        t = t * 10;
    }
    params.twistDigit = digits[0];    // units of the seconds
    params.lobeDigit = digits[1];     // tenths
    params.spacingDigit = digits[2];  // hundredths
    params.turnDigit = digits[3];     // thousandths

    random.reseedFromClock();
    params.redExponent = wholePart(random.uniform() * 4);
    params.greenExponent = wholePart(random.uniform() * 4);
    params.blueExponent = wholePart(random.uniform() * 4);
    params.backDepth = wholePart(random.uniform() * 59);
    params.backWaves = wholePart(random.uniform() * 3);
}

std::string paramsCode(const PictureParams& p) {
    std::ostringstream code;
    code << p.twistDigit << ',' << p.lobeDigit << ',' << p.spacingDigit << ',' << p.turnDigit << ','
         << p.redExponent << ',' << p.greenExponent << ',' << p.blueExponent << ',' << p.backDepth << ','
         << p.backWaves << ',' << static_cast<long long>(p.refSize);
    return code.str();
}

std::optional<PictureParams> parseParamsCode(const std::string& code) {
    struct Field {
        int* target;
        int lowest, highest;
    };
    PictureParams p;
    int refSize = 0;
    const Field fields[] = {
        {&p.twistDigit, 0, 9},    {&p.lobeDigit, 0, 9},     {&p.spacingDigit, 0, 9},
        {&p.turnDigit, 0, 9},     {&p.redExponent, 0, 3},   {&p.greenExponent, 0, 3},
        {&p.blueExponent, 0, 3},  {&p.backDepth, 0, 58},    {&p.backWaves, 0, 2},
        {&refSize, 10, 1000},
    };

    std::vector<std::string> items;
    std::string item;
    std::istringstream in(code);
    while (std::getline(in, item, ',')) items.push_back(item);
    if (items.size() != std::size(fields) || (!code.empty() && code.back() == ',')) return std::nullopt;

    for (size_t i = 0; i < items.size(); ++i) {
        const std::string& text = items[i];
        if (text.empty() || text.size() > 4) return std::nullopt;
        int value = 0;
        for (char c : text) {
            if (c < '0' || c > '9') return std::nullopt;
            value = value * 10 + (c - '0');
        }
        if (value < fields[i].lowest || value > fields[i].highest) return std::nullopt;
        *fields[i].target = value;
    }
    p.refSize = refSize;
    return p;
}

}  // namespace pestrolik
