// The family A/B parameter table. Choices start at 0 unless noted; the
// operation mode starts as frequency response analyser (1), so the inputs
// 24 and 25 start at a value that mode allows (1, voltage input). Reals
// start at a value within their limits.
#include "sim/config_tables.h"

namespace hvxsim {

namespace {

// Choices whose accepted values have gaps: the instrument skips numbers
// that belong to fixtures and windings this family does not have.
constexpr int fixtures[] = {0, 1, 2, 4, 6};
constexpr int sources[] = {0, 1, 2, 3, 6, 7};
constexpr int windings_or_none[] = {0, 1, 2, 3, 7};

constexpr double max_frequency = 35000000;

constexpr config_parameter parameters[] = {
    choice(1, "Operation Mode", 0, 6, 1),
    choice(2, "Interface", 0, 2),
    choice(3, "Bandwidth", 0, 2),
    choice(4, "Autozero", 0, 1),
    choice(5, "Low blanking", 0, 1),
    choice(6, "Phase convention", 0, 2),
    choice(7, "Output", 0, 3),
    choice(8, "Graph", 0, 1),
    choice(9, "Keyboard beep", 0, 1),
    choice(11, "Low frequency", 0, 1),
    real(12, "Window", 0.01, 100, 1),
    choice(13, "Speed", 0, 5),
    choice(14, "Filter", 0, 2),
    choice(15, "Filter dynamics", 0, 1),
    choice(16, "Baud rate", 0, 3),
    choice(18, "Steps", 2, 2000, 50),
    real(19, "Start", 0.00001, max_frequency, 1000),
    real(20, "End", 0.00001, max_frequency, 100000),
    choice(21, "Type", 0, 1),
    choice(22, "Conditions", 0, 2),
    choice(23, "Shunt", 0, 1),
    choice(24, "Input", 0, 2, 1),
    choice(25, "Input", 0, 2, 1),
    choice(26, "Minimum range", 0, 8),
    choice(27, "Minimum range", 0, 8),
    choice(28, "Autoranging", 0, 2),
    choice(29, "Autoranging", 0, 2),
    choice(30, "Coupling", 0, 1),
    choice(31, "Coupling", 0, 1),
    free_real(32, "Scale factor", 1),
    free_real(33, "Scale factor", 1),
    free_real(34, "External shunt", 1),
    free_real(35, "External shunt", 1),
    choice(36, "Connection", 0, 2),
    choice(37, "Connection", 0, 2),
    choice(38, "Number format", 0, 1),  // 2 (binary) is not accepted
    choice(39, "Phase reference", 0, 1),
    real(48, "Frequency", 0.00001, max_frequency, 1000),
    real(49, "Amplitude", 0, 10, 1),
    real(50, "Offset", -10, 10, 0),
    choice(51, "Waveform", 0, 4),
    free_real(52, "Frequency step"),
    free_real(53, "Amplitude step"),
    free_real(54, "Amplitude"),
    choice(55, "Gen. when complete", 0, 3),
    free_real(56, "Phase Reset"),
    real(57, "Ceiling", 0, 10, 10),
    choice(58, "Datalog", 0, 2),
    free_real(59, "Interval"),
    choice(64, "Frequency marker", 0, 2),
    free_real(65, "Marker 1"),
    choice(66, "Prog. 1-6 direct", 0, 2),
    choice(83, "Integration", 0, 1),
    choice(95, "Mode", 0, 3),
    real(96, "Window", 0.00065, 0.2, 0.2),
    choice(99, "Scan", 0, 2),
    real(100, "Harmonic", 2, 64, 2),
    real(101, "Harmonics", 2, 64, 20),
    choice(102, "Parameter", 0, 1),
    free_real(103, "Bargraph scale"),
    choice(116, "Control", 0, 1),
    choice(117, "Step message", 0, 1),
    choice(119, "Length unit", 0, 1),
    choice(121, "Parameter", 0, 11),
    choice_of(122, "Fixture", fixtures),
    choice(123, "Winding", 0, 4),
    choice(124, "Turns ratio", 0, 7),
    free_real(125, "Source"),
    free_real(126, "Load"),
    free_real(127, "Nominal"),
    choice_of(130, "Source", sources),
    choice_of(131, "Load", windings_or_none),
    choice(132, "Input 1", 0, 3),
    choice_of(133, "Input 2", windings_or_none),
    choice(137, "Parameter", 0, 4),
    choice(138, "Sweep", 0, 1),
    choice(139, "Graph", 0, 2),
    choice(140, "LCR head shunt", 0, 3),
    choice(141, "Graph", 0, 2),
    choice(145, "Connection", 0, 2),
    choice(147, "Graph", 0, 1),
    free_real(148, "Offset"),
    choice(149, "Gain/Phase margins", 0, 1),
    choice(150, "Ratio", 0, 1),
    real(151, "Min cycles", 1, 100, 1),
    real(152, "Delay", 0, 60, 0),
    choice(173, "Graph 2 scaling", 0, 1),
    free_real(174, "Upper limit", 1),
    free_real(175, "Lower limit"),
    choice(177, "Parameter", 0, 9),
    free_real(178, "Scale factor", 1),
    choice(179, "Null meter", 0, 2),
    free_real(180, "Upper limit", 1),
    free_real(181, "Offset"),
    choice(186, "AC Trim", 0, 2),
    free_real(188, "AC Level"),
    real(190, "Tolerance", 0.5, 50, 5),
    choice(192, "Step scale", 0, 1),
    choice(193, "Graph 1 scaling", 0, 1),
    free_real(194, "Upper limit", 1),
    free_real(195, "Lower limit"),
};

}  // namespace

std::span<const config_parameter> ak_parameters()
{
    return parameters;
}

}  // namespace hvxsim
