// What the simulated instrument remembers of its measurements: the devices
// it measures and the timing of its "data ready" register ("DAV?").
//
//   bit 2 (4)      sweep data ready: clears on "start" and sets again once
//                  the sweep's time (steps x point_time) has passed;
//   bits 0, 1 (3)  point ready: clear on an accepted write of the
//                  generator frequency (parameter 48) and set again after
//                  settle_time.
// Before any "start" or frequency write every bit is set.
//
// Fault knobs for the readers of these replies: "DAV?" that never reports
// data ready, a line the strict field check refuses before the first
// point or after the k-th, a sweep reply that falls silent after its k-th
// line, the lines of sweep and reading replies sent one at a time a fixed
// interval apart, and measurement noise (each response times 1 + noise x a
// complex normal draw, from a generator with a fixed seed so runs repeat).
#pragma once

#include <chrono>
#include <optional>
#include <random>

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

    bool never_ready = false;
    bool bad_line_first = false;
    std::optional<unsigned> bad_line_after;  // after the k-th point of a sweep reply
    std::optional<unsigned> silent_after;    // a sweep reply ends after k lines
    std::chrono::milliseconds line_interval{0};  // between measurement reply lines; 0: all at once
    double noise = 0;                        // relative; 0: none
    std::mt19937 noise_source{1};

    // The "DAV?" value at now.
    unsigned data_ready(sim_clock::time_point now) const
    {
        if (never_ready)
            return 0;
        unsigned bits = 0;
        if (!sweep_ready_at || now >= *sweep_ready_at)
            bits |= dav_sweep_ready;
        if (!point_ready_at || now >= *point_ready_at)
            bits |= dav_point_ready;
        return bits;
    }
};

}  // namespace hvxsim
