#include "sched/counter_ms.h"

#include <limits>

std::int64_t counter_to_ms(std::int64_t counter, std::int64_t frequency)
{
    constexpr std::int64_t largest = std::numeric_limits<std::int64_t>::max();
    if (frequency <= 0 || counter <= 0) {
        return 0;
    }
    const std::int64_t seconds = counter / frequency;
    const std::int64_t rest = counter % frequency;
    if (seconds > largest / 1000) {
        return largest;
    }
    // rest < frequency, so rest x 1000 fits while frequency does; a larger
    // (unreal) frequency is first scaled down, losing only sub-millisecond
    // precision.
    const std::int64_t part = frequency <= largest / 1000 ? rest * 1000 / frequency : rest / (frequency / 1000);
    const std::int64_t whole = seconds * 1000;
    return part > largest - whole ? largest : whole + part;
}
