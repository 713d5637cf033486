// The test graph's manual range entry and the impedance graphs' entry limits.
#include "graph/manual_range.h"

#include <algorithm>

#include "graph/autoscale_padding.h"

namespace {

constexpr const char* CAPTION = "Corvexa2";
constexpr const char* INVALID_FREQUENCIES = "Invalid frequency values";
// Shown for the gain range as well: the message is the same for both.
constexpr const char* MAXIMUM_NOT_ABOVE = "The maximum frequency must be greater than the minimum frequency";

constexpr double TEST_FREQUENCY_LIMIT = 4e7;   // Hz
constexpr double TEST_FREQUENCY_SPAN = 0.001;  // Hz, the narrowest span kept
constexpr double TEST_GAIN_LIMIT = 200;        // dB, either side of 0

constexpr s_manual_limit MANUAL_LIMITS[] = {
    {manual_limit_kind::value_axis_linear, -1e9, 1e9},
    {manual_limit_kind::value_axis_log, LOG_AXIS_LOWEST, LOG_AXIS_HIGHEST},
    {manual_limit_kind::horizontal_linear, -1e9, 1e9},
    {manual_limit_kind::horizontal_log, LOG_AXIS_LOWEST, 1e9},
    {manual_limit_kind::fixed_padding, 1, 1e9},
    {manual_limit_kind::percent_padding, 1, 99},
};

}  // namespace

// The order matters: the typed values are compared before they are limited,
// so a range typed wholly above the limit is kept (at the limit, widened)
// rather than refused, and the widening comes last so the span it makes
// survives the limit.
bool enter_test_frequency_range(s_test_graph_state& state, double minimum, double maximum, user_prompt& prompt)
{
    if (!(minimum > 0 && maximum > 0)) {
        prompt.tell(INVALID_FREQUENCIES, CAPTION, prompt_icon::information);
        return false;
    }
    if (!(maximum > minimum)) {
        prompt.tell(MAXIMUM_NOT_ABOVE, CAPTION, prompt_icon::information);
        return false;
    }
    minimum = std::min(minimum, TEST_FREQUENCY_LIMIT);
    maximum = std::min(maximum, TEST_FREQUENCY_LIMIT);
    if (maximum - minimum < TEST_FREQUENCY_SPAN) {
        maximum = minimum + TEST_FREQUENCY_SPAN;
    }
    state.frequency_min = minimum;
    state.frequency_max = maximum;
    return true;
}

// Compared first, then limited, as the frequency range.
bool enter_test_gain_range(s_test_graph_state& state, double minimum, double maximum, user_prompt& prompt)
{
    if (!(maximum > minimum)) {
        prompt.tell(MAXIMUM_NOT_ABOVE, CAPTION, prompt_icon::information);
        return false;
    }
    state.gain_min = std::clamp(minimum, -TEST_GAIN_LIMIT, TEST_GAIN_LIMIT);
    state.gain_max = std::clamp(maximum, -TEST_GAIN_LIMIT, TEST_GAIN_LIMIT);
    return true;
}

const s_manual_limit& manual_limit_of(manual_limit_kind kind)
{
    for (const auto& limit : MANUAL_LIMITS) {
        if (limit.kind == kind) {
            return limit;
        }
    }
    return MANUAL_LIMITS[0];
}

bool within_manual_limit(manual_limit_kind kind, double value)
{
    const s_manual_limit& limit = manual_limit_of(kind);
    return value >= limit.low && value <= limit.high;
}

manual_limit_kind plot_range_limit(const s_graph_settings& settings, int plot)
{
    const bool log = (plot == PLOT_A || plot == PLOT_B) && settings.axis_scale[plot] == AXIS_LOG;
    return log ? manual_limit_kind::value_axis_log : manual_limit_kind::value_axis_linear;
}

manual_limit_kind horizontal_range_limit(const s_graph_settings& settings)
{
    return settings.x_axis_scale == AXIS_LOG ? manual_limit_kind::horizontal_log
                                             : manual_limit_kind::horizontal_linear;
}
