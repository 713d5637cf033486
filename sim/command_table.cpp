#include "sim/command_table.h"

#include "sim/config_commands.h"
#include "sim/identity_commands.h"
#include "sim/screen_commands.h"
#include "sim/sweep_commands.h"

namespace hvxsim {

namespace {

constexpr command_entry commands[] = {
    {"*IDN?", identity_query},
    {"*ESR?", event_status_query},
    {"SUSPEN,ON", suspend_on},
    {"SUSPEN,OFF", suspend_off},
    {"SUSPEND,ON", suspend_on},
    {"SUSPEND,OFF", suspend_off},
    {"SCREEN?", screen_query},
    {"SCREEN,GROUP1?", screen_query},
    {"SCREEN,GROUP2?", screen_negative_query},
    {"SCREEN,COLOUR?", colour_screen_query},
    {"SCREEN,COLOUR,GROUP1?", colour_screen_query},
    {"SCREEN,COLOUR,GROUP2?", colour_screen_negative_query},
    {"\x19", end_of_dump},
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
