#include "sim/instrument.h"

#include <algorithm>
#include <utility>

#include "sim/command_table.h"

namespace hvxsim {

instrument::instrument(instrument_state initial, std::vector<reply_override> overrides)
    : state_(std::move(initial)), overrides_(std::move(overrides))
{
}

instrument_response instrument::respond(std::string_view line)
{
    instrument_response response;
    if (const reply_override* forced = find_override(overrides_, line)) {
        response.lines = forced->lines;
        response.line_ends = forced->line_ends;
        response.endless = forced->endless;
        if (forced->endless)
            response.notes.push_back(
                "endless reply: letters without a line end until the connection ends, a reset or the idle drop");
        return response;
    }

    std::lock_guard lock(mutex_);
    const auto now = clock_();
    command_args args;
    while (true) {
        const auto semicolon = line.find(';');
        const std::string_view command = line.substr(0, semicolon);
        for (const command_entry& entry : command_table()) {
            if (!match_command(entry.pattern, command, args))
                continue;
            command_context context{state_, args};
            context.now = now;
            reply_lines lines = entry.handler(context);
            response.lines.insert(response.lines.end(), std::make_move_iterator(lines.begin()),
                                  std::make_move_iterator(lines.end()));
            response.delay = std::max(response.delay, context.reply_delay);
            response.line_interval = std::max(response.line_interval, context.line_interval);
            if (!context.note.empty())
                response.notes.push_back(std::move(context.note));
            break;
        }
        if (semicolon == std::string_view::npos)
            break;
        line.remove_prefix(semicolon + 1);
    }
    return response;
}

void instrument::set_clock(clock_function clock)
{
    std::lock_guard lock(mutex_);
    clock_ = std::move(clock);
}

instrument_state instrument::snapshot() const
{
    std::lock_guard lock(mutex_);
    return state_;
}

}  // namespace hvxsim
