// The check of hand-typed ranges on the logarithmic axes of an impedance
// graph, run before its settings are applied or saved. Each axis that is
// logarithmic with a manual range must keep both ends within 1e-6 to 1e8;
// linear axes and automatic ranges pass with any values.
#pragma once

#include <string>

#include "graph/graph_settings.h"

class user_prompt;

// The first range the record breaks, as the message shown (the horizontal
// axis, then plot A, then plot B; on each the minimum and maximum against the
// lower limit, then against the upper one); "" when none.
std::string log_range_problem(const s_graph_settings& record);

// Shows the first problem with the caption "Out of Range" and refuses the
// record (false), or accepts it (true) showing nothing.
bool validate_log_ranges(const s_graph_settings& record, user_prompt& prompt);
