// Graph settings files on the portable profile store: what a missing file or
// key gives for each graph kind, the exact text written, round trips and
// values the program did not write.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "app/path_text.h"
#include "app/profile_store.h"
#include "app/settings.h"
#include "graph/graph_settings_file.h"
#include "support/file_bytes.h"
#include "support/folder_settings_environment.h"
#include "support/graph_settings_compare.h"
#include "support/temp_folder.h"

namespace {

// A record whose every byte differs from what loading sets, so a field the
// load forgets shows.
s_graph_settings scribbled_record()
{
    s_graph_settings record;
    std::memset(static_cast<void*>(&record), 0x5A, sizeof record);
    for (int p = 0; p < GRAPH_PLOTS; ++p) {
        record.pad_percent[p] = false;
        record.range_flip[p] = false;
        record.cursor[p] = false;
    }
    record.x_pad_percent = true;
    record.x_range_flip = true;
    return record;
}

s_graph_settings expected_defaults(int kind)
{
    s_graph_settings d{};
    for (int p = 0; p < GRAPH_PLOTS; ++p) {
        d.axis_scale[p] = AXIS_LINEAR;
        d.pad_type[p] = PAD_BOTH;
        d.pad_value[p] = 10;
        d.pad_percent[p] = true;
        d.range[p] = RANGE_AUTO;
        d.range_flip[p] = false;
        d.min[p] = 0.1;
        d.max[p] = 0.2;
        d.weight[p] = WEIGHT_MEDIUM;
        d.cursor[p] = true;
    }
    d.colour[PLOT_A] = 3937500;
    d.colour[PLOT_B] = 13459258;
    d.range_flip[PLOT_A] = kind != GRAPH_KIND_LCR_BODE;
    d.x_axis_scale = kind == GRAPH_KIND_LCR_BODE ? AXIS_LOG : AXIS_LINEAR;
    d.x_pad_type = PAD_NONE;
    d.x_pad_value = 10;
    d.x_pad_percent = true;
    d.x_range = RANGE_AUTO;
    d.x_range_flip = false;
    d.x_min = 0.1;
    d.x_max = 0.2;
    d.bg_colour = BACKGROUND_BLACK;
    return d;
}

// Every field away from its default, Min and Max values that the fixed
// three-decimal text holds exactly.
s_graph_settings edited_record()
{
    s_graph_settings r = expected_defaults(GRAPH_KIND_LCR_BODE);
    r.bg_colour = BACKGROUND_WHITE;
    r.x_axis_scale = AXIS_LINEAR;
    r.x_range = RANGE_MANUAL;
    r.x_range_flip = true;
    r.x_pad_type = PAD_SECOND_END;
    r.x_pad_percent = false;
    r.x_pad_value = 250;
    r.x_min = -40;
    r.x_max = 1500;
    r.axis_scale[PLOT_A] = AXIS_LOG;
    r.range[PLOT_A] = RANGE_NEAREST_0;
    r.range_flip[PLOT_A] = true;
    r.pad_type[PLOT_A] = PAD_NONE;
    r.pad_percent[PLOT_A] = false;
    r.pad_value[PLOT_A] = 7;
    r.min[PLOT_A] = 0.0025;
    r.max[PLOT_A] = 2.5e6;
    r.colour[PLOT_A] = 0x123456;
    r.weight[PLOT_A] = WEIGHT_THICK;
    r.cursor[PLOT_A] = false;
    r.range[PLOT_B] = RANGE_CENTRE_0;
    r.pad_type[PLOT_B] = PAD_FIRST_END;
    r.pad_value[PLOT_B] = 20;
    r.min[PLOT_B] = -3.5e-9;
    r.max[PLOT_B] = 0;
    r.colour[PLOT_B] = 55295;
    r.weight[PLOT_B] = WEIGHT_THIN;
    return r;
}

class GraphSettingsFile : public ::testing::Test {
protected:
    profile_store& store = portable_profile_store();
    temp_folder folder;
    std::string file = folder.file("lcr_bode_settings.ini");
};

TEST_F(GraphSettingsFile, MissingFileAndMissingKeysGiveEachKindsDefaults)
{
    write_bytes(file, "[GSettings]\r\n[XAxis]\r\nOther=1\r\n[PlotA]\r\n[PlotB]\r\n");
    for (int kind = 0; kind < GRAPH_KIND_COUNT; ++kind) {
        SCOPED_TRACE(kind);
        for (const std::string& path : {folder.file("missing.ini"), file}) {
            s_graph_settings record = scribbled_record();
            load_graph_settings(record, kind, store, path);
            expect_same_graph_settings(expected_defaults(kind), record);
        }
    }
}

TEST_F(GraphSettingsFile, NyquistKindsNeverReadTheHorizontalScale)
{
    write_bytes(file, "[XAxis]\r\nAxisScale=0\r\n[PlotA]\r\nAxisScale=0\r\nRangeFlip=0\r\n");
    const std::int32_t expected_x_scale[GRAPH_KIND_COUNT] = {AXIS_LOG, AXIS_LINEAR, AXIS_LINEAR};
    for (int kind = 0; kind < GRAPH_KIND_COUNT; ++kind) {
        s_graph_settings record = scribbled_record();
        load_graph_settings(record, kind, store, file);
        EXPECT_EQ(record.x_axis_scale, expected_x_scale[kind]) << kind;
        EXPECT_EQ(record.axis_scale[PLOT_A], AXIS_LOG) << kind;
        EXPECT_FALSE(record.range_flip[PLOT_A]) << kind;
    }
}

TEST_F(GraphSettingsFile, SaveWritesEveryKeyInOrderAndLoadsBack)
{
    const s_graph_settings record = edited_record();
    save_graph_settings(record, GRAPH_KIND_LCR_BODE, store, file);
    EXPECT_EQ(read_bytes(file),
              "[GSettings]\r\nBGColour=1\r\n"
              "[XAxis]\r\nAxisScale=1\r\nRange=3\r\nRangeFlip=1\r\nPadType=2\r\nPadPercent=0\r\n"
              "PadValue=250\r\nMin=-40.000\r\nMax=1.500k\r\n"
              "[PlotA]\r\nAxisScale=0\r\nRange=2\r\nRangeFlip=1\r\nPadType=3\r\nPadPercent=0\r\n"
              "PadValue=7\r\nMin=2.500m\r\nMax=2.500M\r\nColour=1193046\r\nWeight=2\r\nCursor=0\r\n"
              "[PlotB]\r\nAxisScale=1\r\nRange=1\r\nRangeFlip=0\r\nPadType=1\r\nPadPercent=1\r\n"
              "PadValue=20\r\nMin=-3.500n\r\nMax=0.000\r\nColour=55295\r\nWeight=0\r\nCursor=1\r\n");

    s_graph_settings loaded = scribbled_record();
    load_graph_settings(loaded, GRAPH_KIND_LCR_BODE, store, file);
    expect_same_graph_settings(record, loaded);
    EXPECT_EQ(loaded.x_min, -40.0);
}

TEST_F(GraphSettingsFile, SavingOverAHandEditedFileKeepsItsOtherKeys)
{
    write_bytes(file, "[PlotB]\r\nCursor=0\r\nNote=kept\r\n");
    save_graph_settings(expected_defaults(GRAPH_KIND_EIS), GRAPH_KIND_EIS, store, file);
    EXPECT_EQ(store.read_string(file, "PlotB", "Note", "", 254), "kept");
    s_graph_settings loaded = scribbled_record();
    load_graph_settings(loaded, GRAPH_KIND_EIS, store, file);
    expect_same_graph_settings(expected_defaults(GRAPH_KIND_EIS), loaded);
}

TEST_F(GraphSettingsFile, ValuesTheProgramDidNotWrite)
{
    write_bytes(file,
                "[GSettings]\r\nBGColour=white\r\n"
                "[XAxis]\r\nRange= 2 apples\r\nRangeFlip=-1\r\nPadType=\r\nPadPercent=0x0\r\n"
                "PadValue=0x1F\r\nMin=1.5kHz\r\nMax=\r\n"
                "[PlotA]\r\nRangeFlip=5\r\nCursor=no\r\nMin=  \"2E3\"  \r\nMax=abc\r\nWeight=99999999999\r\n"
                "[PlotB]\r\nMin=" + std::string(300, '9') + "\r\n");
    s_graph_settings record = scribbled_record();
    load_graph_settings(record, GRAPH_KIND_LCR_BODE, store, file);
    EXPECT_EQ(record.bg_colour, 0);              // no leading integer
    EXPECT_EQ(record.x_range, 2);                // the leading integer
    EXPECT_TRUE(record.x_range_flip);            // any non-zero integer
    EXPECT_EQ(record.x_pad_type, PAD_NONE);      // empty: the default
    EXPECT_FALSE(record.x_pad_percent);
    EXPECT_EQ(record.x_pad_value, 31);
    EXPECT_DOUBLE_EQ(record.x_min, 1500);        // the part parse_eng could read
    EXPECT_EQ(record.x_max, 0);                  // empty text, not the default
    EXPECT_TRUE(record.range_flip[PLOT_A]);
    EXPECT_FALSE(record.cursor[PLOT_A]);
    EXPECT_DOUBLE_EQ(record.min[PLOT_A], 2000);  // quotes stripped
    EXPECT_EQ(record.max[PLOT_A], 0);
    EXPECT_EQ(record.weight[PLOT_A], static_cast<std::int32_t>(99999999999LL));  // 32-bit wrap
    // Only 254 characters are read: 254 nines.
    EXPECT_NEAR(record.min[PLOT_B] / 1e254, 1.0, 1e-9);
}

TEST_F(GraphSettingsFile, AnUnwritableFileIsNotReported)
{
    const std::string nowhere = folder.file("no such folder") + "/lcr_eis_settings.ini";
    save_graph_settings(edited_record(), GRAPH_KIND_EIS, store, nowhere);
    s_graph_settings loaded = scribbled_record();
    load_graph_settings(loaded, GRAPH_KIND_EIS, store, nowhere);
    expect_same_graph_settings(expected_defaults(GRAPH_KIND_EIS), loaded);
}

TEST_F(GraphSettingsFile, TheProgramsFilesLiveInTheSettingsFolder)
{
    folder_settings_environment environment;
    environment.app_data = folder.path();
    settings_load(environment, store);
    const std::string eis_file = path_join(settings_folder(), "lcr_eis_settings.ini");
    save_graph_settings(edited_record(), GRAPH_KIND_EIS);
    s_graph_settings loaded = scribbled_record();
    load_graph_settings(loaded, GRAPH_KIND_EIS, store, eis_file);
    expect_same_graph_settings(edited_record(), loaded);
    loaded = scribbled_record();
    load_graph_settings(loaded, GRAPH_KIND_EIS);
    expect_same_graph_settings(edited_record(), loaded);
    EXPECT_FALSE(std::filesystem::exists(path_join(settings_folder(), "lcr_bode_settings.ini")));

    // Without a settings folder nothing is written and the defaults hold.
    environment.app_data.clear();
    settings_load(environment, store);
    save_graph_settings(edited_record(), GRAPH_KIND_LCR_NYQUIST);
    load_graph_settings(loaded, GRAPH_KIND_LCR_NYQUIST);
    expect_same_graph_settings(expected_defaults(GRAPH_KIND_LCR_NYQUIST), loaded);
}

}  // namespace
