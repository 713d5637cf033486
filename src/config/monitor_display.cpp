// The generator monitor's texts, names, colours, full scale and RMS.
#include "config/monitor_display.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string_view>

#include "config/instrument_config.h"
#include "graph/exponent_text.h"
#include "graph/number_format.h"

namespace {

constexpr int FAMILY_C_TYPE = 9;
constexpr int MAX_DECIMALS = 20;
constexpr int SCIENTIFIC_DECIMALS = 6;
constexpr int TEXT_DECIMALS = 3;
constexpr int FULL_SCALE_DECIMALS = 1;
constexpr std::size_t PEAK_WIDTH = 9;
constexpr std::size_t FREQUENCY_WIDTH = 8;

struct status_row {
    int output_state;
    s_monitor_status status;
};
constexpr status_row status_rows[] = {
    {2, {" DC ON", {0x63, 0xB8, 0xFF}}},
    {3, {" PH RST", {0xFF, 0x83, 0xFA}}},
    {1, {"     ON", {0xDC, 0x14, 0x3C}}},
};
constexpr s_monitor_status status_off = {"    OFF", {0x00, 0xC9, 0x57}};

// Names by stored waveform value, from 0; a value past the end (or below 0)
// is the sine, which every table also names at 0.
constexpr const char* SINE = "     Sine";
constexpr const char* family_c_names[] = {SINE, "    Square", "  Triangle", "  Sawtooth", "    Pulse", "White noise"};
constexpr const char* option_0_names[] = {SINE, "  Triangle", "    Square", " Lead Saw", "Trail Saw"};
constexpr const char* other_option_names[] = {SINE, "    Square"};

template <std::size_t N>
const char* name_in(const char* const (&names)[N], int waveform)
{
    if (waveform < 0 || static_cast<std::size_t>(waveform) >= N) {
        return SINE;
    }
    return names[waveform];
}

// text right-aligned in width characters, as "%9s" writes it.
std::string right_aligned(const std::string& text, std::size_t width)
{
    return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

// text without the spaces that pad it on either side.
std::string trimmed(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

}  // namespace

s_monitor_status monitor_output_status(int output_state)
{
    for (const status_row& row : status_rows) {
        if (row.output_state == output_state) {
            return row.status;
        }
    }
    return status_off;
}

const char* monitor_waveform_name(int instrument_type, int current_option, int waveform)
{
    if (instrument_type == FAMILY_C_TYPE) {
        return name_in(family_c_names, waveform);
    }
    return current_option == 0 ? name_in(option_0_names, waveform) : name_in(other_option_names, waveform);
}

std::string monitor_eng_text(double value, int decimals)
{
    decimals = std::clamp(decimals, 0, MAX_DECIMALS);
    char buffer[64];
    if (value == 0) {
        std::snprintf(buffer, sizeof buffer, "%.*f", decimals, 0.0);
        return buffer;
    }
    // Infinities and NaN have no decade; they take the exponent form's texts.
    if (std::isfinite(value)) {
        const s_eng_split split = eng_split(std::fabs(value));
        if (const char* prefix = eng_prefix(split.power)) {
            std::snprintf(buffer, sizeof buffer, "%.*f%s", decimals, split.mantissa, prefix);
            return buffer;
        }
    }
    return exp_text(value, SCIENTIFIC_DECIMALS, false);
}

float monitor_number_of_text(const char* text)
{
    const double value = config_leading_double(text);
    if (std::fabs(value) > std::numeric_limits<float>::max()) {
        const float infinity = std::numeric_limits<float>::infinity();
        return value > 0 ? infinity : -infinity;
    }
    return static_cast<float>(value);
}

std::optional<double> monitor_full_scale(double offset, double peak, double amplitude_ceiling)
{
    if (!(amplitude_ceiling > 0)) {
        return std::nullopt;
    }
    // The largest excursion of the output from 0 volts.
    const double reach = std::fabs(offset) + std::fabs(peak);
    if (reach < 1) {
        return 1.0;
    }
    if (reach < 5) {
        return 5.0;
    }
    return amplitude_ceiling;
}

double monitor_rms(const s_monitor_values& values)
{
    if (values.output_state == 0) {
        return 0;
    }
    const double peak = values.output_state == 2 ? 0.0 : static_cast<double>(values.amplitude);
    const double divisor = values.device_flag ? 2.0 : 1.0;
    return static_cast<double>(values.offset) + peak / std::sqrt(2.0) / divisor;
}

s_monitor_texts monitor_texts(const s_monitor_values& values, int instrument_type, int current_option)
{
    s_monitor_texts texts;
    texts.status = monitor_output_status(values.output_state);
    texts.waveform_name = monitor_waveform_name(instrument_type, current_option, values.waveform);
    texts.peak = right_aligned(monitor_eng_text(values.amplitude, TEXT_DECIMALS), PEAK_WIDTH) + "V";
    texts.frequency = right_aligned(monitor_eng_text(values.frequency, TEXT_DECIMALS), FREQUENCY_WIDTH) + "Hz";
    if (const std::optional<double> scale =
            monitor_full_scale(values.offset, values.amplitude, values.amplitude_ceiling)) {
        texts.full_scale = monitor_eng_text(*scale, FULL_SCALE_DECIMALS) + "V";
    }
    texts.rms = "RMS: " + monitor_eng_text(monitor_rms(values), TEXT_DECIMALS) + "V";
    return texts;
}


std::string monitor_line(const s_monitor_texts& texts)
{
    return "Output: " + trimmed(texts.status.text) + "\tWaveform: " + trimmed(texts.waveform_name) +
           "\tPeak: " + trimmed(texts.peak) + "\tFreq: " + trimmed(texts.frequency) + "\t" + texts.rms;
}
