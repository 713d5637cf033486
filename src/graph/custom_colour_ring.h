// The 16 custom colours offered by the system colour dialog. Each colour
// picked goes into the slot at the ring position, which then moves on,
// wrapping from the last slot to the first, so the newest 16 picks are kept.
#pragma once

#include <cstdint>

inline constexpr int CUSTOM_COLOUR_SLOTS = 16;

struct s_custom_colour_ring {
    std::int32_t colours[CUSTOM_COLOUR_SLOTS] = {};  // colour values 0x00BBGGRR
    int position = 0;                                // the slot the next pick fills
};

// Stores a picked colour at the ring position and advances the position.
void custom_colour_ring_store(s_custom_colour_ring& ring, std::int32_t colour);
