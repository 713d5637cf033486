// Reading numbers typed by the user or stored in settings files: digits with
// "." or "," as decimal mark, suffix letters that scale the digits before them
// ("1.5k", "10m", "4k7"), and an exponent after "E" or "e".
#include "graph/number_format.h"

#include "graph/decimal_scale.h"

#include <cmath>
#include <string_view>

namespace {

// Suffix letters and the power of ten they scale by. Case matters where only
// one case is listed (M mega and m milli, D ten and d tenth, P peta and p
// pico); E and e mark the exponent instead.
struct suffix_letter {
    char letter;
    int power;
};
constexpr suffix_letter suffix_letters[] = {
    {'P', 15}, {'T', 12},  {'t', 12},  {'G', 9},   {'g', 9},   {'M', 6},   {'K', 3},
    {'k', 3},  {'H', 2},   {'h', 2},   {'D', 1},   {'d', -1},  {'C', -2},  {'c', -2},
    {'m', -3}, {'U', -6},  {'u', -6},  {'N', -9},  {'n', -9},  {'p', -12}, {'F', -15},
    {'f', -15},
};

const suffix_letter* find_suffix(char c)
{
    for (const suffix_letter& suffix : suffix_letters) {
        if (suffix.letter == c) {
            return &suffix;
        }
    }
    return nullptr;
}

// Where the digits being read stand: before or after the decimal mark of the
// current group, and how many decimals have been read. It restarts after
// every letter or stray character, also inside the exponent.
struct mark_state {
    bool after_mark = false;
    int decimals = 0;
};

// Integer digits shift the value up; the n-th decimal adds digit / 10^n.
void add_digit(double& value, mark_state& mark, int digit)
{
    if (mark.after_mark) {
        ++mark.decimals;
        value += scale_by_power_of_ten(digit, -mark.decimals);
    } else {
        value = value * 10 + digit;
    }
}

// An exponent this large already turns every non-zero value into infinity
// or zero.
constexpr double widest_exponent = 1000;

// total * 10^exponent, dividing for negative exponents. Whole exponents use
// exact powers of ten; a fractional one (rare, "1E1.5") goes through pow.
double apply_exponent(double total, double exponent)
{
    if (std::fabs(exponent) >= widest_exponent) {
        exponent = exponent < 0 ? -widest_exponent : widest_exponent;
    }
    if (exponent == std::trunc(exponent)) {
        return scale_by_power_of_ten(total, static_cast<int>(exponent));
    }
    const double power = std::pow(10.0, std::fabs(exponent));
    return exponent < 0 ? total / power : total * power;
}

}  // namespace

double parse_eng(const char* text, bool* valid)
{
    if (valid != nullptr) {
        *valid = true;
    }
    if (text == nullptr || *text == '\0') {
        if (valid != nullptr) {
            *valid = false;
        }
        return 0;
    }

    double total = 0;
    double group = 0;
    double exponent = 0;
    mark_state mark;
    bool in_exponent = false;
    bool negative = false;
    bool negative_exponent = false;

    for (const char* p = text; *p != '\0'; ++p) {
        const char c = *p;
        if (c >= '0' && c <= '9') {
            add_digit(in_exponent ? exponent : group, mark, c - '0');
            continue;
        }
        if (c == '.' || c == ',') {
            if (mark.after_mark && valid != nullptr) {
                *valid = false;
            }
            mark.after_mark = true;
            continue;
        }
        if (c == '-') {
            (in_exponent ? negative_exponent : negative) = true;
            continue;
        }
        if (c == 'E' || c == 'e') {
            total += group;
            in_exponent = true;
            if (p[1] == '+') {
                ++p;
            }
        } else if (const suffix_letter* suffix = find_suffix(c)) {
            total += scale_by_power_of_ten(group, suffix->power);
        } else if (valid != nullptr) {
            *valid = false;  // and the digits before the stray character are dropped
        } else {
            total += group;
        }
        group = 0;
        mark = mark_state{};
    }

    const double magnitude = total + group;
    const double signed_value = negative ? -magnitude : magnitude;
    return apply_exponent(signed_value, negative_exponent ? -exponent : exponent);
}
