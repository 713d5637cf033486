#include "graph/exponent_text.h"

#include "graph/bounded_text.h"
#include "graph/non_finite_text.h"

#include <cmath>
#include <cstdio>

namespace {

constexpr int default_precision = 6;
// More digits than any double has; keeps a wild precision from asking for
// gigabytes.
constexpr int largest_precision = 1000;
constexpr std::size_t exponent_digits = 3;

std::string runtime_exp_text(double value, int precision, bool upper)
{
    char buffer[64];
    const int length = upper ? std::snprintf(buffer, sizeof buffer, "%.*E", precision, value)
                             : std::snprintf(buffer, sizeof buffer, "%.*e", precision, value);
    if (length < 0) {
        return {};
    }
    if (static_cast<std::size_t>(length) < sizeof buffer) {
        return std::string(buffer, static_cast<std::size_t>(length));
    }
    std::string text(static_cast<std::size_t>(length), '\0');
    if (upper) {
        std::snprintf(text.data(), text.size() + 1, "%.*E", precision, value);
    } else {
        std::snprintf(text.data(), text.size() + 1, "%.*e", precision, value);
    }
    return text;
}

// The runtimes write two exponent digits where the value allows; pad the
// exponent (after its sign) with zeros to three.
void widen_exponent(std::string& text, bool upper)
{
    const std::size_t mark = text.rfind(upper ? 'E' : 'e');
    if (mark == std::string::npos || mark + 2 > text.size()) {
        return;
    }
    const std::size_t digits_start = mark + 2;  // past the exponent's sign
    const std::size_t digits = text.size() - digits_start;
    if (digits < exponent_digits) {
        text.insert(digits_start, exponent_digits - digits, '0');
    }
}

}  // namespace

std::string exp_text(double value, int precision, bool upper)
{
    if (!std::isfinite(value)) {
        return non_finite_text(value, upper);
    }
    if (precision < 0) {
        precision = default_precision;
    } else if (precision > largest_precision) {
        precision = largest_precision;
    }
    std::string text = runtime_exp_text(value, precision, upper);
    widen_exponent(text, upper);
    return text;
}

int format_exp_text(char* out, std::size_t size, double value, int precision, bool upper)
{
    const std::string text = exp_text(value, precision, upper);
    copy_bounded(out, size, text, text.size());
    return static_cast<int>(text.size());
}

std::string general_number_text(double value, int significant)
{
    if (!std::isfinite(value)) {
        return non_finite_text(value, false);
    }
    if (significant < 1) {
        significant = 1;
    } else if (significant > largest_precision) {
        significant = largest_precision;
    }
    char buffer[1100];
    const int length = std::snprintf(buffer, sizeof buffer, "%.*g", significant, value);
    std::string text(buffer, length > 0 ? static_cast<std::size_t>(length) : 0);
    widen_exponent(text, false);
    return text;
}
