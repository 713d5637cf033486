#include "graph/custom_colour_ring.h"

void custom_colour_ring_store(s_custom_colour_ring& ring, std::int32_t colour)
{
    // A position moved out of the ring by hand restarts it rather than writing past it.
    if (ring.position < 0 || ring.position >= CUSTOM_COLOUR_SLOTS) {
        ring.position = 0;
    }
    ring.colours[ring.position] = colour;
    ring.position = (ring.position + 1) % CUSTOM_COLOUR_SLOTS;
}
