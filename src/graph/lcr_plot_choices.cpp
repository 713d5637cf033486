#include "graph/lcr_plot_choices.h"

#include "fra/lcr_layout.h"

namespace {

constexpr const char* full_choices[] = {
    "Q Factor",    "Tan\xF0",   "Z Magnitude", "Z Phase",    "Series L",   "Series C",
    "Series R",    "Y Magnitude", "Y Phase",   "Parallel L", "Parallel C", "Parallel R",
};
constexpr const char* impedance_choices[] = {"Z Real", "Z Quadrature", "Z Magnitude", "Z Phase"};
constexpr const char* admittance_choices[] = {"Y Real", "Y Quadrature", "Y Magnitude", "Y Phase"};
constexpr const char* basic_choices[] = {"Q", "Tan\xF0", "Impedance", "Phase", "L", "C", "R"};

}  // namespace

std::span<const char* const> lcr_plot_choices(int layout)
{
    switch (layout) {
    case LCR_LAYOUT_FULL:
        return full_choices;
    case LCR_LAYOUT_IMPEDANCE:
        return impedance_choices;
    case LCR_LAYOUT_ADMITTANCE:
        return admittance_choices;
    default:
        return basic_choices;
    }
}
