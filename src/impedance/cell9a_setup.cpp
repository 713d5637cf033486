#include "impedance/cell9a_setup.h"

#include "config/config_transfer.h"
#include "link/connection.h"

namespace {

constexpr int TYPE9 = 9;
constexpr int CELL_PARAMETERS[3] = {25, 37, 40};

}  // namespace

cell9a_setup::cell9a_setup(instrument_config& config, s_connection* conn, bool wanted)
    : config_(config), conn_(conn), applied_(wanted && conn->instrument_type == TYPE9)
{
    if (!applied_) {
        return;
    }
    for (int i = 0; i < 3; ++i) {
        kept_[i] = config_.get_value(CELL_PARAMETERS[i]);
    }
    config_.set_value_int(25, 0);
    config_.set_value_text(37, "1.0");
    config_.set_value_text(40, "0.47");
    write_all();
}

cell9a_setup::~cell9a_setup()
{
    if (!applied_) {
        return;
    }
    for (int i = 0; i < 3; ++i) {
        config_.set_value(CELL_PARAMETERS[i], kept_[i]);
    }
    write_all();
}

void cell9a_setup::write_all()
{
    if (link_open(conn_) == 0) {
        // Each write's own error is shown (not quiet); one failing does not
        // keep the others from being written.
        for (const int id : CELL_PARAMETERS) {
            try {
                config_.write_param(id, conn_, false);
            } catch (const config_transfer_error&) {
            }
        }
    }
    link_close(conn_);
}
