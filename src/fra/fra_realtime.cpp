#include "fra/fra_realtime.h"

#include <cstring>
#include <functional>
#include <thread>

#include "config/instrument_config.h"
#include "fra/sweep_reply.h"
#include "link/connection.h"

namespace {

constexpr int THIRD_CHANNEL_PARAMETER = 84;
constexpr int FRA_MODE = 1;
constexpr int TYPE9 = 9;
constexpr int POINT_READY_BITS = 3;  // bits 0 and 1 of "DAV?" both set

bool point_ready(int status)
{
    return (status & POINT_READY_BITS) == POINT_READY_BITS;
}

}  // namespace

fra_realtime_sweep::fra_realtime_sweep(s_sweep_job& job, const s_sweep_context& context,
                                       const s_sweep_request& request)
    : realtime_sweep(job, context, request, FRA_MODE), job_(job)
{
}

fra_realtime_sweep::~fra_realtime_sweep()
{
    end_worker();
}

std::thread fra_realtime_sweep::launch_point_worker(double f)
{
    return std::thread(fra_point_worker, std::ref(*this), f);
}

void fra_realtime_sweep::prepare_block(const s_sweep_setup& setup)
{
    const s_connection& conn = *context_.connection;
    third_channel_ = conn.instrument_type == TYPE9 && context_.config->get_value_int(THIRD_CHANNEL_PARAMETER) != 0;
    std::memset(shown_.get(), 0, sizeof *shown_);
    // The real-time points are two-channel rows whatever the instrument.
    set_fra_sweep_channels(*shown_, conn.instrument_type, conn.sub_model, false);
    set_fra_sweep_channels(*job_.block, conn.instrument_type, conn.sub_model, third_channel_);
    shown_->phase_convention = setup.phase_convention;
}

void fra_realtime_sweep::list_ready(double first)
{
    s_connection* conn = context_.connection;
    if (link_open(conn) == 0) {
        set_generator_frequency(first);
    }
    link_close(conn);
}

bool fra_realtime_sweep::measure_point(double)
{
    s_connection* conn = context_.connection;
    if (!wait_for_point(point_ready)) {
        return false;
    }
    flags_.received = 0;
    const int type = conn->instrument_type;
    const int most = third_channel_ ? FRA_RESULT_VALUES : 6;
    for (;;) {
        link_send(conn, "fra?\n");
        // Each attempt starts from a zeroed point: a short reply never mixes
        // with the previous one's values.
        double values[FRA_RESULT_VALUES] = {};
        const int count = link_read_values(conn, values, most, true);
        pause_between_reads();
        if (fra_reading_count_accepted(type, third_channel_, count)) {
            point_ = s_fra_result{};
            for (int i = 0; i < count; ++i) {
                point_.*fra_result_fields[i] = values[i];
            }
            return true;
        }
        if (stopped()) {
            return false;
        }
    }
}

void fra_realtime_sweep::take_point()
{
    if (shown_->points < SWEEP_MAX_POINTS) {
        shown_->point[shown_->points++] = point_;
    }
}

void fra_realtime_sweep::finished()
{
    // A sweep saved as a test is stored from the job's block.
    if (job_.save_to_database) {
        job_.block->points = shown_->points;
        job_.block->phase_convention = shown_->phase_convention;
        std::memcpy(job_.block->point, shown_->point, sizeof(s_fra_result) * static_cast<std::size_t>(shown_->points));
    }
}

void fra_point_worker(fra_realtime_sweep& sweep, double f)
{
    sweep.run_point_worker(f);
}

void fra_realtime_control(fra_realtime_sweep& sweep, int operation)
{
    sweep.control(operation);
}
