// The platform link clock measures milliseconds and sleeps them.
#include <gtest/gtest.h>

#include <chrono>

#include "link/transport.h"

TEST(TransportClock, CountsMillisecondsAcrossASleep)
{
    link_clock& clock = platform_link_clock();
    const auto outer_start = std::chrono::steady_clock::now();
    const std::uint64_t start = clock.now_ms();
    clock.sleep_ms(60);
    const std::uint64_t end = clock.now_ms();
    const auto outer = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - outer_start);

    ASSERT_GE(end, start);
    EXPECT_GE(end - start, 55u);
    // Measured inside the same interval as the reference clock, so never
    // more than it (one millisecond of rounding either side).
    EXPECT_LE(end - start, static_cast<std::uint64_t>(outer.count()) + 2);
}
