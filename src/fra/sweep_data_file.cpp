#include "fra/sweep_data_file.h"

#include <algorithm>

#include "app/path_text.h"
#include "app/settings.h"
#include "app/text_file.h"
#include "fra/sweep_rows.h"
#include "fra/sweep_time_stamp.h"

namespace {

// The points a block really holds, whatever its count says.
int stored_points(int points)
{
    return std::clamp(points, 0, SWEEP_MAX_POINTS);
}

template <typename Block, typename RowOf>
std::string file_text(const Block& block, RowOf row_of)
{
    std::string text = sweep_time_stamp(block.taken);
    const int points = stored_points(block.points);
    for (int i = 0; i < points; ++i) {
        text += '\n';
        text += row_of(i + 1, block.point[i]);
    }
    return text;
}

}  // namespace

std::string sweep_file_path(const std::string& folder, int sweep_number)
{
    return path_join(folder, "sweep" + std::to_string(sweep_number) + ".dat");
}

std::string sweep_file_path(int sweep_number)
{
    return sweep_file_path(settings_folder(), sweep_number);
}

std::string fra_sweep_file_text(const s_fra_sweep& block)
{
    const bool three_channel = fra_sweep_is_three_channel(block);
    return file_text(block, [three_channel](int index, const s_fra_result& point) {
        return fra_sweep_row(index, point, three_channel);
    });
}

std::string lcr_sweep_file_text(const s_lcr_sweep& block, int layout)
{
    return file_text(block, [layout](int index, const s_lcr_result& point) {
        return lcr_sweep_row(index, point, layout);
    });
}

bool write_fra_sweep_file(const std::string& path, s_fra_sweep& block, const s_utc_time& now)
{
    block.taken = calendar_time_from_utc(now);
    return write_text_file(path, fra_sweep_file_text(block));
}

bool write_lcr_sweep_file(const std::string& path, s_lcr_sweep& block, int layout, const s_utc_time& now)
{
    block.taken = calendar_time_from_utc(now);
    return write_text_file(path, lcr_sweep_file_text(block, layout));
}

bool add_realtime_sweep_row(const std::string& path, const std::string& row, bool first_point,
                            s_calendar_time& taken, const s_utc_time& now)
{
    if (first_point) {
        taken = calendar_time_from_utc(now);
        return write_text_file(path, sweep_time_stamp(taken) + "\n" + row);
    }
    return append_text_file(path, "\n" + row);
}

bool write_fra_sweep_file(const std::string& path, s_fra_sweep& block)
{
    return write_fra_sweep_file(path, block, system_utc_now());
}

bool write_lcr_sweep_file(const std::string& path, s_lcr_sweep& block, int layout)
{
    return write_lcr_sweep_file(path, block, layout, system_utc_now());
}

bool add_realtime_sweep_row(const std::string& path, const std::string& row, bool first_point,
                            s_calendar_time& taken)
{
    return add_realtime_sweep_row(path, row, first_point, taken, system_utc_now());
}
