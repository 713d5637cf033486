#include "export/export_columns.h"

#include "fra/lcr_layout.h"

namespace {

// The degree sign is byte 0xB0 and the delta of "Tan" byte 0xF0.
constexpr const char* fra_two_channels =
    "Steps\tFrequency (Hz)\tMagnitude 1 (V)\tMagnitude 2 (V)\tGain (dB)     \tPhase (\xB0)     \tDelay (s)";
constexpr const char* fra_three_channels =
    "Steps\tFrequency (Hz)\tMagnitude 1 (V)\tMagnitude 2 (V)\tGain (dB)     \tPhase (\xB0)     \tDelay (s)     "
    "\tMagnitude 3 (V)\tGain 2 (dB)    \tPhase 2 (\xB0)   \tDelay 2 (s)";

struct s_lcr_headers {
    int layout;  // 0: every other code
    const char* sweep;
    const char* eis;
};

#define LCR_FULL_COLUMNS                                                                                     \
    "Steps\tFrequency (Hz)\tQ factor    \tTan\xF0           \tZ magnitude (Ohm)\tZ phase (\xB0)\tSeries L (H)" \
    "\tSeries C (F)\tSeries R (Ohm)\tY magnitude (Ohm)\t Y phase (\xB0)\tParallel L (H)\tParallel C (F)"       \
    "\tParallel R (Ohm)"
#define LCR_IMPEDANCE_COLUMNS \
    "Steps\tFrequency (Hz)\tZ real (Ohm)\tZ quadratude (Ohm)\tZ magnitude (Ohm)\tZ Phase (\xB0)"
#define LCR_ADMITTANCE_COLUMNS "Steps\tFrequency (Hz)\tY real (S)\tY quadratude (S)\tY magnitude (S)\tY Phase (\xB0)"
#define LCR_BASIC_COLUMNS                                                                                 \
    "Steps\tFrequency (Hz)\tQ factor    \tTan\xF0           \tImpedance (Ohm)\tPhase (deg)\tParallel L (H)" \
    "\tParallel C (F)\tParallel R (Ohm)"
#define NYQUIST_COLUMNS "\tReal Z' (Ohm)\tImaginary Z\" (ohm)"

constexpr s_lcr_headers lcr_headers[] = {
    {LCR_LAYOUT_FULL, LCR_FULL_COLUMNS, LCR_FULL_COLUMNS NYQUIST_COLUMNS},
    {LCR_LAYOUT_IMPEDANCE, LCR_IMPEDANCE_COLUMNS, LCR_IMPEDANCE_COLUMNS NYQUIST_COLUMNS},
    {LCR_LAYOUT_ADMITTANCE, LCR_ADMITTANCE_COLUMNS, LCR_ADMITTANCE_COLUMNS NYQUIST_COLUMNS},
    {0, LCR_BASIC_COLUMNS, LCR_BASIC_COLUMNS NYQUIST_COLUMNS},
};

}  // namespace

const char* fra_export_header(bool three_channels)
{
    return three_channels ? fra_three_channels : fra_two_channels;
}

int fra_export_values(bool three_channels)
{
    return three_channels ? 10 : 6;
}

const char* lcr_export_header(int layout, bool eis)
{
    for (const s_lcr_headers& headers : lcr_headers) {
        if (headers.layout == layout || headers.layout == 0) {
            return eis ? headers.eis : headers.sweep;
        }
    }
    return nullptr;  // not reached: the last entry takes every code
}
