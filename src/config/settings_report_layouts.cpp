// The settings report layouts of the two family models. Family A's
// "Auxillary" heading lists parameter 140 twice, and both general sections
// hold 70 entries counting headings. In family C's numbering mode 4 is the
// harmonic analyser and mode 5 the vector voltmeter, the reverse of family A.
#include "config/settings_report.h"

namespace {

// hvx_cfg_ak
constexpr int ak_acquisition[] = {95, 13, 12, 151, 152, 39, 14, 15, 11, 58, 59, 3};
constexpr int ak_sweep[] = {19, 20, 18, 192, 55};
constexpr int ak_trim[] = {186, 188, 190};
constexpr int ak_auxiliary[] = {122, 140, 130, 132, 133, 131, 123, 124, 140};
constexpr int ak_output[] = {49, 57, 48, 50, 51, 53, 52, 7, 54};
constexpr int ak_channel1[] = {24, 36, 26, 28, 30, 32, 34};
constexpr int ak_channel2[] = {25, 37, 27, 29, 31, 33, 35};
constexpr int ak_system[] = {6, 5, 8, 9, 4, 119, 23, 117, 66, 116};

constexpr s_report_section ak_general[] = {
    {"Acquisition", ak_acquisition}, {"Sweep", ak_sweep},       {"Trim", ak_trim},
    {"Auxillary", ak_auxiliary},     {"Output", ak_output},     {"Channel1", ak_channel1},
    {"Channel2", ak_channel2},       {"System", ak_system},
};

constexpr int ak_rms_voltmeter[] = {1, 5};
constexpr int ak_frequency_response[] = {1, 150, 148, 149, 147};
constexpr int ak_power_meter[] = {1, 83};
constexpr int ak_lcr_meter[] = {1, 137, 22, 139, 141, 138, 145};
constexpr int ak_vector_voltmeter[] = {1, 177, 181, 178, 179, 180};
constexpr int ak_harmonic_analyser[] = {1, 99, 102, 100, 101, 103};
constexpr int ak_transformer_analyser[] = {1, 121, 127, 125, 126, 100, 102, 101};

constexpr std::span<const int> ak_modes[] = {
    ak_rms_voltmeter,    ak_frequency_response, ak_power_meter,          ak_lcr_meter,
    ak_vector_voltmeter, ak_harmonic_analyser,  ak_transformer_analyser,
};

// hvx_cfg_ck
constexpr int ck_acquisition[] = {84, 13, 12, 151, 152, 14, 15, 72, 11, 3};
constexpr int ck_sweep[] = {19, 20, 18, 192};
constexpr int ck_trim[] = {186, 188, 190};
constexpr int ck_auxiliary[] = {122, 140};
constexpr int ck_output[] = {51, 116, 49, 54, 53, 222, 219, 50, 48, 192, 52, 223, 220, 221, 7};
constexpr int ck_channel1[] = {24, 30, 27, 36, 39, 33};
constexpr int ck_channel2[] = {25, 31, 28, 37, 40, 34};
constexpr int ck_channel3[] = {26, 32, 29, 38, 41, 35};
constexpr int ck_system[] = {6, 67, 5, 9, 4, 66, 132, 131, 117};

constexpr s_report_section ck_general[] = {
    {"Acquisition", ck_acquisition}, {"Sweep", ck_sweep},       {"Trim", ck_trim},
    {"Auxillary", ck_auxiliary},     {"Output", ck_output},     {"Channel1", ck_channel1},
    {"Channel2", ck_channel2},       {"Channel3", ck_channel3}, {"System", ck_system},
};

constexpr int ck_rms_voltmeter[] = {1, 92};
constexpr int ck_frequency_response[] = {1, 13, 14, 15, 150, 93, 148, 149};
constexpr int ck_power_meter[] = {1, 88, 87, 100, 86};
constexpr int ck_lcr_meter[] = {1, 137, 22, 139, 141, 138, 145, 146};
constexpr int ck_harmonic_analyser[] = {1, 99, 100, 101, 111, 103, 104, 113, 114};
constexpr int ck_vector_voltmeter[] = {1, 177, 181, 178, 179, 180};
constexpr int ck_oscilloscope[] = {1, 208, 209, 212, 211, 216, 210, 215};

constexpr std::span<const int> ck_modes[] = {
    ck_rms_voltmeter,     ck_frequency_response, ck_power_meter,   ck_lcr_meter,
    ck_harmonic_analyser, ck_vector_voltmeter,   ck_oscilloscope,
};

constexpr s_report_layout ak_layout = {7, ak_general, ak_modes};
constexpr s_report_layout ck_layout = {9, ck_general, ck_modes};

}  // namespace

const s_report_layout& hvx_cfg_ak_report_layout()
{
    return ak_layout;
}

const s_report_layout& hvx_cfg_ck_report_layout()
{
    return ck_layout;
}
