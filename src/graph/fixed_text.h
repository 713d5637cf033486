// Fixed-point number texts ("%.*f") that read the same in both builds: the
// infinities and not-a-number are spelled by non_finite_text, and the text
// is never cut, however many digits a huge value needs.
#pragma once

#include <string>

// value with decimals digits after the full stop, as "%.*f" writes it; a
// negative count of decimals is taken as 0, more than 100 as 100.
std::string fixed_text(double value, int decimals);
