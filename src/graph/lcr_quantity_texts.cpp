#include "graph/lcr_quantity_texts.h"

#include "fra/lcr_layout.h"

namespace {

// The axis titles' spellings ("ohms" beside "Ohms", "Z PHASE(\xB0)") are the
// graphs' own.
constexpr s_lcr_quantity_text full_texts[] = {
    {"FREQUENCY (Hz)", "Frequency", "Hz"},
    {"Q FACTOR", "Q Factor", ""},
    {"TAN\xF0", "Tan\xF0", ""},
    {"Z MAGNITUDE (Ohms)", "Z Magnitude", "Ohms"},
    {"Z PHASE (\xB0)", "Z Phase", "\xB0"},
    {"SERIES L (H)", "Series L", "H"},
    {"SERIES C (F)", "Series C", "F"},
    {"SERIES R (Ohms)", "Series R", "Ohms"},
    {"Y MAGNITUDE (Ohms)", "Y Magnitude", "Ohms"},
    {"Y PHASE (\xB0)", "Y Phase", "\xB0"},
    {"PARALLEL L (H)", "Parallel L", "H"},
    {"PARALLEL C (F)", "Parallel C", "F"},
    {"PARALLEL R (Ohms)", "Parallel R", "Ohms"},
};

constexpr s_lcr_quantity_text impedance_texts[] = {
    {"FREQUENCY (Hz)", "Freq.", "Hz"},
    {"Z REAL (ohms)", "Z Real", "Ohms"},
    {"Z QUADRATURE (ohms)", "Z Quad.", "Ohms"},
    {"Z MAGNITUDE (ohms)", "Z Mag.", "Ohms"},
    {"Z PHASE(\xB0)", "Z Phase", "\xB0"},
};

constexpr s_lcr_quantity_text admittance_texts[] = {
    {"FREQUENCY (Hz)", "Freq.", "Hz"},
    {"Y REAL (S)", "Y Real", "S"},
    {"Y QUADRATURE (S)", "Y Quad.", "S"},
    {"Y MAGNITUDE (S)", "Y Mag.", "S"},
    {"Y PHASE (\xB0)", "Y Phase", "\xB0"},
};

constexpr s_lcr_quantity_text basic_texts[] = {
    {"FREQUENCY (Hz)", "Frequency", "Hz"},
    {"Q", "Q", ""},
    {"TAN\xF0", "Tan\xF0", ""},
    {"IMPEDANCE (ohms)", "Imped", "Ohms"},
    {"PHASE (\xB0)", "Phase", "\xB0"},
    {"L (H)", "L", "H"},
    {"C (F)", "C", "F"},
    {"R (ohms)", "R", "Ohms"},
};

}  // namespace

std::span<const s_lcr_quantity_text> lcr_quantity_texts(int layout)
{
    switch (layout) {
    case LCR_LAYOUT_FULL:
        return full_texts;
    case LCR_LAYOUT_IMPEDANCE:
        return impedance_texts;
    case LCR_LAYOUT_ADMITTANCE:
        return admittance_texts;
    default:
        return basic_texts;
    }
}

const s_lcr_quantity_text* lcr_quantity_text(int layout, int value_index)
{
    const std::span<const s_lcr_quantity_text> texts = lcr_quantity_texts(layout);
    if (value_index < 0 || static_cast<std::size_t>(value_index) >= texts.size()) {
        return nullptr;
    }
    return &texts[static_cast<std::size_t>(value_index)];
}
