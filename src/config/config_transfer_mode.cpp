// The mode commands: one line that sets parameter 1 (operation mode) and the
// instrument's display together. Both numbers mean the same mode in the
// program's numbering and the instrument's, so no translation applies.
#include "config/config_transfer.h"
#include "link/connection.h"

namespace {

struct mode_command_row {
    instrument_mode_view view;
    const char* command;
};

constexpr mode_command_row mode_commands[] = {
    {instrument_mode_view::fra, CONFIG_MODE_FRA_COMMAND},
    {instrument_mode_view::lcr, CONFIG_MODE_LCR_COMMAND},
};

}  // namespace

const char* config_mode_command(instrument_mode_view view)
{
    for (const mode_command_row& row : mode_commands) {
        if (row.view == view) {
            return row.command;
        }
    }
    return nullptr;
}

bool config_send_mode_command(s_connection* conn, instrument_mode_view view)
{
    const char* command = config_mode_command(view);
    if (!command) {
        return false;
    }
    if (link_open(conn) != 0) {
        link_close(conn);
        return false;
    }
    link_send(conn, command);
    link_close(conn);
    return true;
}
