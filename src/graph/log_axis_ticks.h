// Where a logarithmic axis has its grid lines and labels.
//
// A range of at least one whole decade has a line at every k x 10^d
// (k = 1 to 9) inside it: the decades (k = 1) are major lines and labelled,
// the others minor lines. A range of less than a decade has up to 10
// multiples of its minimum's decade strictly inside it, each a labelled
// line; when none falls inside, its two ends are labelled without lines.
//
// Decades are found with floor(log10(v) + 1e-13) and every value is made
// afresh as k x 10^d (never by adding steps, which drifts off the decades),
// and no more than LOG_AXIS_MOST_DECADES decades are walked, so any range
// gives a short list.
#pragma once

#include <vector>

inline constexpr int LOG_AXIS_MOST_DECADES = 40;

enum class log_tick_kind {
    decade,      // k = 1 on a range of a decade or more: a major line
    sub_decade,  // k = 2 to 9: a minor line
    multiple,    // one of the multiples on a range of less than a decade
    end_label,   // an end of a range of less than a decade with no multiple inside
};

struct s_log_tick {
    double value;
    log_tick_kind kind;
    bool labelled;
};

// The ticks between low and high (either order), from the smaller end up.
// Nothing for ends that are not finite or not above 0.
std::vector<s_log_tick> log_axis_ticks(double low, double high);

// floor(log10(v) + 1e-13): the decade exponent of a positive value, with a
// value that log10 puts a hair below a power of ten counted in that decade.
int log_decade_of(double value);
