#include "fra/fra_sweep_worker.h"

#include <cstring>

#include <sqlite3.h>

#include "app/progress_reporter.h"
#include "config/instrument_config.h"
#include "db/db_error.h"
#include "db/db_points.h"
#include "db/db_write.h"
#include "fra/sweep_reply.h"
#include "fra/sweep_worker_steps.h"
#include "link/connection.h"

namespace {

constexpr int THIRD_CHANNEL_PARAMETER = 84;
constexpr int FRA_MODE = 1;
constexpr int START_COMMANDS = 1;
constexpr int TYPE9 = 9;

}  // namespace

std::atomic<int>& activity_state()
{
    static std::atomic<int> state{0};
    return state;
}

sweep_outcome fra_sweep_worker(s_sweep_job& job, const s_sweep_context& context)
{
    s_connection* conn = context.connection;
    job.download_failed = false;
    sweep_report(context.progress, PROGRESS_TOGGLE_PERCENTAGE);
    if (!sweep_open_link(context)) {
        return sweep_outcome::no_connection;
    }
    s_fra_sweep& block = *job.block;
    const bool third_channel =
        conn->instrument_type == TYPE9 && context.config->get_value_int(THIRD_CHANNEL_PARAMETER) != 0;
    set_fra_sweep_channels(block, conn->instrument_type, conn->sub_model, third_channel);

    sweep_wake_instrument(conn);
    s_sweep_setup setup;
    sweep_read_steps(context, setup);
    sweep_check_datalog(context, setup);
    const int values = fra_sweep_line_values(conn->instrument_type, third_channel);
    const sweep_outcome outcome =
        sweep_start_and_download(job, context, setup, FRA_MODE, START_COMMANDS, "gainph,sweep?\n",
                                 [&](int index) { return read_fra_point(conn, values, block.point[index]); });
    if (outcome != sweep_outcome::abandoned) {
        block.points = setup.points;
        block.phase_convention = setup.phase_convention;
    }
    // The link is closed before any window hears of the result, so whoever
    // takes the link next (the generator monitor) never shares it.
    link_close(conn);
    const bool saving = outcome == sweep_outcome::delivered && job.save_to_database;
    if (saving) {
        if (context.start_save) {
            context.start_save(job);
        } else {
            fra_save_worker(job, context.progress);
        }
    }
    if (outcome == sweep_outcome::delivered && job.view) {
        job.view->post(SWEEP_DOWNLOADED_COMMAND);
    }
    if (!saving) {
        sweep_report(context.progress, PROGRESS_DONE);
    }
    return outcome;
}

void sweep_cancel_routine(s_sweep_flags& job, progress_reporter* progress)
{
    job.cancel = true;
    sweep_report(progress, PROGRESS_SET_TEXT, 0, SWEEP_CANCELLING_TEXT);
    sweep_report(progress, PROGRESS_DONE);
}

bool fra_save_worker(s_sweep_job& job, progress_reporter* progress)
{
    const s_fra_sweep& block = *job.block;
    sweep_report(progress, PROGRESS_SET_TEXT, 0, SWEEP_SAVING_TEXT);
    sweep_report(progress, PROGRESS_SET_RANGE, block.points);
    // The worker's own copy of the pending test: the view resets its own for
    // the next sweep of a series while this one is stored.
    const s_db_test& pending = job.pending_test;
    s_db_test test;
    test.session_number = pending.session_number;
    std::memcpy(test.name, pending.name, sizeof test.name);
    std::memcpy(test.winding, pending.winding, sizeof test.winding);
    std::memcpy(test.description, pending.description, sizeof test.description);
    test.year = pending.year;
    test.month = pending.month;
    test.day = pending.day;
    int code = SQLITE_OK;
    for (int i = 0; code == SQLITE_OK && i < block.points; ++i) {
        const s_fra_result& p = block.point[i];
        code = db_add_point(test, {p.frequency, p.gain, p.phase}) == 0 ? SQLITE_OK : SQLITE_NOMEM;
    }
    // The test and all its points go in as one transaction: never half a test.
    if (code == SQLITE_OK) {
        code = db_save_new_test_progress(test, progress);
    }
    if (code != SQLITE_OK) {
        db_report_error_code(code);
    }
    db_free_points(test);
    sweep_report(progress, PROGRESS_DONE);
    return code == SQLITE_OK;
}
