#include "fra/live_reading.h"

#include "app/user_prompt.h"
#include "config/instrument_config.h"
#include "fra/sweep_reply.h"
#include "fra/sweep_worker_steps.h"
#include "link/connection.h"
#include "link/restored_link_timeout.h"

namespace {

constexpr int THIRD_CHANNEL_PARAMETER = 84;
constexpr int TYPE9 = 9;
constexpr int RETRY_DRAIN_MS = 20;

}  // namespace

void run_live_reading(s_sweep_flags& job, const s_sweep_context& context,
                      const std::function<live_reading_step(s_connection*)>& read_once)
{
    s_connection* conn = context.connection;
    if (!conn->connected) {
        return;
    }
    if (link_open(conn) != 0) {
        link_close(conn);
        return;
    }
    {
        const restored_link_timeout kept(conn);
        link_send(conn, "out,on\n");
        link_set_timeout(conn, LIVE_READING_TIMEOUT_MS);
        bool reading = true;
        while (activity_state() != 0) {
            if (reading && job.running.exchange(false)) {
                if (context.prompt) {
                    context.prompt->set_busy(true);
                }
                const live_reading_step step = read_once(conn);
                if (context.prompt) {
                    context.prompt->set_busy(false);
                }
                if (step == live_reading_step::retry) {
                    job.running = true;
                }
                reading = step != live_reading_step::stop;
            }
            sweep_sleep_ms(LIVE_READING_PASS_MS);
        }
    }
    link_close(conn);
}

void fra_live_worker(s_sweep_job& job, const s_sweep_context& context)
{
    const int type = context.connection->instrument_type;
    const bool third_channel = type == TYPE9 && context.config->get_value_int(THIRD_CHANNEL_PARAMETER) != 0;
    const int most = type == TYPE9 ? FRA_RESULT_VALUES : 6;
    run_live_reading(job, context, [&](s_connection* conn) {
        link_send(conn, "*wai;fra?\n");
        double values[FRA_RESULT_VALUES] = {};
        const int count = link_read_values(conn, values, most, true);
        if (!fra_reading_count_accepted(type, third_channel, count)) {
            const char reset[2] = {LINK_RESET_BYTE, '\0'};
            link_send(conn, reset);
            link_drain(conn, RETRY_DRAIN_MS);
            return live_reading_step::retry;
        }
        s_fra_result reading{};
        for (int i = 0; i < count; ++i) {
            reading.*fra_result_fields[i] = values[i];
        }
        // The reading is whole before the owner hears of it.
        job.reading = reading;
        if (job.owner) {
            job.owner->post(LIVE_READING_COMMAND);
        }
        return live_reading_step::posted;
    });
}
