#include "graph/phase_axis_start.h"

namespace {

constexpr int starts[] = {-180, -360, 0};

}  // namespace

int phase_axis_start(int phase_convention)
{
    return phase_convention >= 1 && phase_convention <= 2 ? starts[phase_convention] : starts[0];
}
