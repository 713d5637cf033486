// The configuration model of HVX families A and B (instrument type 7), also
// used for every instrument type other than 9. It adds no data to the base:
// its constructor defines the parameters of its table, its transfers
// translate choice values between the program's and the instrument's
// numbering, and it writes the settings report by its layout.
#pragma once

#include "config/instrument_config.h"

struct s_translation_tables;

class hvx_cfg_ak : public instrument_config {
public:
    hvx_cfg_ak();
    ~hvx_cfg_ak() override;

    // The base transfers with this model's translation; the value goes to
    // the debug output, not the comms log.
    bool write_param(int id, s_connection* conn, bool quiet) override;
    void read_param(int id, s_connection* conn, bool quiet, s_config_param* target = nullptr) override;

    int to_instrument_value(int id, int program_value, const s_translation_context& context) const override;
    int to_program_value(int id, int instrument_value, const s_translation_context& context) const override;
    bool translation_depends_on_mode(int id) const override;

    // The settings report by this model's layout (settings_report.h); the
    // stream-pointer and file forms of the base write the same text.
    using instrument_config::write_report;
    void write_report(std::ostream& out) const override;
};

// The model's translation rules (hvx_cfg_ak_translation_table.cpp).
const s_translation_tables& hvx_cfg_ak_translations();
