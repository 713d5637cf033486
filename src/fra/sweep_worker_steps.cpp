#include "fra/sweep_worker_steps.h"

#include <cstdlib>

#include "app/user_prompt.h"
#include "config/config_transfer.h"
#include "config/instrument_config.h"
#include "link/connection.h"
#include "link/transport.h"

namespace {

constexpr int STEPS_PARAMETER = 18;
constexpr int PHASE_CONVENTION_PARAMETER = 6;
constexpr int DATALOG_PARAMETER = 58;
constexpr int MODE_PARAMETER = 1;
constexpr int DRAIN_MS = 100;
constexpr int MODE_CHANGE_SETTLE_MS = 2000;
constexpr int POLL_INTERVAL_MS = 200;
constexpr int STATUS_REPLY_SIZE = 33;  // at most 32 characters
constexpr int SWEEP_DATA_READY = 4;    // bit 2 of the "DAV?" status

// The instrument's data-available status ("DAV?"), 0 when no reply came.
int data_available(s_connection* conn)
{
    link_send(conn, "DAV?\n");
    char reply[STATUS_REPLY_SIZE];
    return link_read_line(conn, reply, STATUS_REPLY_SIZE) > 0 ? std::atoi(reply) : 0;
}

}  // namespace

void sweep_report(progress_reporter* progress, int command, std::intptr_t value, const char* text)
{
    if (progress) {
        progress->report(command, value, text);
    }
}

void sweep_sleep_ms(int ms)
{
    link_current_backend().clock->sleep_ms(ms);
}

bool sweep_open_link(const s_sweep_context& context)
{
    if (link_open(context.connection) == 0) {
        return true;
    }
    link_close(context.connection);
    if (context.prompt) {
        context.prompt->tell(SWEEP_NO_CONNECTION_TEXT, SWEEP_NO_CONNECTION_CAPTION, prompt_icon::warning);
    }
    sweep_report(context.progress, PROGRESS_DONE);
    return false;
}

void sweep_wake_instrument(s_connection* conn)
{
    const char reset[2] = {LINK_RESET_BYTE, '\0'};
    link_send(conn, reset);
    link_drain(conn, DRAIN_MS);
    link_send(conn, "out,on\n");
}

void sweep_read_steps(const s_sweep_context& context, s_sweep_setup& setup)
{
    instrument_config& config = *context.config;
    try {
        config.read_param(STEPS_PARAMETER, context.connection, true);
        setup.points = config.get_value_int(STEPS_PARAMETER);
        config.read_param(PHASE_CONVENTION_PARAMETER, context.connection, true);
        setup.phase_convention = stored_phase_convention(config.get_value_int(PHASE_CONVENTION_PARAMETER));
    } catch (const config_transfer_error&) {
        setup.points = -1;
    }
}

void sweep_check_datalog(const s_sweep_context& context, s_sweep_setup& setup)
{
    instrument_config& config = *context.config;
    try {
        config.read_param(DATALOG_PARAMETER, context.connection, true);
        if (config.get_value_int(DATALOG_PARAMETER) == 0) {
            return;
        }
        silent_prompt nobody;
        user_prompt& prompt = context.prompt ? *context.prompt : nobody;
        if (prompt.ask_yes_no(SWEEP_DATALOG_QUESTION, SWEEP_DATALOG_CAPTION, prompt_icon::question)) {
            config.set_value_int(DATALOG_PARAMETER, 0);
            // An instrument that refuses to stop its datalog cannot sweep:
            // the sweep stops here rather than start against it.
            setup.go_on = config.write_param(DATALOG_PARAMETER, context.connection, true);
        } else {
            setup.go_on = false;
        }
    } catch (const config_transfer_error&) {
        setup.points = -1;
    }
}

bool sweep_setup_usable(const s_sweep_setup& setup)
{
    return setup.go_on && sweep_point_count_fits(setup.points);
}

bool sweep_ensure_mode(const s_sweep_context& context, int mode)
{
    instrument_config& config = *context.config;
    try {
        config.read_param(MODE_PARAMETER, context.connection, true);
        if (config.get_value_int(MODE_PARAMETER) == mode) {
            return true;
        }
        config.set_value_int(MODE_PARAMETER, mode);
        if (!config.write_param(MODE_PARAMETER, context.connection, true)) {
            return false;
        }
    } catch (const config_transfer_error&) {
        return false;
    }
    sweep_sleep_ms(MODE_CHANGE_SETTLE_MS);
    return true;
}

bool sweep_wait_for_data(s_sweep_flags& job, s_connection* conn)
{
    for (;;) {
        if ((data_available(conn) & SWEEP_DATA_READY) != 0) {
            return true;
        }
        if (job.cancel) {
            return false;
        }
        sweep_sleep_ms(POLL_INTERVAL_MS);
        if (job.cancel) {
            return false;
        }
    }
}

void sweep_download(s_sweep_flags& job, const s_sweep_context& context, const char* command, int points,
                    const std::function<bool(int index)>& read_point)
{
    job.received = 0;
    sweep_report(context.progress, PROGRESS_SET_TEXT, 0, SWEEP_DOWNLOADING_TEXT);
    link_send(context.connection, command);
    sweep_report(context.progress, PROGRESS_SET_RANGE, points);
    int unusable = 0;
    while (job.received < points) {
        const int index = job.received;
        if (read_point(index) && !job.cancel) {
            job.received = index + 1;
            sweep_report(context.progress, PROGRESS_STEP, index + 1);
            continue;
        }
        if (job.received > 0 || job.cancel || ++unusable >= SWEEP_UNUSABLE_LINES_BEFORE_FIRST_POINT) {
            job.download_failed = true;
            return;
        }
    }
}

sweep_outcome sweep_start_and_download(s_sweep_flags& job, const s_sweep_context& context,
                                       const s_sweep_setup& setup, int mode, int start_commands,
                                       const char* download_command,
                                       const std::function<bool(int index)>& read_point)
{
    const bool started = sweep_setup_usable(setup) && sweep_ensure_mode(context, mode);
    for (int i = 0; started && i < start_commands; ++i) {
        link_send(context.connection, "start\n");
    }
    sweep_report(context.progress, PROGRESS_SET_TEXT, 0, SWEEP_WAITING_TEXT);
    if (!started) {
        return sweep_outcome::abandoned;
    }
    if (!sweep_wait_for_data(job, context.connection)) {
        return sweep_outcome::cancelled;
    }
    sweep_download(job, context, download_command, setup.points, read_point);
    return job.download_failed ? sweep_outcome::download_failed : sweep_outcome::delivered;
}
