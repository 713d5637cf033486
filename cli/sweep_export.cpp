#include "sweep_export.h"

#include <cstdio>

#include "config/settings_report.h"
#include "export/export_preamble.h"
#include "export_setup.h"

namespace {

template <typename Export>
int export_to(cli_context& context, const s_number_format& format, const instrument_config& config,
              const std::string& path, Export&& run_export)
{
    const std::string preamble =
        export_preamble_text(export_identity_of(*context.connection), settings_report(config));
    const auto exporter = make_cli_export(context, format, preamble);
    exporter->destination.file = path;
    if (!run_export(*exporter->run)) {
        std::fprintf(context.err, "Unable to write the export file %s\n", path.c_str());
        return CLI_FAILED;
    }
    return CLI_OK;
}

}  // namespace

int export_fra_sweep(cli_context& context, const s_number_format& format, const instrument_config& config,
                     const s_fra_sweep& sweep, const std::string& path)
{
    return export_to(context, format, config, path, [&](s_export_run& run) {
        return export_fra_sweep_text(run, sweep, sweep.points > 0).has_value();
    });
}

int export_lcr_sweep(cli_context& context, const s_number_format& format, const instrument_config& config,
                     const s_lcr_sweep& sweep, int layout, bool eis, const std::string& path)
{
    return export_to(context, format, config, path, [&](s_export_run& run) {
        return (eis ? export_eis_sweep_text(run, sweep, layout, sweep.points > 0)
                    : export_lcr_sweep_text(run, sweep, layout))
            .has_value();
    });
}
