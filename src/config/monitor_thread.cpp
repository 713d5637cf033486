// The generator monitor thread's loop, start and stop.
#include "config/monitor_thread.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <system_error>

#include "config/monitor_read.h"
#include "link/connection.h"
#include "link/transport.h"

namespace {

void monitor_loop(s_monitor_thread& monitor, s_monitor_job job)
{
    link_clock& clock = *link_current_backend().clock;
    if (link_open(job.connection) != 0) {
        // As a read error: the polling ends and the display keeps its values.
        link_close(job.connection);
        ++monitor.read_errors;
        monitor.run = false;
        return;
    }
    bool read_before = false;
    std::uint64_t last_read_ms = 0;
    while (monitor.run.load()) {
        const std::uint64_t now = clock.now_ms();
        const std::uint64_t since = now - last_read_ms;
        if (read_before && since < MONITOR_READ_INTERVAL_MS) {
            // Short slices rather than the whole remaining time, so a stop
            // is seen promptly.
            const auto remaining = static_cast<int>(MONITOR_READ_INTERVAL_MS - since);
            clock.sleep_ms(std::min(remaining, MONITOR_SLEEP_SLICE_MS));
            continue;
        }
        read_before = true;
        last_read_ms = now;
        if (monitor_read_generator(*job.config, job.connection, monitor.run) == monitor_read_result::failed) {
            ++monitor.read_errors;
        }
        if (monitor.run.load()) {
            job.sink->show(monitor_values_of(*job.config, *job.connection));
        }
    }
    link_close(job.connection);
}

}  // namespace

bool monitor_start(s_monitor_thread& monitor, const s_monitor_job& job)
{
    if (job.connection == nullptr || job.config == nullptr || job.sink == nullptr || !job.connection->connected ||
        monitor.run.load()) {
        return false;
    }
    if (monitor.thread.joinable()) {
        monitor.thread.join();
    }
    monitor.run = true;
    try {
        monitor.thread = std::thread(monitor_loop, std::ref(monitor), job);
    } catch (const std::system_error&) {
        // No thread to be had: the display keeps its last values.
        monitor.run = false;
        return false;
    }
    return true;
}

void monitor_stop(s_monitor_thread& monitor)
{
    monitor.run = false;
    if (monitor.thread.joinable()) {
        monitor.thread.join();
        link_current_backend().clock->sleep_ms(MONITOR_STOP_PAUSE_MS);
    }
}

bool monitor_running(const s_monitor_thread& monitor)
{
    return monitor.run.load();
}
