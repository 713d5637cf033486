// monitor [--count N]
//
// The generator monitor's texts, one line a second, as the settings panel's
// monitor shows them: identify the instrument (its type selects the monitor's
// model), then run the monitor thread and print every reading it hands on,
//   Output: ON<TAB>Waveform: Sine<TAB>Peak: 1.000V<TAB>Freq: 1.000kHz<TAB>RMS: 707.107mV
// --count N ends after N lines (exit 0); without it the lines go on until
// the tool is interrupted. A read error ends the lines with the monitor's
// own ending (the instrument stopped answering) and exit 1.
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <vector>

#include "monitor_command.h"

#include "cli_context.h"
#include "config/config_selection.h"
#include "config/monitor_display.h"
#include "config/monitor_thread.h"
#include "count_option.h"
#include "instrument_setup.h"
#include "link/connection.h"

namespace {

// How often the wait for the next line looks whether a read error ended
// the monitor (which then hands nothing more on).
constexpr auto ENDED_CHECK = std::chrono::milliseconds(100);

// Prints each reading as it comes, on the monitor thread, and counts them.
class printing_sink final : public monitor_sink {
public:
    printing_sink(std::FILE* out, int instrument_type, int current_option)
        : out_(out), instrument_type_(instrument_type), current_option_(current_option)
    {
    }
    void show(const s_monitor_values& values) override
    {
        const std::string line = monitor_line(monitor_texts(values, instrument_type_, current_option_));
        std::lock_guard<std::mutex> lock(mutex_);
        std::fprintf(out_, "%s\n", line.c_str());
        std::fflush(out_);
        ++printed_;
        changed_.notify_all();
    }
    // Waits until count lines are out (count 0: never) or the monitor ended.
    // True when the lines are out.
    bool wait_for(long count, const s_monitor_thread& monitor)
    {
        std::unique_lock<std::mutex> lock(mutex_);
        while (count == 0 || printed_ < count) {
            if (!monitor_running(monitor)) {
                return false;
            }
            changed_.wait_for(lock, ENDED_CHECK);
        }
        return true;
    }

private:
    std::FILE* out_;
    int instrument_type_;
    int current_option_;
    std::mutex mutex_;
    std::condition_variable changed_;
    long printed_ = 0;
};

}  // namespace

int run_monitor(cli_context& context)
{
    long count = 0;
    int status = CLI_OK;
    if (!parse_count_option(context, "monitor", &count, &status)) {
        return status;
    }
    if (!identify_and_select(context)) {
        return CLI_FAILED;
    }
    s_connection* conn = context.connection;
    conn->connected = 1;
    printing_sink sink(context.out, conn->instrument_type, conn->current_option);
    s_monitor_thread monitor;
    if (!monitor_start(monitor, {conn, monitor_config, &sink})) {
        std::fprintf(context.err, "The generator monitor could not be started\n");
        return CLI_FAILED;
    }
    const bool all_out = sink.wait_for(count, monitor);
    monitor_stop(monitor);
    if (!all_out) {
        std::fprintf(context.err, "The generator monitor stopped: the instrument did not answer a read\n");
        return CLI_FAILED;
    }
    return CLI_OK;
}
