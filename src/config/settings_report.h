// The settings report: the settings that matter for the current measurement
// mode as lines of comma-separated fields (heading, name, value), grouped
// under headings. The text exports put it into the preamble of every sweep
// file, right after the identity block.
//
// Each model has a fixed layout: a general section of headings, each with the
// parameters that follow it, and one list per operation mode (parameter 1)
// under the heading "Measurement settings". A heading is written without a
// line end, so it stands in the first column of its section's first line:
//   Acquisition,mode,normal
//   ,speed,medium
// Names come from the name table of the model's instrument type (7 or 9);
// values are display strings (option names, a real's text, a plain
// integer's digits). Names and values are lower case, headings keep theirs.
// The text is Windows-1252 with CR LF line ends.
#pragma once

#include <span>
#include <string>

class instrument_config;

// A heading and the parameter ids listed under it, in order.
struct s_report_section {
    const char* heading;
    std::span<const int> ids;
};

struct s_report_layout {
    int name_table_type;  // the instrument type whose name table labels the lines
    std::span<const s_report_section> general;
    std::span<const std::span<const int>> modes;  // indexed by the operation mode
};

inline constexpr const char* REPORT_MODE_HEADING = "Measurement settings";

// The layouts of the two family models (settings_report_layouts.cpp).
const s_report_layout& hvx_cfg_ak_report_layout();
const s_report_layout& hvx_cfg_ck_report_layout();

// The report of a model by a layout: the general section, then the list of
// the mode parameter 1 holds (nothing for a mode without a list).
std::string settings_report_text(const instrument_config& model, const s_report_layout& layout);

// The report a model writes through its own write_report ("" for a model
// without a report): the form callers that want the text use.
std::string settings_report(const instrument_config& model);
