// Scaling by a power of ten with plain IEEE arithmetic, so the Linux and
// Windows builds get the same bits (the runtimes' pow() need not agree to the
// last place). Positive powers multiply, negative powers divide by the exact
// power: 10 scaled by -6 is exactly the double 1e-5, which multiplying by the
// inexact 1e-6 would miss.
#pragma once

// x * 10^power. Powers up to 22 in size take one correctly rounded operation;
// larger ones take steps of 10^22. Results that leave the double range become
// infinity or zero rather than passing through an infinite power.
double scale_by_power_of_ten(double x, int power);
