#include "export/sweep_text_export.h"

#include <algorithm>
#include <atomic>

#include "db/db_records.h"
#include "export/export_columns.h"
#include "export/export_preamble.h"
#include "fra/lcr_layout.h"

namespace {

// Appends the rows: row i is its step number and the cells values(i, k) for
// k = 0 .. columns - 1, rows joined by CR LF.
template <typename Cell>
void append_rows(std::string& text, int rows, int columns, const s_export_punctuation& punctuation,
                 bool apostrophe, Cell&& cell)
{
    for (int i = 0; i < rows; ++i) {
        if (i > 0) {
            text += "\r\n";
        }
        text += export_step_text(i + 1, punctuation);
        for (int k = 0; k < columns; ++k) {
            text += '\t';
            if (apostrophe) {
                text += '\'';
            }
            text += export_cell_text(cell(i, k), punctuation);
        }
    }
}

std::string opening(const std::string& preamble, const char* header)
{
    return preamble + EXPORT_DATA_START + header + "\r\n";
}

int held(int points)
{
    return std::clamp(points, 0, SWEEP_MAX_POINTS);
}

}  // namespace

int fra_export_points(const s_fra_sweep& sweep)
{
    return held(sweep.points);
}

int lcr_export_points(const s_lcr_sweep& sweep)
{
    return held(sweep.points);
}

std::string fra_sweep_export_text(const s_fra_sweep& sweep, const std::string& preamble,
                                  const s_export_format& format)
{
    const bool three = sweep.is_type9 != 0 && sweep.channels == 3;
    std::string text = opening(preamble, fra_export_header(three));
    append_rows(text, fra_export_points(sweep), fra_export_values(three), format.punctuation, format.apostrophe,
                [&](int i, int k) { return sweep.point[i].*fra_result_fields[k]; });
    return text;
}

std::string lcr_sweep_export_text(const s_lcr_sweep& sweep, int layout, bool eis, const std::string& preamble,
                                  const s_export_format& format)
{
    const int values = lcr_values_for_layout(layout);
    std::string text = opening(preamble, lcr_export_header(layout, eis));
    append_rows(text, lcr_export_points(sweep), values + (eis ? 2 : 0), format.punctuation, format.apostrophe,
                [&](int i, int k) {
                    const s_lcr_result& point = sweep.point[i];
                    if (k < values) {
                        return point.value[k];
                    }
                    const s_nyquist_pair pair = lcr_nyquist_pair(point, layout);
                    return k == values ? pair.real : pair.imaginary;
                });
    return text;
}

std::string test_export_text(const s_db_test& test, const s_export_punctuation& punctuation)
{
    // The count may be raised by a thread gathering points meanwhile.
    const std::int32_t count = std::atomic_ref<std::int32_t>(const_cast<std::int32_t&>(test.count)).load();
    const int rows = test.points == nullptr ? 0 : std::clamp<int>(count, 0, test.capacity);
    std::string text = std::string(TEST_EXPORT_HEADER) + "\r\n";
    append_rows(text, rows, 3, punctuation, false, [&](int i, int k) {
        const s_db_point& point = test.points[static_cast<std::size_t>(i)];
        return k == 0 ? point.frequency : k == 1 ? point.amplitude : point.phase;
    });
    return text;
}
