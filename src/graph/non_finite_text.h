// The text every number formatter writes for infinities and not-a-number.
// Written here rather than left to the C runtime, whose spelling differs
// between builds (case, a sign on NaN).
#pragma once

// "inf", "-inf" or "nan" ("INF", "-INF", "NAN" when upper); the sign of a NaN
// is not shown.
const char* non_finite_text(double value, bool upper);
