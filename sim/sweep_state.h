// What the simulated instrument remembers of its measurements: the devices
// it measures and the timing of its "data ready" register ("DAV?").
//
//   bit 2 (4)      sweep data ready: clears on "start" and sets again once
//                  the sweep's time (steps x point_time) has passed;
//   bits 0, 1 (3)  point ready: clear on an accepted write of the
//                  generator frequency (parameter 48) and set again after
//                  settle_time.
// Before any "start" or frequency write every bit is set.
#pragma once

#include <chrono>
#include <optional>

#include "sim/dut_models.h"

namespace hvxsim {

using sim_clock = std::chrono::steady_clock;

inline constexpr unsigned dav_point_ready = 0x01 | 0x02;
inline constexpr unsigned dav_sweep_ready = 0x04;

struct measurement_state {
    dut_choice transfer = default_transfer_dut();    // "gainph,sweep?", "fra?"
    dut_choice impedance = default_impedance_dut();  // "LCR,SWEEP?", "lcr?"
    std::chrono::microseconds point_time{1000};      // per sweep step
    std::chrono::microseconds settle_time{1000};     // after a generator frequency write
    std::optional<sim_clock::time_point> sweep_ready_at;
    std::optional<sim_clock::time_point> point_ready_at;

    // The "DAV?" value at now.
    unsigned data_ready(sim_clock::time_point now) const
    {
        unsigned bits = 0;
        if (!sweep_ready_at || now >= *sweep_ready_at)
            bits |= dav_sweep_ready;
        if (!point_ready_at || now >= *point_ready_at)
            bits |= dav_point_ready;
        return bits;
    }
};

}  // namespace hvxsim
