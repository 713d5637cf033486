// The EIS view's "Setup for CELL9A?" on a type-9 instrument: for the sweep
// the cell's own settings (parameter 25 at 0, 37 at "1.0", 40 at "0.47"),
// and the instrument's previous ones put back afterwards. The set-up lives
// as long as the run: it is undone exactly once when the object goes,
// however the sweep ended (completed, cancelled, failed or abandoned), so
// the instrument and the model never keep the cell's settings by accident.
// Construct and destroy it with the generator monitor stopped: both write
// to the instrument on a link of their own.
#pragma once

#include "config/instrument_config.h"

struct s_connection;

class cell9a_setup {
public:
    // Applies the set-up when wanted and the instrument is of type 9.
    cell9a_setup(instrument_config& config, s_connection* conn, bool wanted);
    ~cell9a_setup();
    cell9a_setup(const cell9a_setup&) = delete;
    cell9a_setup& operator=(const cell9a_setup&) = delete;

    bool applied() const { return applied_; }

private:
    void write_all();

    instrument_config& config_;
    s_connection* conn_;
    bool applied_;
    s_config_value kept_[3]{};
};
