// reading fra [--count N]
// reading lcr [--count N]
//
// The live reading of the FRA view (or the impedance views): identify the
// instrument, then take one reading after another as the "START" button
// does and print each as a row below the reading's column titles:
//   FRA  the list's columns (index, frequency, magnitudes, gain, phase, delay)
//   LCR  index, then the values of the reading's kind under their names
// --count N ends after N readings (default 1). A reading that does not come
// within READING_WAIT_MS, or Ctrl+C, ends the command with exit 1.
#include <cstdio>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "cli_context.h"
#include "config/config_selection.h"
#include "config/config_transfer.h"
#include "config/instrument_config.h"
#include "count_option.h"
#include "fra/command_queue.h"
#include "fra/live_reading.h"
#include "fra/sweep_list_columns.h"
#include "fra/sweep_rows.h"
#include "graph/exponent_text.h"
#include "impedance/lcr_realtime.h"
#include "instrument_setup.h"
#include "interrupt_scope.h"
#include "tab_line.h"
#include "link/connection.h"
#include "reading_commands.h"

namespace {

constexpr int QUEUE_WAIT_MS = 100;
// Twice the live reading's link timeout and a retry: a reading that takes
// longer is not coming.
constexpr int READING_WAIT_MS = 4 * LIVE_READING_TIMEOUT_MS;
constexpr int THIRD_CHANNEL_PARAMETER = 84;

// Runs worker on a thread of its own while `count` readings are taken: each
// `posted` command from it is handed to print (given the reading's number),
// and `running` set again for the next. False (with the reason printed)
// when a reading did not come or Ctrl+C was pressed.
template <typename Job>
bool take_readings(cli_context& context, Job& job, const s_sweep_context& sweep, long count, int posted,
                   void (*worker)(Job&, const s_sweep_context&), const std::function<void(long)>& print)
{
    command_queue owner;
    job.owner = &owner;
    job.running = true;
    activity_state() = 1;
    const interrupt_scope ctrl_c;
    std::thread thread(worker, std::ref(job), std::cref(sweep));
    long taken = 0;
    int waited_ms = 0;
    const char* failure = nullptr;
    while (taken < count && !failure) {
        const std::optional<s_posted_command> command = owner.take(QUEUE_WAIT_MS);
        if (interrupt_scope::interrupted()) {
            failure = "The reading was cancelled";
        } else if (command && command->command == posted) {
            print(++taken);
            waited_ms = 0;
            job.running = taken < count;
        } else if ((waited_ms += QUEUE_WAIT_MS) >= READING_WAIT_MS) {
            failure = "No reading came from the instrument";
        }
    }
    activity_state() = 0;
    thread.join();
    if (failure) {
        std::fprintf(context.err, "%s\n", failure);
    }
    return !failure;
}

// The instrument's own third-channel setting on type 9 (the held one when it
// cannot be read).
void read_third_channel(const cli_context& context)
{
    s_connection* conn = context.connection;
    if (conn->instrument_type != 9 || link_open(conn) != 0) {
        link_close(conn);
        return;
    }
    try {
        current_config->read_param(THIRD_CHANNEL_PARAMETER, conn, true);
    } catch (const config_transfer_error&) {
    }
    link_close(conn);
}

int run_reading(cli_context& context, bool lcr)
{
    long count = 0;
    int status = CLI_OK;
    if (!parse_count_option(context, lcr ? "reading lcr" : "reading fra", &count, &status)) {
        return status;
    }
    if (!identify_and_select(context)) {
        return CLI_FAILED;
    }
    context.connection->connected = 1;
    s_sweep_context sweep;
    sweep.connection = context.connection;
    sweep.config = current_config;
    count = count == 0 ? 1 : count;
    if (lcr) {
        s_lcr_sweep_job job;
        return take_readings<s_lcr_sweep_job>(
                   context, job, sweep, count, LCR_LIVE_READING_COMMAND, lcr_live_worker,
                   [&](long number) {
                       const int kind = lcr_reading_kind();
                       const std::vector<std::string> names = lcr_reading_value_names(kind);
                       if (number == 1) {
                           std::vector<std::string> titles{"Index"};
                           titles.insert(titles.end(), names.begin(), names.end());
                           print_tab_line(context.out, titles);
                       }
                       std::string row = std::to_string(number);
                       for (std::size_t i = 0; i < names.size(); ++i) {
                           row += "\t" + exp_text(job.reading[i], 5);
                       }
                       std::fprintf(context.out, "%s\n", row.c_str());
                       std::fflush(context.out);
                   })
                   ? CLI_OK
                   : CLI_FAILED;
    }
    read_third_channel(context);
    const bool three_channel =
        context.connection->instrument_type == 9 && current_config->get_value_int(THIRD_CHANNEL_PARAMETER) != 0;
    s_sweep_job job;
    return take_readings<s_sweep_job>(context, job, sweep, count, LIVE_READING_COMMAND, fra_live_worker,
                                      [&](long number) {
                                          if (number == 1) {
                                              print_tab_line(context.out, fra_list_column_titles(three_channel));
                                          }
                                          std::fprintf(context.out, "%s\n",
                                                       fra_sweep_row(static_cast<int>(number), job.reading,
                                                                     three_channel)
                                                           .c_str());
                                          std::fflush(context.out);
                                      })
               ? CLI_OK
               : CLI_FAILED;
}

}  // namespace

int run_reading_fra(cli_context& context)
{
    return run_reading(context, false);
}

int run_reading_lcr(cli_context& context)
{
    return run_reading(context, true);
}
