// The records every sweep ends up in: one FRA or LCR point, and the fixed-size
// sweep blocks (a short header and up to 2000 points) that a sweep's worker,
// the views, the analyses and the exports share.
//
// The blocks are plain data: they are copied whole between a worker and the
// view that shows it and zeroed whole to clear a view, so they must stay
// trivially copyable. A block is large (about 160 KB for FRA, 208 KB for LCR):
// allocate it (make_fra_sweep / make_lcr_sweep), never put one on a thread's
// stack.
#pragma once

#include <cstdint>
#include <memory>
#include <type_traits>

inline constexpr int SWEEP_MAX_POINTS = 2000;
inline constexpr int SWEEP_MIN_POINTS = 2;

// One FRA point, in the order of the values in the instrument's reply line:
// a reply value lands in the field of the same position (fra_result_fields).
// Fields 6 to 9 are filled only by three-channel sweeps.
struct s_fra_result {
    double frequency;   // Hz
    double magnitude1;  // V, input channel 1 amplitude
    double magnitude2;  // V
    double gain;        // dB
    double phase;       // degrees, in the instrument's phase convention
    double delay;       // s
    double magnitude3;  // V
    double gain2;       // dB
    double phase2;      // degrees
    double delay2;      // s
};

inline constexpr int FRA_RESULT_VALUES = 10;
// Field of each reply position, 0 first.
inline constexpr double s_fra_result::*fra_result_fields[FRA_RESULT_VALUES] = {
    &s_fra_result::frequency, &s_fra_result::magnitude1, &s_fra_result::magnitude2,
    &s_fra_result::gain,      &s_fra_result::phase,      &s_fra_result::delay,
    &s_fra_result::magnitude3, &s_fra_result::gain2,     &s_fra_result::phase2,
    &s_fra_result::delay2,
};

// One LCR point: what the values mean depends on the LCR result layout code
// (lcr_layout.h). Values beyond the layout's count are 0.
inline constexpr int LCR_RESULT_VALUES = 13;
struct s_lcr_result {
    double value[LCR_RESULT_VALUES];
};

// A calendar time record of nine 32-bit ints, as the C library's broken-down
// time: month 0 to 11, years since 1900. For a sweep's `taken` it holds UTC
// and the last three fields are always 0.
struct s_calendar_time {
    std::int32_t second;
    std::int32_t minute;
    std::int32_t hour;
    std::int32_t day_of_month;
    std::int32_t month_index;       // month - 1
    std::int32_t years_since_1900;  // year - 1900
    std::int32_t weekday;           // always 0 in `taken`
    std::int32_t day_of_year;       // always 0 in `taken`
    std::int32_t daylight;          // always 0 in `taken`
};

// Phase conventions (parameter 6): 0 "-180° to 180°", 1 "0° to -360°",
// 2 "0° to +360°".
inline constexpr int PHASE_CONVENTION_COUNT = 3;

struct s_fra_sweep {
    std::int32_t is_type9;  // 1 when the instrument was of type 9 at sweep start
    std::int32_t channels;  // 2, or 3 for a third-channel sweep of a type-9 HVXCM
    s_calendar_time taken;  // when the sweep was stored (UTC)
    std::int32_t points;    // number of points, 2 to SWEEP_MAX_POINTS
    std::int32_t phase_convention;
    s_fra_result point[SWEEP_MAX_POINTS];
};

struct s_lcr_sweep {
    s_calendar_time taken;
    std::int32_t points;
    std::int32_t phase_convention;
    s_lcr_result point[SWEEP_MAX_POINTS];
};

static_assert(std::is_trivially_copyable_v<s_fra_result> && std::is_standard_layout_v<s_fra_result>);
static_assert(std::is_trivially_copyable_v<s_lcr_result> && std::is_standard_layout_v<s_lcr_result>);
static_assert(std::is_trivially_copyable_v<s_fra_sweep> && std::is_standard_layout_v<s_fra_sweep>);
static_assert(std::is_trivially_copyable_v<s_lcr_sweep> && std::is_standard_layout_v<s_lcr_sweep>);
static_assert(sizeof(s_calendar_time) == 9 * sizeof(std::int32_t));
static_assert(sizeof(s_fra_result) == FRA_RESULT_VALUES * sizeof(double));

// A zeroed block on the heap.
std::unique_ptr<s_fra_sweep> make_fra_sweep();
std::unique_ptr<s_lcr_sweep> make_lcr_sweep();

// The one test of a three-channel block, made from the block's own header so
// that a stored block keeps its shape whatever instrument is connected later.
bool fra_sweep_is_three_channel(const s_fra_sweep& block);

// Fills is_type9 and channels at sweep start: three channels only for a type-9
// instrument of sub-model 3 whose third-channel measurement (parameter 84) is on.
void set_fra_sweep_channels(s_fra_sweep& block, int instrument_type, int sub_model, bool third_channel_on);

// The phase convention to store: a value outside 0 to 2 is stored as 0.
int stored_phase_convention(int value);

// True when a step count fits a block (SWEEP_MIN_POINTS to SWEEP_MAX_POINTS).
bool sweep_point_count_fits(int points);

// The points a block holds that may be read: its count held to 0 to
// SWEEP_MAX_POINTS, so a damaged header never sends a reader past the block.
int fra_sweep_held_points(const s_fra_sweep& block);
