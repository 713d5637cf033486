// The EIS view's three result fields "Rs", "Rp" and "Cp" as UTF-8 text: the
// Ohm sign (U+03A9) has no Windows-1252 byte, so these texts are Unicode,
// shown by the window layer through the system's wide-character calls and
// printed as they are by the command-line tool on a UTF-8 terminal.
#pragma once

#include <string>

#include "impedance/eis_analysis.h"

inline constexpr const char* EIS_OHM_SIGN = "\xCE\xA9";  // U+03A9 in UTF-8

struct s_eis_texts {
    std::string rs;
    std::string rp;
    std::string cp;
};

// "%0.4f Ω" of rs and of rp, "%0.4E F" of cp (through the exponent helper).
// When any of the three is 0 or not finite (degenerate data), all three are
// "0". The full number is always written, however large.
s_eis_texts eis_result_texts(const eis_result& result);

// What the fields show for the view's state: empty after a reset, the result
// texts once calculated.
s_eis_texts eis_shown_texts(const eis_state& state);
