#include "sim/instrument.h"

#include <utility>

#include "sim/command_table.h"

namespace hvxsim {

instrument::instrument(instrument_state initial, std::vector<reply_override> overrides)
    : state_(std::move(initial)), overrides_(std::move(overrides))
{
}

reply_lines instrument::execute(std::string_view line)
{
    if (const reply_override* forced = find_override(overrides_, line))
        return forced->lines;

    command_args args;
    for (const command_entry& entry : command_table()) {
        if (match_command(entry.pattern, line, args)) {
            std::lock_guard lock(mutex_);
            command_context context{state_, args};
            return entry.handler(context);
        }
    }
    return {};
}

instrument_state instrument::snapshot() const
{
    std::lock_guard lock(mutex_);
    return state_;
}

}  // namespace hvxsim
