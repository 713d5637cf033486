// Value translations of both family models, in both directions, per
// operation mode and current option. They are pure: the same parameter,
// value, mode and option always give the same result.
#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>

#include "config/hvx_cfg_ak.h"
#include "config/hvx_cfg_ck.h"
#include "link/connection.h"

namespace {

struct translation_case {
    int id;
    int mode;
    int option;
    int instrument;  // the instrument's value
    int program;     // the model's value
};

std::string describe(const translation_case& c)
{
    return "id " + std::to_string(c.id) + " mode " + std::to_string(c.mode) + " option " +
           std::to_string(c.option) + " instrument " + std::to_string(c.instrument) + " program " +
           std::to_string(c.program);
}

// Cases that hold in both directions.
void expect_both_ways(const instrument_config& model, std::initializer_list<translation_case> cases)
{
    for (const translation_case& c : cases) {
        const s_translation_context context{c.mode, c.option};
        EXPECT_EQ(model.to_program_value(c.id, c.instrument, context), c.program) << describe(c);
        EXPECT_EQ(model.to_instrument_value(c.id, c.program, context), c.instrument) << describe(c);
    }
}

void expect_reads(const instrument_config& model, std::initializer_list<translation_case> cases)
{
    for (const translation_case& c : cases) {
        EXPECT_EQ(model.to_program_value(c.id, c.instrument, {c.mode, c.option}), c.program) << describe(c);
    }
}

void expect_writes(const instrument_config& model, std::initializer_list<translation_case> cases)
{
    for (const translation_case& c : cases) {
        EXPECT_EQ(model.to_instrument_value(c.id, c.program, {c.mode, c.option}), c.instrument) << describe(c);
    }
}

TEST(ConfigTranslation, FamilyAChoicesWithGaps)
{
    hvx_cfg_ak ak;
    expect_both_ways(ak, {
        // id mode option instrument program
        {122, 1, 0, 0, 0}, {122, 1, 0, 2, 2}, {122, 1, 0, 4, 3}, {122, 1, 0, 6, 4},
        {130, 1, 0, 3, 3}, {130, 1, 0, 6, 4}, {130, 1, 0, 7, 5},
        {131, 1, 0, 3, 3}, {131, 1, 0, 7, 4},
        {133, 1, 0, 7, 4},
        {132, 1, 0, 3, 3},  // not translated
        // Waveform: the instrument's 2 is the program's 1 only with an option fitted.
        {51, 1, 1, 2, 1}, {51, 1, -1, 2, 1}, {51, 1, 1, 0, 0},
        {51, 1, 0, 2, 2}, {51, 1, 0, 1, 1},
    });
}

TEST(ConfigTranslation, FamilyAInputsPerMode)
{
    hvx_cfg_ak ak;
    expect_both_ways(ak, {
        // Modes 0 and 5 offer every input choice.
        {24, 0, 0, 2, 2}, {25, 0, 0, 2, 2}, {24, 5, 0, 1, 1}, {25, 5, 0, 0, 0},
        // The other modes skip the first; modes 2 and 3 skip two on input 25.
        {24, 1, 0, 1, 0}, {24, 3, 0, 2, 1}, {24, 6, 0, 3, 2}, {24, 7, 0, 1, 0},
        {25, 1, 0, 1, 0}, {25, 4, 0, 2, 1}, {25, 6, 0, 3, 2},
        {25, 2, 0, 2, 0}, {25, 3, 0, 2, 0}, {25, 3, 0, 4, 2},
        // A mode the table does not know behaves like the skipping modes.
        {24, -99, 0, 1, 0}, {25, 12, 0, 1, 0},
    });
}

TEST(ConfigTranslation, FamilyCOperationModeAndFoldedChoices)
{
    hvx_cfg_ck ck;
    expect_both_ways(ck, {
        {1, 0, 0, 0, 0}, {1, 0, 0, 3, 3}, {1, 0, 0, 5, 4}, {1, 0, 0, 6, 5}, {1, 0, 0, 7, 6},
        {122, 0, 0, 0, 0}, {122, 0, 0, 4, 1},
        {92, 0, 0, 0, 0}, {92, 0, 0, 1, 1},
    });
    expect_reads(ck, {
        {1, 0, 0, 4, 4},  // the instrument's mode 4 is not offered: it reads as 4 ...
        {92, 0, 0, 2, 1}, {92, 0, 0, 3, 1},
        {122, 0, 0, 1, 1}, {122, 0, 0, 2, 1},
    });
    expect_writes(ck, {
        {1, 0, 0, 5, 4},  // ... which writes back as 5
        {122, 0, 0, 4, 2}, {122, 0, 0, 4, -1},
        {92, 0, 0, 3, 3},
    });
}

TEST(ConfigTranslation, FamilyCInputsPerMode)
{
    hvx_cfg_ck ck;
    expect_both_ways(ck, {
        // Every input is one below the instrument in modes 0, 1, 4 and 6.
        {24, 0, 0, 1, 0}, {24, 1, 0, 3, 2}, {25, 4, 0, 2, 1}, {26, 6, 0, 3, 2}, {26, 0, 0, 1, 0},
        // Input 24 has a gap before its second choice in modes 2, 3 and 5.
        {24, 2, 0, 1, 0}, {24, 2, 0, 3, 1}, {24, 3, 0, 4, 2}, {24, 5, 0, 3, 1},
        // Inputs 25 and 26 skip two in modes 2 and 3 ...
        {25, 2, 0, 2, 0}, {25, 3, 0, 3, 1}, {26, 2, 0, 4, 2},
        // ... and have the gap in mode 5.
        {25, 5, 0, 1, 0}, {25, 5, 0, 3, 1}, {26, 5, 0, 4, 2},
    });
    expect_reads(ck, {{24, 2, 0, 2, 1}, {25, 5, 0, 2, 1}});
}

// The values a bulk read ends with when each input's reply is translated
// once the new mode is known: the single decrement of every input read, then
// the corrections for the mode that was read, in their order.
int ck_input_after_bulk_read(int id, int reply, int mode)
{
    int value = reply - 1;
    if (id == 24 && value >= 2 && (mode == 2 || mode == 3 || mode == 5)) {
        --value;
    }
    if (id != 24 && value >= 2 && mode == 5) {
        --value;
    }
    if (id != 24 && (mode == 2 || mode == 3)) {
        --value;
    }
    return value;
}

TEST(ConfigTranslation, FamilyCInputsMatchTheBulkReadCorrections)
{
    hvx_cfg_ck ck;
    for (int id : {24, 25, 26}) {
        for (int mode = 0; mode <= 7; ++mode) {
            for (int reply = 0; reply <= 3; ++reply) {
                EXPECT_EQ(ck.to_program_value(id, reply, {mode, 0}), ck_input_after_bulk_read(id, reply, mode))
                    << "id " << id << " mode " << mode << " reply " << reply;
            }
        }
    }
}

// Whatever the mode and option, a value the model holds goes to the
// instrument and comes back unchanged.
TEST(ConfigTranslation, WritingThenReadingKeepsEveryChoice)
{
    const std::unique_ptr<instrument_config> models[] = {std::make_unique<hvx_cfg_ak>(),
                                                         std::make_unique<hvx_cfg_ck>()};
    for (const auto& model : models) {
        for (int id : {1, 24, 25, 26, 51, 92, 122, 130, 131, 133}) {
            const s_config_param* r = model->record(id);
            for (int mode = 0; mode <= 7; ++mode) {
                for (int option : {0, 1}) {
                    for (int value = 0; value < static_cast<int>(r->options.size()); ++value) {
                        const s_translation_context context{mode, option};
                        const int sent = model->to_instrument_value(id, value, context);
                        EXPECT_EQ(model->to_program_value(id, sent, context), value)
                            << "id " << id << " mode " << mode << " option " << option << " value " << value;
                    }
                }
            }
        }
    }
}

TEST(ConfigTranslation, OnlyTheInputsDependOnTheMode)
{
    hvx_cfg_ak ak;
    hvx_cfg_ck ck;
    instrument_config bare;
    for (int id = -1; id <= 256; ++id) {
        EXPECT_EQ(ak.translation_depends_on_mode(id), id == 24 || id == 25) << id;
        EXPECT_EQ(ck.translation_depends_on_mode(id), id >= 24 && id <= 26) << id;
        EXPECT_FALSE(bare.translation_depends_on_mode(id));
        EXPECT_EQ(bare.to_program_value(id, 7, {3, 1}), 7);
        EXPECT_EQ(bare.to_instrument_value(id, 7, {3, 1}), 7);
    }
}

TEST(ConfigTranslation, ContextIsTheHeldModeAndTheConnectionsOption)
{
    hvx_cfg_ck ck;
    ck.set_value_int(1, 5);
    s_connection conn;
    conn.current_option = 2;
    const s_translation_context context = ck.translation_context(&conn);
    EXPECT_EQ(context.mode, 5);
    EXPECT_EQ(context.current_option, 2);
    EXPECT_EQ(ck.translation_context(nullptr).current_option, 0);

    // Translating reads and changes nothing in the model.
    ck.set_value_int(25, 2);
    ck.record(25)->changed = false;
    ck.to_program_value(25, 3, context);
    ck.to_program_value(1, 3, context);
    EXPECT_EQ(ck.get_value_int(25), 2);
    EXPECT_FALSE(ck.record(25)->changed);
}

TEST(ConfigTranslation, ExtremeValuesDoNotOverflow)
{
    hvx_cfg_ck ck;
    hvx_cfg_ak ak;
    EXPECT_EQ(ck.to_instrument_value(1, INT_MAX, {0, 0}), INT_MAX);
    EXPECT_EQ(ck.to_program_value(24, INT_MIN, {2, 0}), INT_MIN);
    EXPECT_EQ(ak.to_instrument_value(25, INT_MAX, {2, 0}), INT_MAX);
}

}  // namespace
