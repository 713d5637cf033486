// The number texts the program shows: five-digit engineering read-outs,
// resistor-code frequency labels, fixed SI texts for settings files and range
// messages, and compact exponent forms. Always a full stop as decimal mark.
#include "graph/number_format.h"

#include "graph/bounded_text.h"
#include "graph/decimal_scale.h"
#include "graph/exponent_text.h"
#include "graph/non_finite_text.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string_view>

namespace {

// format_eng: prefixes of the powers 10^-12 to 10^9, indexed by (k + 12) / 3.
constexpr const char* eng_prefixes[] = {"p", "n", "u", "m", "", "k", "M", "G"};
constexpr int smallest_prefixed_power = -12;
constexpr int largest_prefixed_power = 9;
constexpr std::string_view label_markers = "pnumkMG";

// format_si_fixed: tested from the top; the first threshold the value reaches
// divides it and gives the letter.
struct si_step {
    double threshold;
    const char* letter;
};
constexpr si_step si_steps[] = {
    {1e24, "Y"},  {1e21, "Z"},  {1e18, "E"},  {1e15, "P"},  {1e12, "T"},
    {1e9, "G"},   {1e6, "M"},   {1e3, "k"},   {1.0, ""},    {1e-3, "m"},
    {1e-6, "u"},  {1e-9, "n"},  {1e-12, "p"}, {1e-15, "f"}, {1e-18, "a"},
    {1e-21, "z"}, {1e-24, "y"},
};

// floor(log10(magnitude)) for a finite positive magnitude, settled against
// exact powers of ten: next to a power of ten the runtimes' log10 may land a
// decade apart, and both builds must write the same text.
int decade_of(double magnitude)
{
    int decade = static_cast<int>(std::floor(std::log10(magnitude)));
    if (scale_by_power_of_ten(1.0, decade) > magnitude) {
        --decade;
    } else if (scale_by_power_of_ten(1.0, decade + 1) <= magnitude) {
        ++decade;
    }
    return decade;
}

// The full text of format_eng, before the caller's buffer limit.
void write_eng_text(double value, char* text, std::size_t size)
{
    if (value == 0) {
        std::snprintf(text, size, "0.0000 ");
        return;
    }
    if (!std::isfinite(value)) {
        std::snprintf(text, size, "%s ", non_finite_text(value, false));
        return;
    }
    // A mantissa that rounds up to 1000 at its last decimal stays as it is
    // (999.996 gives "1000.00 "); the axis labels are built on these texts.
    const s_eng_split split = eng_split(std::fabs(value));
    const int decimals = split.mantissa >= 100 ? 2 : split.mantissa >= 10 ? 3 : 4;
    const char* sign = value < 0 ? "-" : "";
    if (const char* prefix = eng_prefix(split.power)) {
        std::snprintf(text, size, "%s%.*f %s", sign, decimals, split.mantissa, prefix);
    } else {
        std::snprintf(text, size, "%s%.*fE%d ", sign, decimals, split.mantissa, split.power);
    }
}

}  // namespace

s_eng_split eng_split(double magnitude)
{
    const int decade = decade_of(magnitude);
    // Down to a multiple of three; at or below 0 the step may land one too
    // low, which the mantissa's test below puts right.
    int power = decade > 0 ? (decade / 3) * 3 : -((3 - decade) / 3) * 3;
    double mantissa = scale_by_power_of_ten(magnitude, -power);
    if (mantissa >= 1000) {
        mantissa /= 1000;
        power += 3;
    }
    return {mantissa, power};
}

const char* eng_prefix(int power)
{
    if (power < smallest_prefixed_power || power > largest_prefixed_power || power % 3 != 0) {
        return nullptr;
    }
    return eng_prefixes[(power - smallest_prefixed_power) / 3];
}

void format_eng(double value, char* out, std::size_t size)
{
    char text[64];
    write_eng_text(value, text, sizeof text);
    // The read-out leaves one place of the caller's buffer unused.
    copy_bounded(out, size, text, size >= 2 ? size - 2 : 0);
}

std::string format_eng_text(double value)
{
    char text[64];
    format_eng(value, text, sizeof text);
    return text;
}

void format_eng_label(long long value, char* out, std::size_t size)
{
    if (out == nullptr || size == 0) {
        return;
    }
    std::memset(out, 0, size);
    format_eng(static_cast<double>(value), out, size);

    const std::size_t length = std::strlen(out);
    char marker = '\0';
    if (length > 0 && label_markers.find(out[length - 1]) != std::string_view::npos) {
        marker = out[length - 1];
    }
    if (char* space = std::strchr(out, ' ')) {
        *space = '\0';
    }
    char* mark = std::strchr(out, '.');
    if (mark == nullptr) {
        return;
    }
    if (marker == '\0') {
        *mark = '\0';
        return;
    }
    // "4.7000" with marker k becomes "4k7": the prefix stands for the mark and
    // the zeros after it go.
    *mark = marker;
    for (char* last = out + std::strlen(out) - 1; last > mark && *last == '0'; --last) {
        *last = '\0';
    }
}

std::string format_si_fixed(double value)
{
    if (value == 0) {
        return "0.000";
    }
    if (!std::isfinite(value)) {
        return non_finite_text(value, false);
    }
    if (value < 0) {
        return "-" + format_si_fixed(-value);
    }
    for (const si_step& step : si_steps) {
        if (value >= step.threshold) {
            // The largest double over 1e24 has 285 integer digits.
            char text[320];
            std::snprintf(text, sizeof text, "%.3f%s", value / step.threshold, step.letter);
            return text;
        }
    }
    return {};
}

void format_exp_compact(char* out, std::size_t size, double value, int precision)
{
    std::string text = exp_text(value, precision, true);
    // 1.23450E+003 -> 1.23450E3, 1.2E-005 -> 1.2E-5, 0.00000E+000 -> 0.00000E0:
    // drop a plus sign and at most two leading zeros of the exponent.
    const std::size_t mark = text.find('E');
    if (mark != std::string::npos) {
        std::size_t digits = mark + 1;
        if (digits < text.size() && text[digits] == '+') {
            text.erase(digits, 1);
        } else if (digits < text.size() && text[digits] == '-') {
            ++digits;
        }
        for (int removed = 0; removed < 2 && digits + 1 < text.size() && text[digits] == '0'; ++removed) {
            text.erase(digits, 1);
        }
    }
    copy_bounded(out, size, text, text.size());
}
