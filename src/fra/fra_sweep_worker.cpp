#include "fra/fra_sweep_worker.h"

#include <cstdlib>
#include <cstring>

#include <sqlite3.h>

#include "app/progress_reporter.h"
#include "app/user_prompt.h"
#include "config/config_transfer.h"
#include "config/instrument_config.h"
#include "db/db_error.h"
#include "db/db_points.h"
#include "db/db_write.h"
#include "fra/sweep_reply.h"
#include "link/connection.h"
#include "link/transport.h"

namespace {

constexpr int STEPS_PARAMETER = 18;
constexpr int PHASE_CONVENTION_PARAMETER = 6;
constexpr int DATALOG_PARAMETER = 58;
constexpr int MODE_PARAMETER = 1;
constexpr int THIRD_CHANNEL_PARAMETER = 84;
constexpr int FRA_MODE = 1;
constexpr int TYPE9 = 9;
constexpr int DRAIN_MS = 100;
constexpr int MODE_CHANGE_SETTLE_MS = 2000;
constexpr int POLL_INTERVAL_MS = 200;
constexpr int STATUS_REPLY_SIZE = 33;  // at most 32 characters
constexpr int SWEEP_DATA_READY = 4;    // bit 2 of the "DAV?" status

void report(progress_reporter* progress, int command, std::intptr_t value = 0, const char* text = nullptr)
{
    if (progress) {
        progress->report(command, value, text);
    }
}

void sleep_ms(int ms)
{
    link_current_backend().clock->sleep_ms(ms);
}

// The instrument's data-available status ("DAV?"), 0 when no reply came.
int data_available(s_connection* conn)
{
    link_send(conn, "DAV?\n");
    char reply[STATUS_REPLY_SIZE];
    return link_read_line(conn, reply, STATUS_REPLY_SIZE) > 0 ? std::atoi(reply) : 0;
}

// What the set-up read of the instrument gave: the step count (-1 after a
// transfer error), the phase convention, and whether the user let the sweep
// go on.
struct sweep_setup {
    int points = -1;
    int phase_convention = 0;
    bool go_on = true;
};

// Reads the steps, the phase convention and the datalog setting; a datalog
// that is on is switched off only when the user agrees.
sweep_setup read_setup(const s_sweep_context& context)
{
    instrument_config& config = *context.config;
    s_connection* conn = context.connection;
    sweep_setup setup;
    try {
        config.read_param(STEPS_PARAMETER, conn, true);
        setup.points = config.get_value_int(STEPS_PARAMETER);
        config.read_param(PHASE_CONVENTION_PARAMETER, conn, true);
        setup.phase_convention = config.get_value_int(PHASE_CONVENTION_PARAMETER);
        config.read_param(DATALOG_PARAMETER, conn, true);
        if (config.get_value_int(DATALOG_PARAMETER) != 0) {
            silent_prompt nobody;
            user_prompt& prompt = context.prompt ? *context.prompt : nobody;
            if (prompt.ask_yes_no(SWEEP_DATALOG_QUESTION, SWEEP_DATALOG_CAPTION, prompt_icon::question)) {
                config.set_value_int(DATALOG_PARAMETER, 0);
                config.write_param(DATALOG_PARAMETER, conn, true);
            } else {
                setup.go_on = false;
            }
        }
    } catch (const config_transfer_error&) {
        setup.points = -1;
    }
    setup.phase_convention = stored_phase_convention(setup.phase_convention);
    return setup;
}

// The instrument in its frequency response mode; a change of mode gets its
// settling time. False when the mode could not be read or written.
bool ensure_fra_mode(const s_sweep_context& context)
{
    instrument_config& config = *context.config;
    try {
        config.read_param(MODE_PARAMETER, context.connection, true);
        if (config.get_value_int(MODE_PARAMETER) == FRA_MODE) {
            return true;
        }
        config.set_value_int(MODE_PARAMETER, FRA_MODE);
        if (!config.write_param(MODE_PARAMETER, context.connection, true)) {
            return false;
        }
    } catch (const config_transfer_error&) {
        return false;
    }
    sleep_ms(MODE_CHANGE_SETTLE_MS);
    return true;
}

// Polls until the sweep's data is ready; false when cancelled first.
bool wait_for_sweep_data(s_sweep_job& job, s_connection* conn)
{
    for (;;) {
        if ((data_available(conn) & SWEEP_DATA_READY) != 0) {
            return true;
        }
        if (job.cancel) {
            return false;
        }
        sleep_ms(POLL_INTERVAL_MS);
        if (job.cancel) {
            return false;
        }
    }
}

// Reads the points into the block. Before the first point a line that
// gives none is skipped, up to a few in a row; after it, any such line (or
// a cancel) ends the download as failed.
void download(s_sweep_job& job, const s_sweep_context& context, int points, int values_per_line)
{
    s_connection* conn = context.connection;
    s_fra_sweep& block = *job.block;
    job.received = 0;
    report(context.progress, PROGRESS_SET_TEXT, 0, SWEEP_DOWNLOADING_TEXT);
    link_send(conn, "gainph,sweep?\n");
    report(context.progress, PROGRESS_SET_RANGE, points);
    int unusable = 0;
    while (job.received < points) {
        const int index = job.received;
        const bool point = read_fra_point(conn, values_per_line, block.point[index]);
        if (point && !job.cancel) {
            job.received = index + 1;
            report(context.progress, PROGRESS_STEP, index + 1);
            continue;
        }
        if (job.received > 0 || job.cancel || ++unusable >= SWEEP_UNUSABLE_LINES_BEFORE_FIRST_POINT) {
            job.download_failed = true;
            return;
        }
    }
}

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
    report(context.progress, PROGRESS_TOGGLE_PERCENTAGE);
    if (link_open(conn) != 0) {
        link_close(conn);
        if (context.prompt) {
            context.prompt->tell(SWEEP_NO_CONNECTION_TEXT, SWEEP_NO_CONNECTION_CAPTION, prompt_icon::warning);
        }
        report(context.progress, PROGRESS_DONE);
        return sweep_outcome::no_connection;
    }
    s_fra_sweep& block = *job.block;
    const bool third_channel =
        conn->instrument_type == TYPE9 && context.config->get_value_int(THIRD_CHANNEL_PARAMETER) != 0;
    set_fra_sweep_channels(block, conn->instrument_type, conn->sub_model, third_channel);

