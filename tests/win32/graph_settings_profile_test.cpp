// Graph settings files read through the system's private-profile functions
// and through the portable store must give the same records: files saved by
// the program, and files with empty, malformed or missing values.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "app/profile_store.h"
#include "graph/graph_settings_file.h"
#include "graph/graph_settings_keys.h"
#include "support/file_bytes.h"
#include "support/graph_settings_compare.h"
#include "support/temp_folder.h"

namespace {

s_graph_settings saved_record()
{
    s_graph_settings r{};
    load_graph_settings(r, GRAPH_KIND_LCR_BODE, portable_profile_store(), "");
    r.bg_colour = BACKGROUND_WHITE;
    r.x_range = RANGE_MANUAL;
    r.x_min = -40;
    r.x_max = 2.5e6;
    r.axis_scale[PLOT_A] = AXIS_LOG;
    r.min[PLOT_A] = 0.0025;
    r.pad_percent[PLOT_B] = false;
    r.pad_value[PLOT_B] = 250;
    r.colour[PLOT_B] = 0x123456;
    r.cursor[PLOT_B] = false;
    return r;
}

// A file holding every key of the settings file, the i-th with value_of(i).
template <typename Value>
std::string file_of_every_key(Value value_of, int keep_every = 1)
{
    s_graph_settings scratch{};
    std::string text;
    const char* section = "";
    int i = 0;
    for (const s_graph_setting_key& key : graph_setting_keys(scratch, GRAPH_KIND_LCR_BODE)) {
        if (std::string(section) != key.section) {
            section = key.section;
            text += std::string("[") + section + "]\r\n";
        }
        if (i % keep_every == 0) {
            text += std::string(key.key) + "=" + value_of(i) + "\r\n";
        }
        ++i;
    }
    return text;
}

const char* const malformed_values[] = {
    "abc", "12abc", " -7 ", "0x1F", "\"5\"", "1.5kHz", "--3", "4294967297", "1e3", "'2E-3'", "0b101", "   ",
    "2,5m",
};

TEST(GraphSettingsProfile, SystemProfileFunctionsReadTheFilesAsThePortableStoreDoes)
{
    temp_folder folder;
    const std::string saved = folder.file("saved.ini");
    save_graph_settings(saved_record(), GRAPH_KIND_LCR_BODE, portable_profile_store(), saved);

    const std::string empty = folder.file("empty.ini");
    write_bytes(empty, file_of_every_key([](int) { return std::string(); }));
    const std::string malformed = folder.file("malformed.ini");
    write_bytes(malformed, file_of_every_key([](int i) {
                    return std::string(malformed_values[i % std::size(malformed_values)]);
                }));
    const std::string sparse = folder.file("sparse.ini");
    write_bytes(sparse, file_of_every_key([](int i) { return std::to_string(i % 3); }, 2));

    for (const std::string& file : {saved, empty, malformed, sparse, folder.file("missing.ini")}) {
        for (int kind = 0; kind < GRAPH_KIND_COUNT; ++kind) {
            SCOPED_TRACE(file + " kind " + std::to_string(kind));
            s_graph_settings portable{};
            s_graph_settings system{};
            load_graph_settings(portable, kind, portable_profile_store(), file);
            load_graph_settings(system, kind, win32_profile_store(), file);
            expect_same_graph_settings(portable, system);
        }
    }
    // The saved file gives back what was saved.
    s_graph_settings system{};
    load_graph_settings(system, GRAPH_KIND_LCR_BODE, win32_profile_store(), saved);
    expect_same_graph_settings(saved_record(), system);
}

}  // namespace
