// The four configuration objects of the process (two of each family model)
// and the two selectors every other part uses: current_config (windows,
// sweeps, exports, transfers) and monitor_config (the generator monitor's
// reads, so they never disturb current_config).
#pragma once

class instrument_config;

extern instrument_config* current_config;
extern instrument_config* monitor_config;

// Creates the four objects once per process; current_config then points to
// the first family A object and monitor_config to the second.
void config_objects_create();
// Re-selects both pointers after a connection: type 9 selects the family C
// pair, any other type the family A pair.
void config_select_for_type(int instrument_type);
