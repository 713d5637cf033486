// The two family models' parameter tables: how many parameters each defines,
// spot checks of kinds, limits, defaults and option names that catch a
// shifted or mistyped row, and the default listing of "config defaults".
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "config/hvx_cfg_ak.h"
#include "config/hvx_cfg_ck.h"
#include "config/parameter_names.h"
#include "config/parameter_names_listing.h"
#include "db/db_path.h"

#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace {

int defined_count(const instrument_config& model)
{
    int n = 0;
    for (int id = 0; id < CONFIG_BANK_SIZE; ++id) {
        n += model.record(id)->kind != CONFIG_KIND_UNDEFINED;
    }
    for (int id = 500; id < 756; ++id) {
        EXPECT_EQ(model.record(id)->kind, CONFIG_KIND_UNDEFINED) << id;
    }
    return n;
}

struct row_case {
    int id;
    config_kind kind;
    double min;
    double max;
    const char* value;  // get_value_string of the default
    std::vector<std::string> options;
};

void expect_rows(const instrument_config& model, const std::vector<row_case>& cases)
{
    for (const row_case& c : cases) {
        SCOPED_TRACE("id " + std::to_string(c.id));
        const s_config_param* r = model.record(c.id);
        EXPECT_EQ(r->kind, c.kind);
        EXPECT_EQ(r->command_number, c.id);
        EXPECT_DOUBLE_EQ(r->min, c.min);
        EXPECT_DOUBLE_EQ(r->max, c.max);
        EXPECT_EQ(model.get_value_string(c.id), c.value);
        EXPECT_EQ(r->options, c.options);
        EXPECT_FALSE(r->changed);
    }
}

const std::vector<std::string> off_on = {"Off", "On"};

TEST(ConfigModelTables, FamilyADefinesItsTable)
{
    hvx_cfg_ak model;
    EXPECT_EQ(defined_count(model), 101);
    expect_rows(model, {
        {1, CONFIG_KIND_CHOICE, 0, 6, "0",
         {"RMS voltmeter", "Frequency response analyser", "Power meter", "LCR meter", "Vector voltmeter",
          "Harmonic analyser", "Transformer analyser"}},
        {2, CONFIG_KIND_CHOICE, 0, 2, "0", {"RS232", "USB", "LAN"}},
        {6, CONFIG_KIND_CHOICE, 0, 2, "0", {"-180\xB0 to 180\xB0", "0\xB0 to -360\xB0", "0\xB0 to +360\xB0"}},
        {7, CONFIG_KIND_CHOICE, 0, 3, "0", off_on},
        {12, CONFIG_KIND_REAL, 0.01, 100, "", {}},
        {18, CONFIG_KIND_CHOICE, 2, 2000, "0", {}},
        {19, CONFIG_KIND_REAL, 0.00001, 35000000, "", {}},
        {25, CONFIG_KIND_CHOICE, 0, 2, "0", {"Disabled", "Voltage input", "External shunt"}},
        {32, CONFIG_KIND_REAL, -99, -99, "", {}},
        {38, CONFIG_KIND_CHOICE, 0, 1, "0", {"Normal", "High", "Binary"}},
        {50, CONFIG_KIND_REAL, -10, 10, "", {}},
        {51, CONFIG_KIND_CHOICE, 0, 4, "0", {"Sinewave", "Squarewave"}},
        {96, CONFIG_KIND_REAL, 0.00065, 0.2, "0.2", {}},
        {122, CONFIG_KIND_CHOICE, 0, 6, "0", {"None", "LCR Active head", "TQF1", "IMX", "High Z interface"}},
        {139, CONFIG_KIND_CHOICE, 0, 2, "0", {"Single", "Tan \xF0 / QF", "Resistance"}},
        {151, CONFIG_KIND_REAL, 1, 100, "1", {}},
        {177, CONFIG_KIND_CHOICE, 0, 9, "0",
         {"In-phase", "Quadrature", "Tan \xF8", "Magnitude", "Phase", "In-phase ratio", "Rms", "Rms2/Rms1",
          "LVDT diff", "LVDT ratio"}},
        {190, CONFIG_KIND_REAL, 0.5, 50, "", {}},
        {195, CONFIG_KIND_REAL, -99, -99, "", {}},
    });
    for (int id : {0, 10, 17, 40, 47, 196, 255}) {
        EXPECT_TRUE(config_value_not_set(*model.record(id))) << id;
    }
}

