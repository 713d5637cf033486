// The cells of the text exports: numbers in scientific form with five
// digits after the decimal mark and a three-digit exponent (1.00000e+003),
// and step numbers grouped by thousands, both with the punctuation of the
// number format the user chose.
#pragma once

#include <locale>
#include <string>

#include "app/number_conventions.h"

// The number format's punctuation: decimal mark, thousands separator and
// grouping (as std::numpunct::grouping: sizes from the right, the last
// repeating; "" for none).
using s_export_punctuation = s_number_punctuation;

// The number punctuation of a locale (its numpunct facet).
s_export_punctuation export_punctuation_of(const std::locale& locale);

// How an export writes its cells.
struct s_export_format {
    s_export_punctuation punctuation;
    bool apostrophe = false;  // each cell after the step number begins with "'" (Custom, single sweeps)
};

// value as "%.5e" with a three-digit exponent, the full stop replaced by the
// decimal mark: 1000 is "1.00000e+003" or "1,00000e+003". Values that are
// not finite read "inf", "-inf" or "nan".
std::string export_cell_text(double value, const s_export_punctuation& punctuation);

// A whole number with the thousands separator placed by the grouping:
// 1234567 is "1,234,567" with grouping "\3".
std::string export_step_text(long long step, const s_export_punctuation& punctuation);
