#include "sim/screen_commands.h"

#include <algorithm>
#include <string>

namespace hvxsim {

namespace {

constexpr std::uint8_t all_levels = 0x3F;
constexpr char pixel_character_base = 0x40;
constexpr int lines_per_colour_row = 4;
constexpr int prefix_length = 2;

std::uint8_t shown(const screen_picture& picture, int x, int y, bool negative)
{
    const std::uint8_t pixel = picture.at(x, y);
    return negative ? static_cast<std::uint8_t>(all_levels - pixel) : pixel;
}

void add_note(std::string& note, const std::string& what)
{
    note += (note.empty() ? "" : "; ") + what;
}

// A screen reply to the context's instrument, shaped and spaced.
reply_lines reply(command_context& context, reply_lines lines)
{
    const screen_state& screen = context.state.screen;
    lines = shaped_screen(std::move(lines), screen, context.note);
    const std::chrono::milliseconds interval = context.state.measurement.line_interval;
    if (interval.count() > 0) {
        context.line_interval = interval;
        add_note(context.note, "lines " + std::to_string(interval.count()) + " ms apart (--slow-lines-ms)");
    }
    return lines;
}

}  // namespace

reply_lines mono_screen_lines(const screen_picture& picture, bool negative)
{
    static constexpr char upper[] = "0123456789ABCDEF";
    static constexpr char lower[] = "0123456789abcdef";
    reply_lines lines;
    lines.reserve(static_cast<std::size_t>(picture.height));
    for (int y = 0; y < picture.height; ++y) {
        const char* digits = y % 2 == 0 ? upper : lower;
        std::string line = "M:";
        for (int x0 = 0; x0 + 8 <= picture.width; x0 += 8) {
            unsigned byte = 0;
            for (int bit = 0; bit < 8; ++bit) {
                if (pixel_is_dark(shown(picture, x0 + bit, y, negative)))
                    byte |= 1u << bit;
            }
            line += digits[byte >> 4];
            line += digits[byte & 0xF];
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

reply_lines colour_screen_lines(const screen_picture& picture, bool negative)
{
    reply_lines lines;
    lines.reserve(static_cast<std::size_t>(picture.height) * lines_per_colour_row);
    const int per_line = picture.width / lines_per_colour_row;
    for (int y = 0; y < picture.height; ++y) {
        for (int quarter = 0; quarter < lines_per_colour_row; ++quarter) {
            std::string line = "C";
            line += static_cast<char>('0' + quarter);
            for (int i = 0; i < per_line; ++i)
                line += static_cast<char>(pixel_character_base + shown(picture, quarter * per_line + i, y, negative));
            lines.push_back(std::move(line));
        }
    }
    return lines;
}

reply_lines shaped_screen(reply_lines lines, const screen_state& screen, std::string& note)
{
    if (screen.short_line && *screen.short_line >= 1 && *screen.short_line <= lines.size()) {
        std::string& line = lines[*screen.short_line - 1];
        line.resize(prefix_length + (line.size() - prefix_length) / 2);
        add_note(note, "line " + std::to_string(*screen.short_line) + " cut short (--screen-short-line)");
    }
    if (screen.garble_line && *screen.garble_line >= 1 && *screen.garble_line <= lines.size()) {
        std::string& line = lines[*screen.garble_line - 1];
        line.replace(prefix_length, std::min<std::size_t>(2, line.size() - prefix_length), "??");
        add_note(note, "line " + std::to_string(*screen.garble_line) + " garbled (--screen-garble-line)");
    }
    if (screen.stop_after && *screen.stop_after < lines.size()) {
        lines.resize(*screen.stop_after);
        add_note(note, "screen reply stopped after line " + std::to_string(*screen.stop_after) +
                           " (--screen-stop-after)");
    }
    return lines;
}

reply_lines screen_query(command_context& context)
{
    return reply(context, mono_screen_lines(context.state.screen.picture, false));
}

reply_lines screen_negative_query(command_context& context)
{
    return reply(context, mono_screen_lines(context.state.screen.picture, true));
}

reply_lines colour_screen_query(command_context& context)
{
    return reply(context, colour_screen_lines(context.state.screen.picture, false));
}

reply_lines colour_screen_negative_query(command_context& context)
{
    return reply(context, colour_screen_lines(context.state.screen.picture, true));
}

reply_lines end_of_dump(command_context& context)
{
    context.note = "0x19: end of a screen reader's recovery, not answered";
    return {};
}

}  // namespace hvxsim