TEST(ConfigModelTables, FamilyCDefinesItsTable)
{
    hvx_cfg_ck model;
    EXPECT_EQ(defined_count(model), 137);  // 223 is one record
    expect_rows(model, {
        {1, CONFIG_KIND_CHOICE, 0, 7, "0",
         {"RMS Voltmeter", "Frequency Response Analyser", "Power Meter", "LCR Meter", "Harmonic Analyser",
          "Vector Voltmeter", "Oscilloscope"}},
        {3, CONFIG_KIND_CHOICE, 0, 2, "0", {"Wide", "Low", "Auto"}},
        {12, CONFIG_KIND_REAL, 0.01, 100, "0.0000E", {}},
        {26, CONFIG_KIND_CHOICE, 0, 3, "0", {"Direct", "External shunt", "External attenuator"}},
        {29, CONFIG_KIND_CHOICE, 0, 15, "0",
         {"3mV", "10mV", "30mV", "100mV", "300mV", "1V", "3V", "10V", "30V", "100V", "300V", "500V", "300mV*", "1V*",
          "3V*", "10V*"}},
        {41, CONFIG_KIND_REAL, -99, -99, "", {}},
        {48, CONFIG_KIND_REAL, 0.00001, 50000000, "1.0000E3", {}},
        {50, CONFIG_KIND_REAL, -15, 15, "0.0000E0", {}},
        {79, CONFIG_KIND_CHOICE, 0, 2, "0", {"disabled", "\xB0" "C", "\xB0" "F"}},
        {80, CONFIG_KIND_REAL, -99, -99, "0.0000E0", {}},
        {81, CONFIG_KIND_REAL, -99, -99, "1.0000E0", {}},
        {92, CONFIG_KIND_CHOICE, 0, 3, "0", {"Absolute", "Normalised"}},
        {101, CONFIG_KIND_REAL, 2, 100, "20", {}},
        {118, CONFIG_KIND_CHOICE, 0, 1, "0", {"Primary", "Secondary", "Both"}},
        {153, CONFIG_KIND_REAL, 1, 30, "1", {}},
        {177, CONFIG_KIND_CHOICE, 0, 9, "0",
         {"In-phase", "Quadrature", "Tan \xD8", "Magnitude", "Phase", "In-phase ratio", "Rms", "Rms ratio",
          "LVDT diff", "LVDT ratio"}},
        {198, CONFIG_KIND_CHOICE, 0, 2, "0", {"Normal", "High", "Binary"}},
        {208, CONFIG_KIND_REAL, 0.00001499, 5, "", {}},
        {223, CONFIG_KIND_REAL, -99, -99, "", {}},
    });
    for (int id : {0, 10, 17, 42, 224, 255}) {
        EXPECT_TRUE(config_value_not_set(*model.record(id))) << id;
    }
}

// The parameters a model defines without naming them are outside every bulk
// transfer; every named number is defined by its model.
TEST(ConfigModelTables, NamedNumbersAreExactlyTheNamedRows)
{
    struct model_case {
        int type;
        std::unique_ptr<instrument_config> model;
        std::vector<int> unnamed;
    };
    model_case cases[] = {
        {7, std::make_unique<hvx_cfg_ak>(), {2, 16, 38}},
        {9, std::make_unique<hvx_cfg_ck>(), {2, 16, 118, 153, 154, 198}},
    };
    for (const model_case& c : cases) {
        const char* const* names = parameter_names_for_type(c.type);
        ASSERT_NE(names, nullptr);
        for (int id : c.unnamed) {
            EXPECT_NE(c.model->record(id)->kind, CONFIG_KIND_UNDEFINED) << id;
            EXPECT_TRUE(parameter_unused(names[id])) << id;
        }
        for (int n = 0; n < PARAMETER_NAME_COUNT; ++n) {
            if (!parameter_unused(names[n])) {
                EXPECT_NE(c.model->record(n)->kind, CONFIG_KIND_UNDEFINED) << c.type << " " << n;
            }
        }
    }
}

