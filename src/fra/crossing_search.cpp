#include "fra/crossing_search.h"

const char* no_crossing_text(crossing_kind kind)
{
    return kind == crossing_kind::zero_db ? "No gain 0dB point found" : "No 0 Phase point found";
}

bool segment_crossing(const s_segment_end& start, const s_segment_end& end, s_crossing& found)
{
    const double a = start.value;
    const double b = end.value;
    if (!((a >= 0 && b < 0) || (a <= 0 && b > 0))) {
        return false;
    }
    // The operations in this order, so that equal frequencies give the
    // non-finite values they give.
    const double slope = (a - b) / (start.frequency - end.frequency);
    found.frequency = start.frequency - a / slope;
    found.other = (found.frequency - start.frequency) * (start.other - end.other) /
                      (start.frequency - end.frequency) +
                  start.other;
    return true;
}
