// What the generator monitor shows, as pure functions of the values it
// holds: the output status text and its colour, the waveform's name, the
// engineering number texts, the full scale of the waveform sketch and the
// RMS value. The Win32 monitor control draws these texts and the
// command-line tool prints them; neither computes anything of its own.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// One reading of the generator, as the monitor thread hands it on after each
// read (a copy: nothing in it points into the configuration model).
struct s_monitor_values {
    std::int16_t output_state = 0;  // parameter 7: 0 off, 1 on, 2 DC only, 3 phase reset
    std::int16_t waveform = 0;      // parameter 51, the model's stored value
    float amplitude = 0;            // parameter 49, peak volts
    float frequency = 0;            // parameter 48, hertz
    float amplitude_ceiling = 0;    // 15 on instrument type 9, 10 on the others
    float offset = 0;               // parameter 50, volts
    bool device_flag = false;       // parameter 122 is 1 or more: the output is halved
    float phase_reset = 0;          // parameter 56; read on type 7 with option 0 only
    bool has_phase_reset = false;   // phase_reset was read this time (else keep the last)
};

struct s_monitor_colour {
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
};

struct s_monitor_status {
    const char* text;  // padded to the width the control lays out
    s_monitor_colour colour;
};

// The output status line of an output state; any state not in the table
// (0 among them) shows as off.
s_monitor_status monitor_output_status(int output_state);

// The waveform's name (padded as the control lays it out) for the stored
// waveform value, which numbers the waveforms differently by instrument type
// and, outside type 9, by the connection's current option.
const char* monitor_waveform_name(int instrument_type, int current_option, int waveform);

// A number in the monitor's engineering form: the magnitude with `decimals`
// decimals and an SI prefix letter ("1.500k", "470.000u"; no sign), "0.000"
// style for 0, and outside pico to giga the signed value in exponent form
// with six decimals ("-1.234500e+012"). Infinities and NaN give "inf",
// "-inf" and "nan". decimals is held to 0..20.
std::string monitor_eng_text(double value, int decimals);

// A value text as atof reads it, as the float the monitor holds: 0 for a
// text without a number, and an infinity of the number's sign beyond the
// float range (an instrument may send 1E300). The monitor control reads the
// value texts of its messages so.
float monitor_number_of_text(const char* text);

// The full scale of the waveform sketch: 1 while |offset| + |peak| stays
// below 1, else 5 while it stays below 5, else the amplitude ceiling. Empty
// when the ceiling is not above 0 (no sketch scale is known yet).
std::optional<double> monitor_full_scale(double offset, double peak, double amplitude_ceiling);

// The RMS of the output: 0 while it is off (state 0), otherwise
// offset + A / sqrt(2) / D with A the peak (0 for DC only, state 2) and D 2
// when the device flag halves the output, else 1.
double monitor_rms(const s_monitor_values& values);

// Every text the monitor control draws, ready to draw.
struct s_monitor_texts {
    s_monitor_status status;
    const char* waveform_name;
    std::string peak;        // "%9sV", three decimals
    std::string frequency;   // "%8sHz", three decimals
    std::string full_scale;  // "%sV", one decimal; empty without a scale
    std::string rms;         // "RMS: %sV", three decimals
};
s_monitor_texts monitor_texts(const s_monitor_values& values, int instrument_type, int current_option);

// The texts as one line for a terminal, without the control's padding and
// with the control's labels: "Output: ON\tWaveform: Sine\tPeak: 1.500V\t
// Freq: 1.000kHz\tRMS: 1.061V" (no line end).
std::string monitor_line(const s_monitor_texts& texts);