    const char reset[2] = {LINK_RESET_BYTE, '\0'};
    link_send(conn, reset);
    link_drain(conn, DRAIN_MS);
    link_send(conn, "out,on\n");
    const sweep_setup setup = read_setup(context);
    bool abandoned = !setup.go_on || !sweep_point_count_fits(setup.points);
    if (!abandoned) {
        abandoned = !ensure_fra_mode(context);
    }
    if (!abandoned) {
        link_send(conn, "start\n");
    }
    report(context.progress, PROGRESS_SET_TEXT, 0, SWEEP_WAITING_TEXT);

    sweep_outcome outcome = sweep_outcome::abandoned;
    bool saving = false;
    if (!abandoned) {
        block.points = setup.points;
        block.phase_convention = setup.phase_convention;
        if (!wait_for_sweep_data(job, conn)) {
            outcome = sweep_outcome::cancelled;
        } else {
            download(job, context, setup.points,
                     fra_sweep_line_values(conn->instrument_type, third_channel));
            outcome = job.download_failed ? sweep_outcome::download_failed : sweep_outcome::delivered;
        }
    }
    // The link is closed before any window hears of the result, so whoever
    // takes the link next (the generator monitor) never shares it.
    link_close(conn);
    if (outcome == sweep_outcome::delivered && job.save_to_database) {
        saving = true;
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
        report(context.progress, PROGRESS_DONE);
    }
    return outcome;
}

void sweep_cancel_routine(s_sweep_job& job, progress_reporter* progress)
{
    job.cancel = true;
    report(progress, PROGRESS_SET_TEXT, 0, SWEEP_CANCELLING_TEXT);
    report(progress, PROGRESS_DONE);
}

bool fra_save_worker(s_sweep_job& job, progress_reporter* progress)
{
    const s_fra_sweep& block = *job.block;
    report(progress, PROGRESS_SET_TEXT, 0, SWEEP_SAVING_TEXT);
    report(progress, PROGRESS_SET_RANGE, block.points);
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
    report(progress, PROGRESS_DONE);
    return code == SQLITE_OK;
}
