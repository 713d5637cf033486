#include "sim/sweep_setup.h"

namespace hvxsim {

void set_up_measurement(const sim_options& options, instrument_state& state)
{
    measurement_state& measurement = state.measurement;
    if (options.transfer_dut)
        measurement.transfer = *options.transfer_dut;
    if (options.impedance_dut)
        measurement.impedance = *options.impedance_dut;
    measurement.point_time = std::chrono::milliseconds(options.point_ms);
    measurement.settle_time = std::chrono::milliseconds(options.settle_ms);
    measurement.never_ready = options.never_ready;
    measurement.bad_line_first = options.bad_line_first;
    measurement.bad_line_after = options.bad_line_after;
    measurement.silent_after = options.silent_after;
    measurement.line_interval = std::chrono::milliseconds(options.slow_lines_ms);
    measurement.noise = options.noise;
    measurement.noise_source.seed(options.noise_seed);
}

}  // namespace hvxsim
