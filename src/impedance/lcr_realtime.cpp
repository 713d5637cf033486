#include "impedance/lcr_realtime.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <thread>

#include "config/instrument_config.h"
#include "fra/live_reading.h"
#include "link/connection.h"

namespace {

constexpr int LCR_MODE = 3;
constexpr int MEASURED_QUANTITY_PARAMETER = 137;
constexpr int EQUIVALENT_CIRCUIT_PARAMETER = 138;
constexpr int TYPE7 = 7;
constexpr int TYPE9 = 9;

bool anything_ready(int status)
{
    return status != 0;
}

// Whether a reply of count values is a reading of the instrument.
bool whole_reading(int count)
{
    return count == LCR_SHORT_READING_VALUES || count == LCR_READING_VALUES;
}

}  // namespace

lcr_realtime_sweep::lcr_realtime_sweep(s_lcr_sweep_job& job, const s_sweep_context& context,
                                       const s_sweep_request& request)
    : realtime_sweep(job, context, request, LCR_MODE), job_(job)
{
}

lcr_realtime_sweep::~lcr_realtime_sweep()
{
    end_worker();
}

std::thread lcr_realtime_sweep::launch_point_worker(double f)
{
    return std::thread(lcr_point_worker, std::ref(*this), f);
}

void lcr_realtime_sweep::prepare_block(const s_sweep_setup& setup)
{
    std::memset(shown_.get(), 0, sizeof *shown_);
    shown_->phase_convention = setup.phase_convention;
}

bool lcr_realtime_sweep::measure_point(double)
{
    s_connection* conn = context_.connection;
    if (!wait_for_point(anything_ready)) {
        return false;
    }
    flags_.received = 0;
    for (;;) {
        link_send(conn, "lcr?\n");
        // A reply cut short never keeps the previous attempt's values.
        std::fill(std::begin(reading_), std::end(reading_), 0.0);
        const int count = link_read_values(conn, reading_, LCR_READING_VALUES, true);
        pause_between_reads();
        if (whole_reading(count)) {
            const int kind = lcr_reading_kind_for(conn->instrument_type, count, lcr_reading_source::realtime_point);
            if (kind != 0) {
                lcr_reading_kind() = kind;
            }
            return true;
        }
        if (stopped()) {
            return false;
        }
    }
}

void lcr_realtime_sweep::take_point()
{
    std::copy(std::begin(reading_), std::end(reading_), std::begin(job_.reading));
    const instrument_config& config = *context_.config;
    append_lcr_reading(reading_, lcr_reading_kind(), config.get_value_int(MEASURED_QUANTITY_PARAMETER),
                       config.get_value_int(EQUIVALENT_CIRCUIT_PARAMETER), *shown_, shown_layout_);
}

void lcr_point_worker(lcr_realtime_sweep& sweep, double f)
{
    sweep.run_point_worker(f);
}

void lcr_realtime_control(lcr_realtime_sweep& sweep, int operation)
{
    sweep.control(operation);
}

void lcr_live_worker(s_lcr_sweep_job& job, const s_sweep_context& context)
{
    lcr_reading_kind() = 1;
    run_live_reading(job, context, [&](s_connection* conn) {
        link_send(conn, "lcr?\n");
        double reading[LCR_READING_VALUES] = {};
        const int count = link_read_values(conn, reading, LCR_READING_VALUES, true);
        const int type = conn->instrument_type;
        if (type != TYPE7 && type != TYPE9) {
            return live_reading_step::stop;
        }
        const int kind = lcr_reading_kind_for(type, count, lcr_reading_source::live);
        if (kind == 0) {
            return live_reading_step::retry;
        }
        // The reading is whole before anyone hears of it.
        std::copy(std::begin(reading), std::end(reading), std::begin(job.reading));
        lcr_reading_kind() = kind;
        if (job.results) {
            job.results->post_value(LCR_RESULTS_REDRAW_COMMAND, 1);
        }
        if (job.owner) {
            job.owner->post(LCR_LIVE_READING_COMMAND);
        }
        return live_reading_step::posted;
    });
}
