// Milliseconds from a high-resolution counter and its frequency: the one
// routine every clock of the program uses for that conversion.
#pragma once

#include <cstdint>

// counter x 1000 / frequency without the 64-bit overflow of the plain
// product (at a 3 GHz counter that product overflows after about 36 days of
// uptime): whole seconds and the remainder are scaled apart. Exact (truncated
// like the plain formula) for every counter at any frequency from 1000 to
// 9.2e15 counts per second. A result beyond 64 bits (only possible below
// 1000 counts per second) is held at the largest value; a negative counter
// counts as 0, and so does a frequency that is not positive.
std::int64_t counter_to_ms(std::int64_t counter, std::int64_t frequency);