std::vector<std::string> lines_of(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        lines.push_back(text.substr(start, end - start));
    }
    EXPECT_EQ(start, text.size()) << "last line without a line feed";
    return lines;
}

TEST(ConfigModelTables, DefaultListingsOfBothModels)
{
    const std::vector<std::string> ak = lines_of(named_parameter_lines(hvx_cfg_ak(), parameter_names_for_type(7)));
    ASSERT_EQ(ak.size(), 98u);
    EXPECT_EQ(ak.front(), "1\tOperation Mode\tRMS voltmeter");
    EXPECT_EQ(ak[1], "3\tBandwidth\tAuto");
    EXPECT_EQ(ak.back(), "195\tLower limit\t");
    const std::string ak_text = named_parameter_lines(hvx_cfg_ak(), parameter_names_for_type(7));
    for (const char* line : {"\n18\tSteps\t0\n", "\n96\tWindow\t0.2\n", "\n151\tMin cycles\t1\n",
                             "\n6\tPhase convention\t-180\xB0 to 180\xB0\n"}) {
        EXPECT_NE(ak_text.find(line), std::string::npos) << line;
    }
    EXPECT_EQ(ak_text.find("\n2\t"), std::string::npos);

    const std::string ck_text = named_parameter_lines(hvx_cfg_ck(), parameter_names_for_type(9));
    const std::vector<std::string> ck = lines_of(ck_text);
    ASSERT_EQ(ck.size(), 131u);
    EXPECT_EQ(ck.front(), "1\tOperation Mode\tRMS Voltmeter");
    EXPECT_EQ(ck.back(), "223\tFrequency step\t");
    for (const char* line : {"\n12\tWindow\t0.0000E\n", "\n48\tFrequency\t1.0000E3\n", "\n79\tTemperature\tdisabled\n",
                             "\n101\tHarmonic Series up to\t20\n", "\n139\tGraph\tTan \xF0 / QF\n"}) {
        EXPECT_NE(ck_text.find(line), std::string::npos) << line;
    }
    EXPECT_EQ(ck_text.find("\n198\t"), std::string::npos);
    EXPECT_EQ(named_parameter_lines(hvx_cfg_ak(), nullptr), "");
}

#ifndef _WIN32
// The command itself, as a user runs it.
std::string run_cli(const std::string& arguments, int* status)
{
    const std::string command = std::string("'") + CORVEXA2_CLI_PATH + "' " + arguments + " 2>/dev/null";
    std::FILE* pipe = popen(command.c_str(), "r");
    std::string output;
    if (pipe == nullptr) {
        *status = -1;
        return output;
    }
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        output.append(buffer, n);
    }
    const int raw = pclose(pipe);
    *status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return output;
}

TEST(ConfigModelTables, ConfigDefaultsCommand)
{
    int status = -1;
    // The listing as the program holds it, in UTF-8 for the terminal.
    EXPECT_EQ(run_cli("config defaults 9", &status),
              cp1252_to_utf8(named_parameter_lines(hvx_cfg_ck(), parameter_names_for_type(9))));
    EXPECT_EQ(status, 0);
    const std::string ak = run_cli("config defaults 7", &status);
    EXPECT_EQ(ak.substr(0, 31), "1\tOperation Mode\tRMS voltmeter\n");
    EXPECT_NE(ak.find("\n6\tPhase convention\t-180\xC2\xB0 to 180\xC2\xB0\n"), std::string::npos);
    EXPECT_EQ(status, 0);
    for (const char* arguments : {"config defaults 8", "config defaults 15", "config defaults", "config defaults 7 9",
                                  "config defaults 07"}) {
        EXPECT_EQ(run_cli(arguments, &status), "") << arguments;
        EXPECT_EQ(status, 2) << arguments;
    }
}
#endif

}  // namespace
