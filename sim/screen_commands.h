// Handlers for the screen commands, which every instrument answers.
//
//   SCREEN?              the picture in the monochrome form: one line a
//                        pixel row from the top, "M:" and width / 8 bytes
//                        as two hexadecimal digits each (upper case on even
//                        rows, lower case on odd ones); in each byte the
//                        leftmost of its 8 pixels is the least significant
//                        bit, and a set bit is a dark pixel
//   SCREEN,COLOUR?       the colour form: four lines a pixel row from the
//                        top, "C0" to "C3" and width / 4 characters of one
//                        pixel each, the character 0x40 plus the pixel's
//                        levels (red in bits 5-4, green 3-2, blue 1-0)
//   SCREEN,GROUP1?       and SCREEN,COLOUR,GROUP1?: as the plain forms
//   SCREEN,GROUP2?       and SCREEN,COLOUR,GROUP2?: the picture's negative
//                        (every level turned over), so that a reader can
//                        tell the two groups apart
//   0x19                 (the byte, as a line of its own) ends a reader's
//                        recovery after the reset byte; never answered
//
// The screen knobs shape every screen reply (screen_state.h); the lines
// are spaced like the measurement replies' under --slow-lines-ms, so a
// reset drops the rest.
#pragma once

#include "sim/command_table.h"
#include "sim/screen_state.h"

namespace hvxsim {

reply_lines screen_query(command_context& context);
reply_lines screen_negative_query(command_context& context);
reply_lines colour_screen_query(command_context& context);
reply_lines colour_screen_negative_query(command_context& context);
reply_lines end_of_dump(command_context& context);

// The reply forms, before the knobs.
reply_lines mono_screen_lines(const screen_picture& picture, bool negative);
reply_lines colour_screen_lines(const screen_picture& picture, bool negative);

// The lines as the screen knobs shape them; note says what was done.
reply_lines shaped_screen(reply_lines lines, const screen_state& screen, std::string& note);

}  // namespace hvxsim
