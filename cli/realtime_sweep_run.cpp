#include "realtime_sweep_run.h"

#include <cstdio>
#include <functional>
#include <optional>

#include "fra/command_queue.h"
#include "fra/fra_realtime.h"
#include "fra/fra_sweep_worker.h"
#include "fra/sweep_data_file.h"
#include "fra/sweep_list_columns.h"
#include "fra/sweep_rows.h"
#include "impedance/lcr_realtime.h"
#include "interrupt_scope.h"

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

void print_titles(const cli_context& context, const std::vector<std::string>& titles)
{
    std::string line;
    for (const std::string& title : titles) {
        line += (line.empty() ? "" : "\t") + title;
    }
    std::fprintf(context.out, "%s\n", line.c_str());
}

// Why a real-time sweep ended without all its points.
int tell_unfinished(const cli_context& context, realtime_phase phase)
{
    std::fprintf(context.err, "%s\n", phase == realtime_phase::cancelled ? "The sweep was cancelled"
                                                                           : "The sweep did not start");
    return CLI_FAILED;
}

}  // namespace

int run_fra_realtime(cli_context& context, const s_sweep_context& sweep, const s_sweep_request& request,
                     s_sweep_job& job, const std::string& out)
{
    command_queue view;
    job.view = &view;
    realtime_output_on(sweep);
    fra_realtime_sweep realtime(job, sweep, request);
    const realtime_phase phase = drive(realtime, view, [&] {
        const s_fra_sweep& shown = realtime.shown();
        if (!out.empty()) {
            return;
        }
        if (shown.points == 1) {
            print_titles(context, fra_list_column_titles(false));
        }
        std::fprintf(context.out, "%s\n", fra_sweep_row(shown.points, shown.point[shown.points - 1], false).c_str());
        std::fflush(context.out);
    });
    if (phase != realtime_phase::finished) {
        return tell_unfinished(context, phase);
    }
    if (!out.empty() && !write_fra_sweep_file(out, realtime.shown())) {
        std::fprintf(context.err, "Unable to write the sweep data file %s\n", out.c_str());
        return CLI_FAILED;
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
    const realtime_phase phase = drive(realtime, view, [&] {
        const s_lcr_sweep& shown = realtime.shown();
        if (!out.empty()) {
            return;
        }
        if (shown.points == 1) {
            print_titles(context, lcr_list_column_titles(realtime.shown_layout()));
        }
        std::fprintf(context.out, "%s\n",
                     lcr_sweep_row(shown.points, shown.point[shown.points - 1], realtime.shown_layout()).c_str());
        std::fflush(context.out);
    });
    if (phase != realtime_phase::finished) {
        return tell_unfinished(context, phase);
    }
    if (!out.empty() && !write_lcr_sweep_file(out, realtime.shown(), realtime.shown_layout())) {
        std::fprintf(context.err, "Unable to write the sweep data file %s\n", out.c_str());
        return CLI_FAILED;
    }
    return CLI_OK;
}
