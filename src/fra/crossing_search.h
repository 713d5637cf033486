// Where a measured response crosses 0 dB or 0 degrees: the one search behind
// the FRA view's margin messages and the graph window's margin marks.
//
// A segment j runs from point j to point j + 1. It holds a crossing when the
// searched quantity goes from a >= 0 to b < 0, or from a <= 0 to b > 0: a
// point lying exactly on 0 counts once, in the segment that leaves it towards
// the other sign, and two consecutive exact zeros hold none. The crossing is
// interpolated linearly in frequency (not in log frequency), and the other
// quantity (the phase of a 0 dB crossing, the gain of a 0 degree crossing)
// linearly at the crossing frequency. Two points of equal frequency give a
// non-finite value, which is kept as it is.
#pragma once

#include <vector>

enum class crossing_kind {
    zero_db,     // the gain through 0 dB; the phase is interpolated
    zero_phase,  // the phase through 0 degrees; the gain is interpolated
};

// One end of a segment: the frequency, the searched quantity and the other.
struct s_segment_end {
    double frequency;
    double value;
    double other;
};

struct s_crossing {
    int segment;       // j: between points j and j + 1
    double frequency;  // Hz, where the searched quantity is 0
    double other;      // the other quantity there
};

// What a search without crossings reports: "No gain 0dB point found" or
// "No 0 Phase point found".
const char* no_crossing_text(crossing_kind kind);

// The crossing of one segment, when it holds one; the segment number of the
// result is left to the caller.
bool segment_crossing(const s_segment_end& start, const s_segment_end& end, s_crossing& found);

// Every crossing of count points (fields frequency, gain and phase), in
// ascending segment order. Fewer than two points hold no segment.
template <typename Point>
std::vector<s_crossing> find_crossings(const Point* points, int count, crossing_kind kind)
{
    const bool on_gain = kind == crossing_kind::zero_db;
    std::vector<s_crossing> found;
    for (int j = 0; j + 1 < count; ++j) {
        const Point& a = points[j];
        const Point& b = points[j + 1];
        s_crossing crossing{j, 0, 0};
        if (segment_crossing({a.frequency, on_gain ? a.gain : a.phase, on_gain ? a.phase : a.gain},
                             {b.frequency, on_gain ? b.gain : b.phase, on_gain ? b.phase : b.gain}, crossing)) {
            found.push_back(crossing);
        }
    }
    return found;
}
