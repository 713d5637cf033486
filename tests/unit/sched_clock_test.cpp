// Counter readings in milliseconds: exact where counter x 1000 overflows 64
// bits (a machine up for weeks with a GHz counter), checked against a
// 128-bit reference.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "sched/counter_ms.h"

namespace {

constexpr std::int64_t largest = std::numeric_limits<std::int64_t>::max();

std::int64_t reference_ms(std::int64_t counter, std::int64_t frequency)
{
    return static_cast<std::int64_t>(static_cast<__int128>(counter) * 1000 / frequency);
}

TEST(CounterMs, ExactWherePlainProductOverflows)
{
    const std::int64_t day = 86400;
    const struct {
        std::int64_t counter;
        std::int64_t frequency;
    } cases[] = {
        {0, 10000000},
        {1, 3000000000},
        {2999999999, 3000000000},          // just below one second
        {37 * day * 3000000000, 3000000000},  // 37 days at 3 GHz: counter x 1000 > 2^63
        {37 * day * 3000000000 + 2999999, 3000000000},
        {largest, 3000000000},
        {largest, 2400000001},
        {largest, 10000000},   // the counter of this test environment's Windows
        {largest, 3579545},    // the old ACPI timer
        {largest - 1, 1000},  // the largest result that fits
        {largest, 1000},
        {123456789012345, 1000000000000000},  // femtosecond-scale counter
    };
    for (const auto& c : cases) {
        EXPECT_EQ(counter_to_ms(c.counter, c.frequency), reference_ms(c.counter, c.frequency))
            << c.counter << " at " << c.frequency;
    }
}

TEST(CounterMs, DegenerateInputsStayDefined)
{
    // Below 1000 counts per second the true value can exceed 64 bits: held.
    EXPECT_EQ(counter_to_ms(largest, 1), largest);
    EXPECT_EQ(counter_to_ms(largest, 999), largest);
    EXPECT_EQ(counter_to_ms(5, 1), 5000);
    EXPECT_EQ(counter_to_ms(1000, 0), 0);
    EXPECT_EQ(counter_to_ms(1000, -10), 0);
    EXPECT_EQ(counter_to_ms(-1000, 1000), 0);
    // A frequency too large to scale the remainder: within a millisecond.
    const std::int64_t huge_frequency = largest / 2;
    const std::int64_t counter = largest - 3;
    const std::int64_t ms = counter_to_ms(counter, huge_frequency);
    EXPECT_NEAR(static_cast<double>(ms), static_cast<double>(reference_ms(counter, huge_frequency)), 1.0);
}

}  // namespace
