// The simulator's configuration data on its own: the instrument's number
// texts, the shape of the family tables and models, and spot checks of the
// tables against the instrument's documented parameters (first, last and a
// few in between, so a shifted or mistyped row shows).
#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "sim/config_models.h"
#include "sim/config_number_text.h"
#include "sim/config_store.h"
#include "sim/config_tables.h"
#include "sim/identity_presets.h"

namespace {

using namespace hvxsim;

TEST(HvxsimConfigText, CompactExponentForm)
{
    struct text_case {
        double value;
        const char* text;
    };
    const text_case cases[] = {
        {1000, "1.0000E3"},       {0, "0.0000E0"},          {-0.0, "0.0000E0"},     {0.001, "1.0000E-3"},
        {25, "2.5000E1"},         {-4.5, "-4.5000E0"},      {1, "1.0000E0"},        {0.2, "2.0000E-1"},
        {9.99996, "1.0000E1"},    {123456, "1.2346E5"},     {0.00001, "1.0000E-5"}, {35000000, "3.5000E7"},
        {-1.5e-300, "-1.5000E-300"}, {NAN, "0.0000E0"},     {INFINITY, "0.0000E0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(compact_exponent_text(c.value), c.text) << c.value;
    for (double extreme : {DBL_MAX, -DBL_MAX, DBL_MIN, -DBL_TRUE_MIN})
        EXPECT_LE(compact_exponent_text(extreme).size(), 18u) << extreme;
}

TEST(HvxsimConfigText, StrictNumberReaders)
{
    struct read_case {
        const char* text;
        std::optional<double> whole;  // nothing: not a whole number
        std::optional<double> real;   // nothing: not a number
    };
    const read_case cases[] = {
        {"0", 0, 0},
        {"7", 7, 7},
        {"-1", -1, -1},
        {"2000", 2000, 2000},
        {"1.0000E3", std::nullopt, 1000},
        {"-0.5", std::nullopt, -0.5},
        {"2e-3", std::nullopt, 0.002},
        {".5", std::nullopt, 0.5},
        {"+7", std::nullopt, 7},
        {"1.0", std::nullopt, 1},
        {"", std::nullopt, std::nullopt},
        {" 1", std::nullopt, std::nullopt},
        {"1 ", std::nullopt, std::nullopt},
        {"-", std::nullopt, std::nullopt},
        {"abc", std::nullopt, std::nullopt},
        {"inf", std::nullopt, std::nullopt},
        {"nan", std::nullopt, std::nullopt},
        {"1e", std::nullopt, std::nullopt},
        {"--1", std::nullopt, std::nullopt},
        {"+-1", std::nullopt, std::nullopt},
        {"1,5", std::nullopt, std::nullopt},
        {"0x10", std::nullopt, std::nullopt},
        {"1e400", std::nullopt, std::nullopt},
        {"9999999999999999", std::nullopt, 9999999999999999.0},  // too long to be exact as a choice
    };
    for (const auto& c : cases) {
        double whole = -99;
        double real = -99;
        const bool is_whole = parse_whole_number(c.text, whole);
        const bool is_real = parse_real_number(c.text, real);
        EXPECT_EQ(is_whole, c.whole.has_value()) << '"' << c.text << '"';
        EXPECT_EQ(is_real, c.real.has_value()) << '"' << c.text << '"';
        if (c.whole && is_whole) {
            EXPECT_EQ(whole, *c.whole) << c.text;
        }
        if (c.real && is_real) {
            EXPECT_EQ(real, *c.real) << c.text;
        }
    }
}

bool contains(std::span<const int> values, double v)
{
    return std::find(values.begin(), values.end(), v) != values.end();
}

TEST(HvxsimConfigTables, EveryTableAndModelHoldsTogether)
{
    EXPECT_EQ(ak_parameters().size(), 101u);
    EXPECT_EQ(ck_parameters().size(), 137u);
    for (auto table : {ak_parameters(), ck_parameters()}) {
        for (std::size_t i = 0; i < table.size(); ++i) {
            const config_parameter& p = table[i];
            if (i > 0) {
                EXPECT_LT(table[i - 1].number, p.number) << "rows out of order or doubled at " << p.number;
            }
            EXPECT_GE(p.number, 1);
            EXPECT_LE(p.number, 255);
            EXPECT_FALSE(p.name.empty()) << p.number;
            EXPECT_TRUE(std::is_sorted(p.allowed.begin(), p.allowed.end())) << p.number;
            if (p.kind == config_kind::choice) {
                EXPECT_TRUE(p.min && p.max) << p.number;
            }
        }
    }

    for (const config_model& model : config_models()) {
        const config_store store(model);
        const std::string key(model.key);
        for (const config_override& row : model.overrides) {
            const auto family_row = std::find_if(model.parameters.begin(), model.parameters.end(),
                                                 [&](const config_parameter& p) { return p.number == row.number; });
            ASSERT_NE(family_row, model.parameters.end()) << key << " overrides " << row.number;
            EXPECT_EQ(row.kind, family_row->kind) << key << " " << row.number;
            EXPECT_EQ(store.find(row.number)->allowed.size(), row.allowed.size()) << key << " " << row.number;
        }
        // Power-up values are accepted, and the inputs mean something in
        // the power-up mode.
        for (const config_parameter& p : store.parameters())
            EXPECT_TRUE(accepts(p, p.initial)) << key << " " << p.number;
        const double mode = *store.value(operation_mode_parameter);
        for (const config_mode_rule& rule : model.mode_rules) {
            ASSERT_NE(store.find(rule.parameter), nullptr) << key << " " << rule.parameter;
            for (int v : rule.values)
                EXPECT_TRUE(accepts(*store.find(rule.parameter), v)) << key << " " << rule.parameter << "=" << v;
            for (int m : rule.modes)
                EXPECT_TRUE(accepts(*store.find(operation_mode_parameter), m)) << key << " mode " << m;
            if (contains(rule.modes, mode)) {
                EXPECT_TRUE(contains(rule.values, *store.value(rule.parameter))) << key << " " << rule.parameter;
            }
        }
    }

    // Every HVX preset has a model; the related products have none.
    for (const identity_preset& preset : identity_presets()) {
        const bool hvx = std::string_view(preset.key).starts_with("hvx");
        EXPECT_EQ(find_config_model(preset.configuration) != nullptr, hvx) << preset.key;
    }
}

struct spot_check {
    int number;
    const char* name;
    config_kind kind;
    std::optional<double> min;
    std::optional<double> max;
    std::vector<int> allowed;  // empty: every whole number from min to max (choices)
    double initial;
};

void expect_rows(std::span<const config_parameter> table, const std::vector<spot_check>& checks)
{
    for (const auto& c : checks) {
        const auto row = std::find_if(table.begin(), table.end(),
                                      [&](const config_parameter& p) { return p.number == c.number; });
        ASSERT_NE(row, table.end()) << c.number;
        EXPECT_EQ(row->name, c.name) << c.number;
        EXPECT_EQ(row->kind, c.kind) << c.number;
        EXPECT_EQ(row->min, c.min) << c.number;
        EXPECT_EQ(row->max, c.max) << c.number;
        EXPECT_EQ(std::vector<int>(row->allowed.begin(), row->allowed.end()), c.allowed) << c.number;
        EXPECT_EQ(row->initial, c.initial) << c.number;
    }
}

constexpr auto choice_kind = config_kind::choice;
constexpr auto real_kind = config_kind::real;
const std::optional<double> unlimited;

TEST(HvxsimConfigTables, FamilyAbRowsMatchTheInstrument)
{
    expect_rows(ak_parameters(), {
        {1, "Operation Mode", choice_kind, 0, 6, {}, 1},
        {2, "Interface", choice_kind, 0, 2, {}, 0},
        {12, "Window", real_kind, 0.01, 100, {}, 1},
        {18, "Steps", choice_kind, 2, 2000, {}, 50},
        {19, "Start", real_kind, 0.00001, 35000000, {}, 1000},
        {24, "Input", choice_kind, 0, 2, {}, 1},
        {38, "Number format", choice_kind, 0, 1, {}, 0},
        {50, "Offset", real_kind, -10, 10, {}, 0},
        {96, "Window", real_kind, 0.00065, 0.2, {}, 0.2},
        {121, "Parameter", choice_kind, 0, 11, {}, 0},
        {122, "Fixture", choice_kind, 0, 6, {0, 1, 2, 4, 6}, 0},
        {130, "Source", choice_kind, 0, 7, {0, 1, 2, 3, 6, 7}, 0},
        {131, "Load", choice_kind, 0, 7, {0, 1, 2, 3, 7}, 0},
        {133, "Input 2", choice_kind, 0, 7, {0, 1, 2, 3, 7}, 0},
        {151, "Min cycles", real_kind, 1, 100, {}, 1},
        {177, "Parameter", choice_kind, 0, 9, {}, 0},
        {190, "Tolerance", real_kind, 0.5, 50, {}, 5},
        {195, "Lower limit", real_kind, unlimited, unlimited, {}, 0},
    });
    EXPECT_EQ(ak_parameters().front().number, 1);
    EXPECT_EQ(ak_parameters().back().number, 195);
}

TEST(HvxsimConfigTables, FamilyCRowsMatchTheInstrument)
{
    expect_rows(ck_parameters(), {
        {1, "Operation Mode", choice_kind, 0, 7, {0, 1, 2, 3, 5, 6, 7}, 1},
        {2, "Language", choice_kind, 0, 1, {}, 0},
        {16, "Baud rate", choice_kind, 0, 4, {}, 0},
        {20, "End", real_kind, 0.00001, 50000000, {}, 100000},
        {24, "Input", choice_kind, 1, 3, {1, 2, 3}, 1},
        {26, "Input", choice_kind, 1, 3, {1, 2, 3}, 1},
        {29, "Minimum range", choice_kind, 0, 15, {}, 0},
        {41, "Attenuator", real_kind, unlimited, unlimited, {}, 1},
        {48, "Frequency", real_kind, 0.00001, 50000000, {}, 1000},
        {50, "Offset", real_kind, -15, 15, {}, 0},
        {92, "Rectified mean", choice_kind, 0, 1, {0, 1}, 0},
        {101, "Harmonic Series up to", real_kind, 2, 100, {}, 20},
        {122, "Device", choice_kind, 0, 4, {0, 4}, 0},
        {153, "Parameter 153", real_kind, 1, 30, {}, 1},
        {154, "Interface", choice_kind, 0, 2, {}, 0},
        {198, "Number format", choice_kind, 0, 1, {}, 0},
        {208, "Timebase", real_kind, 0.00001499, 5, {}, 0.001},
        {219, "Amplitude ceiling", real_kind, 0, 15, {}, 15},
        {223, "Frequency step", real_kind, unlimited, unlimited, {}, 0},
    });
    EXPECT_EQ(ck_parameters().front().number, 1);
    EXPECT_EQ(ck_parameters().back().number, 223);
}

TEST(HvxsimConfigTables, ModelsAdaptTheirFamilysLimits)
{
    struct model_case {
        const char* preset;
        std::vector<spot_check> rows;
    };
    const model_case cases[] = {
        {"hvxa", {{51, "Waveform", choice_kind, 0, 2, {0, 2}, 0},
                  {48, "Frequency", real_kind, 0.00001, 35000000, {}, 1000},
                  {190, "Tolerance", real_kind, 0.1, 50, {}, 5}}},
        {"hvxab", {{51, "Waveform", choice_kind, 0, 4, {}, 0},
                   {48, "Frequency", real_kind, 0.00001, 1100000, {}, 1000},
                   {20, "End", real_kind, 0.00001, 1100000, {}, 100000},
                   {190, "Tolerance", real_kind, 0.5, 50, {}, 5}}},
        {"hvxb", {{19, "Start", real_kind, 0.00001, 1100000, {}, 1000}}},
        {"hvxc", {{84, "Input", choice_kind, 0, 0, {0}, 0}}},
        {"hvxcm", {{84, "Input", choice_kind, 0, 1, {}, 0}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.preset);
        const config_store store(*find_config_model(find_identity_preset(c.preset)->configuration));
        expect_rows(store.parameters(), c.rows);
    }
}

}  // namespace
