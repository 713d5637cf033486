#include "sim/command_table.h"

#include "sim/config_commands.h"
#include "sim/identity_commands.h"

namespace hvxsim {

namespace {

constexpr command_entry commands[] = {
    {"*IDN?", identity_query},
    {"*ESR?", event_status_query},
    {"SUSPEN,ON", suspend_on},
    {"SUSPEN,OFF", suspend_off},
    {"config,{n}?", config_query},
    {"config,{n},{text}", config_write},
};

}  // namespace

std::span<const command_entry> command_table()
{
    return commands;
}

}  // namespace hvxsim
