#include "realtime_sweep_run.h"

#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "fra/command_queue.h"
#include "fra/fra_realtime.h"
#include "fra/fra_sweep_worker.h"
#include "fra/sweep_data_file.h"
#include "fra/sweep_list_columns.h"
#include "fra/sweep_rows.h"
#include "impedance/lcr_realtime.h"
#include "interrupt_scope.h"
#include "tab_line.h"

namespace {

constexpr int QUEUE_WAIT_MS = 100;  // how often Ctrl+C is looked at

// Answers the point workers as the view does until the sweep stops running;
// Ctrl+C is the view's cancel. on_point is told of each point taken.
realtime_phase drive(realtime_sweep& sweep, command_queue& queue, const std::function<void()>& on_point)
{
    const interrupt_scope ctrl_c;
    activity_state() = 1;
    sweep.control(REALTIME_START);
    while (sweep.phase() == realtime_phase::running) {
        if (interrupt_scope::interrupted()) {
            sweep.control(REALTIME_CANCEL);
            break;
        }
        const std::optional<s_posted_command> posted = queue.take(QUEUE_WAIT_MS);
        if (posted && posted->command == REALTIME_POINT_COMMAND && sweep.point_arrived()) {
            on_point();
        }
    }
    activity_state() = 0;
    return sweep.phase();
}

// What one kind of real-time sweep prints and writes: its column titles, the
// row of point i (from 1) and its sweep data file.
struct realtime_output {
    std::function<std::vector<std::string>()> titles;
    std::function<std::string(int)> row;
    std::function<bool(const std::string&)> write_file;
};

// Runs the sweep, printing each point as it arrives unless FILE is named, then
// writes FILE. CLI_OK when every point came and FILE (if any) was written.
int run_realtime(const cli_context& context, realtime_sweep& realtime, command_queue& view,
                 const std::function<int()>& shown_points, const realtime_output& output,
                 const std::string& out)
{
    const realtime_phase phase = drive(realtime, view, [&] {
        if (!out.empty()) {
            return;
        }
        const int points = shown_points();
        if (points == 1) {
            print_tab_line(context.out, output.titles());
        }
        std::fprintf(context.out, "%s\n", output.row(points).c_str());
        std::fflush(context.out);
    });
    if (phase != realtime_phase::finished) {
        std::fprintf(context.err, "%s\n", phase == realtime_phase::cancelled ? "The sweep was cancelled"
                                                                               : "The sweep did not start");
        return CLI_FAILED;
    }
    if (!out.empty() && !output.write_file(out)) {
        std::fprintf(context.err, "Unable to write the sweep data file %s\n", out.c_str());
        return CLI_FAILED;
    }
    return CLI_OK;
}

}  // namespace

int run_fra_realtime(cli_context& context, const s_sweep_context& sweep, const s_sweep_request& request,
                     s_sweep_job& job, const std::string& out)
{
    command_queue view;
    job.view = &view;
    realtime_output_on(sweep);
    fra_realtime_sweep realtime(job, sweep, request);
    s_fra_sweep& shown = realtime.shown();
    const realtime_output output{
        [] { return fra_list_column_titles(false); },
        [&](int number) { return fra_sweep_row(number, shown.point[number - 1], false); },
        [&](const std::string& file) { return write_fra_sweep_file(file, shown); },
    };
    const int result = run_realtime(context, realtime, view, [&] { return shown.points; }, output, out);
    if (result != CLI_OK) {
        return result;
    }
    return !job.save_to_database || fra_save_worker(job, sweep.progress) ? CLI_OK : CLI_FAILED;
}

int run_lcr_realtime(cli_context& context, const s_sweep_context& sweep, const s_sweep_request& request,
                     s_lcr_sweep_job& job, const std::string& out)
{
    command_queue view;
    job.view = &view;
    realtime_output_on(sweep);
    lcr_realtime_sweep realtime(job, sweep, request);
    s_lcr_sweep& shown = realtime.shown();
    const realtime_output output{
        [&] { return lcr_list_column_titles(realtime.shown_layout()); },
        [&](int number) { return lcr_sweep_row(number, shown.point[number - 1], realtime.shown_layout()); },
        [&](const std::string& file) { return write_lcr_sweep_file(file, shown, realtime.shown_layout()); },
    };
    return run_realtime(context, realtime, view, [&] { return shown.points; }, output, out);
}
