// The single-sweep text export after a tool sweep ("sweep ... --export"):
// the FRA or LCR (or, with --eis, the EIS) export of the sweep just taken,
// with the preamble of the connected instrument and the configuration read
// for the sweep, into the file named.
#pragma once

#include <string>

#include "app/number_format_settings.h"
#include "cli_context.h"
#include "fra/sweep_records.h"

class instrument_config;

int export_fra_sweep(cli_context& context, const s_number_format& format, const instrument_config& config,
                     const s_fra_sweep& sweep, const std::string& path);
int export_lcr_sweep(cli_context& context, const s_number_format& format, const instrument_config& config,
                     const s_lcr_sweep& sweep, int layout, bool eis, const std::string& path);
