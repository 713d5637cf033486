// The Piezo view's four result fields "R", "L", "C" and "Cp".
#pragma once

#include <string>

#include "impedance/piezo_analysis.h"

struct s_piezo_texts {
    std::string r;    // "R": r
    std::string l;    // "L": l
    std::string c;    // "C": c
    std::string c_p;  // "Cp": c_p
};

// Each value through format_eng ("10.000 ", "25.330 m"). When any of r, c,
// c_p and l is 0 (-0 included) or not finite, the data were degenerate and
// all four fields read "0". After a reset the view shows an empty
// s_piezo_texts instead.
s_piezo_texts piezo_result_texts(const piezo_result& result);
