#include "graph/decimal_scale.h"

#include <cstdlib>

namespace {

// 10^0 to 10^22 are exact doubles; beyond that, steps of 10^22.
constexpr double exact_powers[] = {
    1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
    1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22,
};
constexpr int largest_exact_power = 22;

// No finite non-zero double survives 700 decades either way, so longer loops
// change nothing.
constexpr int widest_useful_power = 700;

}  // namespace

double scale_by_power_of_ten(double x, int power)
{
    const bool divide = power < 0;
    int remaining = std::abs(power < -widest_useful_power ? -widest_useful_power
                             : power > widest_useful_power ? widest_useful_power
                                                            : power);
    while (remaining > 0) {
        const int step = remaining < largest_exact_power ? remaining : largest_exact_power;
        x = divide ? x / exact_powers[step] : x * exact_powers[step];
        remaining -= step;
    }
    return x;
}
