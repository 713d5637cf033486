// The column header lines of the text exports (Windows-1252, without the
// line end), chosen by what the sweep holds.
#pragma once

// FRA sweeps: 11 columns for a three-channel sweep, else 7.
const char* fra_export_header(bool three_channels);
// Values of an FRA point each row writes: 10 or 6.
int fra_export_values(bool three_channels);

// LCR sweeps by the LCR result layout code (6, 7, 8, any other); with eis the
// two Nyquist columns Real Z' and Imaginary Z'' follow.
const char* lcr_export_header(int layout, bool eis);

// Stored tests: step, frequency, gain and phase.
inline constexpr const char* TEST_EXPORT_HEADER = "Steps\tFrequency (Hz)\tGain (dB)     \tPhase (\xB0)";
