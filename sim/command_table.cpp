#include "sim/command_table.h"

#include "sim/config_commands.h"
#include "sim/identity_commands.h"
#include "sim/sweep_commands.h"

namespace hvxsim {

namespace {

constexpr command_entry commands[] = {
    {"*IDN?", identity_query},
    {"*ESR?", event_status_query},
    {"SUSPEN,ON", suspend_on},
    {"SUSPEN,OFF", suspend_off},
    {"config,{n}?", config_query},
    {"config,{n},{text}", config_write_retuning},
    {"DAV?", data_ready_query},
    {"out,on", output_on},
    {"start", sweep_start},
    {"*wai", wait_for_point},
    {"gainph,sweep?", transfer_sweep_query},
    {"fra?", transfer_reading_query},
    {"LCR,SWEEP?", impedance_sweep_query},
    {"lcr?", impedance_reading_query},
};

}  // namespace

std::span<const command_entry> command_table()
{
    return commands;
}

}  // namespace hvxsim
