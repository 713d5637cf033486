// What the simulated instrument shows on its display, and the fault knobs
// for the readers of its screen replies.
#pragma once

#include <optional>

#include "sim/screen_picture.h"

namespace hvxsim {

struct screen_state {
    screen_picture picture;
    std::optional<unsigned> stop_after;   // a screen reply ends after this many lines
    std::optional<unsigned> short_line;   // this line (from 1) cut to half its length
    std::optional<unsigned> garble_line;  // this line (from 1) with "??" for its first pixel characters
};

}  // namespace hvxsim
