// What the EIS view's three fields show, and the result's fields by name as
// the command-line tool prints them.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

#include "impedance/eis_result_fields.h"
#include "impedance/eis_texts.h"

namespace {

eis_result shown(double rs, double rp, double cp)
{
    eis_result r{};
    r.rs = rs;
    r.rp = rp;
    r.cp = cp;
    return r;
}

TEST(EisTexts, ValuesWithTheirUnitsOrZerosForDegenerateResults)
{
    const double inf = std::numeric_limits<double>::infinity();
    struct row {
        eis_result result;
        const char* rs;
        const char* rp;
        const char* cp;
    };
    const row rows[] = {
        {shown(10.00002, 99.99995, 1.0000123e-5), "10.0000 \u03A9", "99.9999 \u03A9", "1.0000E-005 F"},
        {shown(-0.25, 2000.0, 2.5e-7), "-0.2500 \u03A9", "2000.0000 \u03A9", "2.5000E-007 F"},
        {shown(0.0, 5.0, 1e-6), "0", "0", "0"},
        {shown(5.0, -0.0, 1e-6), "0", "0", "0"},
        {shown(5.0, 1.0, 0.0), "0", "0", "0"},
        {shown(5.0, 1.0, inf), "0", "0", "0"},
        {shown(-inf, 1.0, 1e-6), "0", "0", "0"},
        {shown(5.0, std::nan(""), 1e-6), "0", "0", "0"},
    };
    for (const row& r : rows) {
        const s_eis_texts texts = eis_result_texts(r.result);
        EXPECT_EQ(texts.rs, r.rs);
        EXPECT_EQ(texts.rp, r.rp);
        EXPECT_EQ(texts.cp, r.cp);
    }
    // The whole number is written, however long.
    const s_eis_texts huge = eis_result_texts(shown(1e300, 1.0, 1.0));
    EXPECT_EQ(huge.rs.size(), 301 + 5 + 3u);  // digits, ".0000", " " and the two bytes of the sign
    EXPECT_EQ(huge.rs.substr(0, 4), "1000");
}

TEST(EisTexts, FieldsAreEmptyUntilCalculated)
{
    eis_state state;
    state.result = shown(1.0, 2.0, 3.0);
    EXPECT_EQ(eis_shown_texts(state).rs, "");
    EXPECT_EQ(eis_shown_texts(state).cp, "");
    state.calculated = true;
    EXPECT_EQ(eis_shown_texts(state).rp, "2.0000 \u03A9");
}

TEST(EisResultFields, EveryFieldInOrderWithTextsThatReadBack)
{
    eis_result r{};
    r.min_real_index = 7;
    r.arc_end_index = 1999;
    r.peak_index = 42;
    r.min_real = 0.1 + 0.2;  // needs 17 digits
    r.max_real = 110.0;
    r.max_imaginary = -50.123456789012345;
    r.peak_frequency = 159.15494309189535;
    r.rs = -0.0;
    r.rp = 1e-300;
    r.cp = std::numeric_limits<double>::infinity();
    r.arc_end_found = true;
    const char* names[EIS_RESULT_FIELDS] = {"min_real_index", "arc_end_index", "peak_index", "min_real",
                                            "max_real", "max_imaginary", "peak_frequency", "rs", "rp", "cp",
                                            "min_real_found", "arc_end_found", "peak_found"};
    const char* texts[EIS_RESULT_FIELDS] = {"7", "1999", "42", "0.30000000000000004", "110",
                                            "-50.123456789012344", "159.15494309189535", "-0", "1e-300", "inf",
                                            "0", "1", "0"};
    for (int i = 0; i < EIS_RESULT_FIELDS; ++i) {
        EXPECT_STREQ(eis_result_fields[i].name, names[i]);
        EXPECT_EQ(eis_field_text(r, eis_result_fields[i]), texts[i]) << names[i];
    }
    // Small numbers in the exponent helper's form still read back exactly.
    r.cp = 1.2345678901234567e-7;
    const std::string cp_text = eis_field_text(r, eis_result_fields[9]);
    EXPECT_EQ(cp_text, "1.2345678901234566e-007");
    EXPECT_EQ(std::strtod(cp_text.c_str(), nullptr), r.cp);
}

}  // namespace
