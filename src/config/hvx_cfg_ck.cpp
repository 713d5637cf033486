#include "config/hvx_cfg_ck.h"

#include <ostream>
#include <string>

#include "config/model_param_table.h"
#include "config/settings_report.h"
#include "config/value_translation_table.h"

hvx_cfg_ck::hvx_cfg_ck()
{
    define_model_params(*this, hvx_cfg_ck_param_rows());
}

hvx_cfg_ck::~hvx_cfg_ck() = default;

bool hvx_cfg_ck::write_param(int id, s_connection* conn, bool quiet)
{
    return write_param_with(id, conn, quiet, false);
}

void hvx_cfg_ck::read_param(int id, s_connection* conn, bool quiet, s_config_param* target)
{
    read_param_with(id, conn, quiet, target, false);
}

int hvx_cfg_ck::to_instrument_value(int id, int program_value, const s_translation_context& context) const
{
    return translate_to_instrument(hvx_cfg_ck_translations(), id, program_value, context);
}

int hvx_cfg_ck::to_program_value(int id, int instrument_value, const s_translation_context& context) const
{
    return translate_to_program(hvx_cfg_ck_translations(), id, instrument_value, context);
}

bool hvx_cfg_ck::translation_depends_on_mode(int id) const
{
    return translation_uses_mode(hvx_cfg_ck_translations(), id);
}

void hvx_cfg_ck::write_report(std::ostream& out) const
{
    const std::string text = settings_report_text(*this, hvx_cfg_ck_report_layout());
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
}
