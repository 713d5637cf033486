// The parameter name tables of every instrument type: the number of named
// numbers each table has (a dropped or duplicated entry changes it), and spot
// checks at the first, last and some middle numbers that catch a shifted table.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/parameter_names.h"

namespace {

int named_count(const char* const* names)
{
    int n = 0;
    for (int i = 0; i < PARAMETER_NAME_COUNT; ++i) {
        n += !parameter_unused(names[i]);
    }
    return n;
}

struct name_check {
    int number;
    const char* name;
};

struct table_case {
    std::vector<int> types;  // the types that share the table
    int named;
    std::vector<name_check> checks;
};

TEST(ConfigNames, EveryTableHasItsNamesAtTheirNumbers)
{
    const char* unused = UNUSED_PARAMETER_NAME;
    const table_case cases[] = {
        {{7},
         98,
         {{1, "Operation Mode"}, {2, unused}, {3, "Bandwidth"}, {10, unused}, {24, "Input"}, {25, "Input"},
          {38, unused}, {39, "Phase reference"}, {96, "Window"}, {121, "Parameter"}, {151, "Min cycles"},
          {177, "Parameter"}, {195, "Lower limit"}, {196, unused}}},
        {{9},
         131,
         {{1, "Operation Mode"}, {2, unused}, {26, "Input"}, {29, "Minimum range"}, {54, "Amplitude dBm"},
          {79, "Temperature"}, {101, "Harmonic Series up to"}, {118, unused}, {153, unused}, {154, unused},
          {181, "Phase Offset"}, {198, unused}, {208, "Timebase"}, {223, "Frequency step"}, {224, unused}}},
        {{13},
         19,
         {{1, "Mode"}, {2, unused}, {10, "Language"}, {44, "Voltage Waveform"}, {56, "L-N Voltage adjust ?"},
          {80, "Sense"}, {111, "Mode"}, {112, unused}}},
        {{1, 6},
         125,
         {{1, "Mode"}, {3, unused}, {4, "Auto Zero"}, {69, "Minimum Frequency"}, {101, "Harmonic series up to"},
          {132, "Run Time"}, {144, "Rectified Mean"}, {176, "Voltage Input"}, {214, "Phase 3 Reference"},
          {215, unused}}},
        {{2, 3},
         112,
         {{1, "Mode"}, {3, "Master/Slave"}, {36, unused}, {50, "Prog 1-6 Direct Download"}, {95, "Offset 1"},
          {128, "Switch Phase Offset"}, {183, "Bandwidth"}, {211, "Current Shunt"}, {212, unused}}},
        {{4},
         144,
         {{1, "Mode"}, {2, unused}, {23, "Time Reference"}, {71, "Frequency Filter"}, {103, "Current Rating"},
          {136, "Watts"}, {209, "Scale factor"}, {219, "ADI Adjust"}, {228, "Extern. System Scaling"},
          {229, unused}}},
        {{5},
         158,
         {{1, "Mode"}, {2, unused}, {81, "Sum Watts"}, {98, "HARM key function"}, {109, "Trigger Polarity"},
          {139, "Phase Offset"}, {166, "Power Factor"}, {175, "Power"}, {228, "Extern. System Scaling"},
          {229, unused}}},
        {{16},
         141,
         {{1, "Mode"}, {2, unused}, {22, "Independent Range"}, {73, "Low Frequency"},
          {104, "Current Bargraph Scale"}, {138, "Measurement"}, {228, "Extern. System Scaling"},
          {234, "Location"}, {235, unused}}},
    };
    for (const table_case& c : cases) {
        const char* const* names = parameter_names_for_type(c.types.front());
        SCOPED_TRACE("type " + std::to_string(c.types.front()));
        ASSERT_NE(names, nullptr);
        for (int type : c.types) {
            EXPECT_EQ(parameter_names_for_type(type), names) << "type " << type << " shares the table";
        }
        EXPECT_EQ(named_count(names), c.named);
        EXPECT_STREQ(names[0], unused);
        EXPECT_STREQ(names[255], unused);
        for (const name_check& check : c.checks) {
            EXPECT_STREQ(names[check.number], check.name) << "number " << check.number;
        }
    }
}

TEST(ConfigNames, TypesWithoutATable)
{
    for (int type : {0, 8, 10, 11, 12, 14, 15, 17, 9999, -1}) {
        EXPECT_EQ(parameter_names_for_type(type), nullptr) << type;
    }
}

TEST(ConfigNames, UnusedIsExactAndCaseSensitive)
{
    EXPECT_TRUE(parameter_unused("Unused"));
    EXPECT_TRUE(parameter_unused(nullptr));
    EXPECT_FALSE(parameter_unused("unused"));
    EXPECT_FALSE(parameter_unused("Unused "));
    EXPECT_FALSE(parameter_unused(""));
}

}  // namespace
