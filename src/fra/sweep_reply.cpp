#include "fra/sweep_reply.h"

#include "fra/lcr_layout.h"
#include "graph/number_format.h"
#include "link/connection.h"

namespace {

constexpr int type8_instrument = 8;
constexpr int type9_instrument = 9;
constexpr int type8_values = 5;
constexpr int two_channel_values = 6;
constexpr int three_channel_values = FRA_RESULT_VALUES;

bool fra_expected_fits(int expected)
{
    return expected >= 1 && expected <= FRA_RESULT_VALUES;
}

void fill_fra_point(const double (&values)[FRA_RESULT_VALUES], s_fra_result& point)
{
    for (int i = 0; i < FRA_RESULT_VALUES; ++i) {
        point.*fra_result_fields[i] = values[i];
    }
}

}  // namespace

int fra_sweep_line_values(int instrument_type, bool third_channel_on)
{
    if (instrument_type == type8_instrument) {
        return type8_values;
    }
    if (instrument_type == type9_instrument && third_channel_on) {
        return three_channel_values;
    }
    return two_channel_values;
}

bool fra_reading_count_accepted(int instrument_type, bool third_channel_on, int count)
{
    const bool three_channel = instrument_type == type9_instrument && third_channel_on;
    if (count == (three_channel ? three_channel_values : two_channel_values)) {
        return true;
    }
    return instrument_type == type8_instrument && count == type8_values;
}

bool fra_point_from_line(const char* line, std::size_t length, int expected, s_fra_result& point)
{
    double values[FRA_RESULT_VALUES] = {};
    const int count = fra_expected_fits(expected) ? parse_value_list_strict(line, length, values, expected) : 0;
    fill_fra_point(values, point);
    return fra_expected_fits(expected) && count == expected;
}

bool lcr_point_from_line(const char* line, std::size_t length, int layout, s_lcr_result& point)
{
    point = s_lcr_result{};
    const int expected = lcr_values_for_layout(layout);
    return parse_value_list_strict(line, length, point.value, expected) == expected;
}

bool read_fra_point(s_connection* conn, int expected, s_fra_result& point)
{
    double values[FRA_RESULT_VALUES] = {};
    const int count = fra_expected_fits(expected) ? link_read_values(conn, values, expected, true) : 0;
    fill_fra_point(values, point);
    return fra_expected_fits(expected) && count == expected;
}

bool read_lcr_point(s_connection* conn, int layout, s_lcr_result& point)
{
    point = s_lcr_result{};
    const int expected = lcr_values_for_layout(layout);
    return link_read_values(conn, point.value, expected, true) == expected;
}
