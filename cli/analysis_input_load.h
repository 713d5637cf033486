// Loading the sweep a tool analysis runs on, with the tool's messages for a
// file the analyses cannot use.
#pragma once

#include <memory>
#include <string>

#include "cli_context.h"
#include "fra/sweep_records.h"

// An impedance sweep from an import file or an LCR sweep data file; nullptr
// (the reason printed) when the file is refused or holds no rows.
std::unique_ptr<s_lcr_sweep> load_lcr_analysis_input(const cli_context& context, const std::string& path,
                                                     int& layout);
// An FRA sweep data file; nullptr (the reason printed) likewise.
std::unique_ptr<s_fra_sweep> load_fra_analysis_input(const cli_context& context, const std::string& path);
