#include "window/number_text.h"

#include "generation/run_inputs.h"

#include <QLocale>

#include <charconv>
#include <cmath>
#include <limits>

namespace pestrolik {

QString shortestDecimal(float value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return QString::fromLatin1(buffer, result.ptr - buffer);
}

std::optional<float> numberAtStart(const QString& text) {
    const std::optional<double> number = pestrolik::numberAtStart(text.toStdString());
    if (!number) return std::nullopt;
    const double value = *number;
    if (!std::isfinite(value) || std::fabs(value) > std::numeric_limits<float>::max()) return std::nullopt;
    return static_cast<float>(value);
}

std::optional<float> singleNumber(const QString& text) {
    bool ok = false;
    const float value = QLocale::c().toFloat(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::optional<int> wholeNumber(const QString& text) {
    bool ok = false;
    const double value = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value) || value != std::floor(value) || std::fabs(value) > 1e9) return std::nullopt;
    return static_cast<int>(value);
}

}  // namespace pestrolik
