// The text exports: cells and step numbers in each number format, the
// single-sweep files byte for byte, the series files made from sweep data
// files, file names, and what the user is told.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "db/db_connection.h"
#include "db/db_points.h"
#include "db/db_write.h"
#include "export/export_cells.h"
#include "export/export_dialog_model.h"
#include "export/export_file_names.h"
#include "export/export_preamble.h"
#include "export/repeat_text_export.h"
#include "export/series_state.h"
#include "export/sweep_text_export.h"
#include "export/text_export_run.h"
#include "fra/lcr_layout.h"
#include "link/connection.h"
#include "support/file_bytes.h"
#include "support/recording_prompt.h"
#include "support/temp_folder.h"

namespace {

const s_export_punctuation point_comma{'.', ',', "\3"};
const s_export_punctuation comma_point{',', '.', "\3"};

TEST(ExportCells, ScientificCellsWithThreeExponentDigitsInTheChosenMark)
{
    struct cell_case {
        double value;
        const char* full_stop;
        const char* comma;
    };
    const cell_case cases[] = {
        {1000, "1.00000e+003", "1,00000e+003"},
        {-0.0012345678, "-1.23457e-003", "-1,23457e-003"},
        {0, "0.00000e+000", "0,00000e+000"},
        {1.5e-300, "1.50000e-300", "1,50000e-300"},
        {INFINITY, "inf", "inf"},
    };
    for (const cell_case& c : cases) {
        EXPECT_EQ(export_cell_text(c.value, point_comma), c.full_stop);
        EXPECT_EQ(export_cell_text(c.value, comma_point), c.comma);
    }
}

TEST(ExportCells, StepNumbersFollowTheGrouping)
{
    struct step_case {
        long long step;
        s_export_punctuation punctuation;
        const char* text;
    };
    const step_case cases[] = {
        {1, point_comma, "1"},
        {999, point_comma, "999"},
        {1000, point_comma, "1,000"},
        {1234567, comma_point, "1.234.567"},
        {2000, {'.', ' ', "\3"}, "2 000"},
        {1234567, {'.', ',', ""}, "1234567"},                    // no grouping
        {12345678, {'.', ',', "\3\2"}, "1,23,45,678"},           // the last size repeats
        {12345678, {'.', ',', std::string("\3\x7f", 2)}, "12345,678"},  // CHAR_MAX ends the grouping
        {-1234, point_comma, "-1,234"},
        {LLONG_MIN, {'.', ',', ""}, "-9223372036854775808"},
    };
    for (const step_case& c : cases) {
        EXPECT_EQ(export_step_text(c.step, c.punctuation), c.text) << c.step;
    }
}

TEST(ExportCells, PunctuationComesFromTheLocalesFacet)
{
    const s_export_punctuation classic = export_punctuation_of(std::locale::classic());
    EXPECT_EQ(classic.decimal, '.');
    EXPECT_EQ(classic.grouping, "");
}

std::unique_ptr<s_fra_sweep> fra_sweep(int points, bool three_channels)
{
    auto sweep = make_fra_sweep();
    sweep->points = points;
    sweep->is_type9 = three_channels ? 1 : 0;
    sweep->channels = three_channels ? 3 : 2;
    for (int i = 0; i < points; ++i) {
        s_fra_result& p = sweep->point[i];
        p = {1000.0 * (i + 1), 1, 0.5, -6.0206, -45, 1.25e-4, 2, 6.0206, 90, -2.5e-4};
    }
    return sweep;
}

const std::string preamble = "PRE\r\n";

TEST(SweepTextExport, FraFilesHoldSevenOrElevenColumnsAndNoLineEndAfterTheLastRow)
{
    const s_export_format plain{point_comma, false};
    EXPECT_EQ(fra_sweep_export_text(*fra_sweep(2, false), preamble, plain),
              "PRE\r\ndata start sweep 1\r\n"
              "Steps\tFrequency (Hz)\tMagnitude 1 (V)\tMagnitude 2 (V)\tGain (dB)     \tPhase (\xB0)     \tDelay (s)\r\n"
              "1\t1.00000e+003\t1.00000e+000\t5.00000e-001\t-6.02060e+000\t-4.50000e+001\t1.25000e-004\r\n"
              "2\t2.00000e+003\t1.00000e+000\t5.00000e-001\t-6.02060e+000\t-4.50000e+001\t1.25000e-004");

    // Three channels: every value, and with Custom an apostrophe before each
    // cell; one point gives exactly one data line.
    const std::string three = fra_sweep_export_text(*fra_sweep(1, true), preamble, {comma_point, true});
    const std::string last_line = three.substr(three.rfind("\r\n") + 2);
    EXPECT_EQ(last_line, "1\t'1,00000e+003\t'1,00000e+000\t'5,00000e-001\t'-6,02060e+000\t'-4,50000e+001"
                         "\t'1,25000e-004\t'2,00000e+000\t'6,02060e+000\t'9,00000e+001\t'-2,50000e-004");
    EXPECT_NE(three.find("\tDelay 2 (s)\r\n"), std::string::npos);

    // A block whose count was damaged reads no further than the block.
    auto damaged = fra_sweep(0, false);
    damaged->points = SWEEP_MAX_POINTS + 100;
    EXPECT_EQ(fra_export_points(*damaged), SWEEP_MAX_POINTS);
}

TEST(SweepTextExport, EisColumnsFollowTheLayout)
{
    auto sweep = make_lcr_sweep();
    sweep->points = 1;
    const s_export_format plain{point_comma, false};
    struct eis_case {
        int layout;
        std::vector<double> values;
        const char* nyquist;  // the last two cells
    };
    const eis_case cases[] = {
        {LCR_LAYOUT_ADMITTANCE, {100, 0.001, 0.001, 0.0014142, 45}, "5.00000e+002\t-5.00000e+002"},
        {LCR_LAYOUT_IMPEDANCE, {100, 12.5, -3, 12.85, -13.5}, "1.25000e+001\t-3.00000e+000"},
        {LCR_LAYOUT_FULL, {100, 1, 1, 10, 0, 0, 0, 47, 0, 0, 0, 0, 0}, "4.70000e+001\t0.00000e+000"},  // series C 0
    };
    for (const eis_case& c : cases) {
        SCOPED_TRACE(c.layout);
        sweep->point[0] = {};
        for (std::size_t k = 0; k < c.values.size(); ++k) {
            sweep->point[0].value[k] = c.values[k];
        }
        const std::string text = lcr_sweep_export_text(*sweep, c.layout, true, preamble, plain);
        EXPECT_EQ(text.substr(text.size() - std::string(c.nyquist).size()), c.nyquist);
        EXPECT_NE(text.find("\tReal Z' (Ohm)\tImaginary Z\" (ohm)\r\n1\t"), std::string::npos);
        // Without the EIS columns the row ends with the layout's last value.
        const std::string lcr = lcr_sweep_export_text(*sweep, c.layout, false, preamble, plain);
        EXPECT_EQ(std::count(lcr.begin() + lcr.rfind("\r\n"), lcr.end(), '\t'), lcr_values_for_layout(c.layout));
    }
}

TEST(RepeatTextExport, CopiesTheRowsOfASweepDataFileWithoutApostrophes)
{
    const std::string three_channel_row = "1\t100.0000\t1.0E+000\t1.0E+000\t0.0E+000\t-9.0E+001\t2.5E-003"
                                          "\t1.0E+000\t0.0E+000\t9.0E+001\t-2.5E-003";
    const std::string file = "26-03-2019 - 14:05:09\r\n" + three_channel_row + "\r\n1000\t200.0000" + "\r\n";
    EXPECT_EQ(sweep_file_first_line(file), "26-03-2019 - 14:05:09");
    const std::string text = repeat_export_text(file, true, 0, preamble, comma_point);
    EXPECT_NE(text.find("\tDelay 2 (s)\r\n1\t1,00000e+002\t1,00000e+000"), std::string::npos);
    // The step as a grouped whole number; the trailing line end adds no row.
    EXPECT_EQ(text.substr(text.rfind("\r\n") + 2), "1.000\t2,00000e+002");
    EXPECT_EQ(text.find('\''), std::string::npos);

    // A time stamp and no rows: the preamble and the header only.
    EXPECT_EQ(repeat_export_text("26-03-2019 - 14:05:09", true, 0, preamble, point_comma),
              "PRE\r\ndata start sweep 1\r\n"
              "Steps\tFrequency (Hz)\tMagnitude 1 (V)\tMagnitude 2 (V)\tGain (dB)     \tPhase (\xB0)     \tDelay (s)\r\n");
}

TEST(ExportFileNames, SeriesFilesAreNamedByTheirTimeStamp)
{
    EXPECT_EQ(repeat_export_file_name(true, 2, "26-03-2019 - 14:05:09"), "FRA sweep 2 2019_03_26-14_05_09.txt");
    EXPECT_EQ(repeat_export_file_name(true, 1, ""), "FRA sweep 1 .txt");
    EXPECT_EQ(repeat_export_file_name(false, 3, "no: stamp?"), "LCR sweep 3 no  stamp .txt");
    EXPECT_EQ(repeat_export_file_name(false, 1, std::string(5000, 'x')).size(),
              std::string("LCR sweep 1 .txt").size() + EXPORT_NAME_PART_MAX);
}

TEST(ExportFileNames, TestFilesAreCleanedAndNumbered)
{
    std::vector<std::string> taken;
    const auto exists = [&](const std::string& path) {
        return std::find(taken.begin(), taken.end(), path) != taken.end();
    };
    const std::string first = test_export_path("F", "A/B:C", exists);
    EXPECT_EQ(first, std::filesystem::path("F/A B C.txt").make_preferred().string());
    taken.push_back(first);
    EXPECT_EQ(test_export_path("F", "A/B:C", exists),
              std::filesystem::path("F/A B C (1).txt").make_preferred().string());
    // Every number taken: the last is overwritten.
    for (int n = 1; n <= 98; ++n) {
        taken.push_back(std::filesystem::path("F/A B C (" + std::to_string(n) + ").txt").make_preferred().string());
    }
    EXPECT_EQ(test_export_path("F", "A/B:C", exists),
              std::filesystem::path("F/A B C (98).txt").make_preferred().string());
    // Characters no file name may hold, control characters among them.
    EXPECT_EQ(export_name_part("a*b\tc\x01|d<e>f\"g?h\\i"), "a b c  d e f g h i");
}

TEST(ExportPreamble, IdentityFieldsOrEmptyWhenNoneIsHeld)
{
    s_connection connection;
    const std::string report = "Acquisition,mode,normal\r\n";
    EXPECT_EQ(export_preamble_text(export_identity_of(connection), report),
              "Instrument Configuration\r\n------------------------\r\nFile Format,ZelvV2\r\n"
              "Instrument,type,\r\n,serial number,\r\n,firmware version,\r\n,calibration,\r\n"
              "Acquisition,mode,normal\r\n");
    connection_set_identity(&connection, "ZELVORIAN,HVXA1735,10234,2.17");
    const s_export_identity identity = export_identity_of(connection);
    EXPECT_EQ(identity.model, "HVXA1735");
    EXPECT_EQ(identity.serial, "10234");
    EXPECT_EQ(identity.version, "2.17");
    EXPECT_EQ(identity.calibration, "");
}

// A destination that answers as told and counts the questions.
class given_destination final : public export_destination {
public:
    std::optional<std::string> text_file() override
    {
        ++asked;
        return file;
    }
    std::optional<std::string> folder() override
    {
        ++asked;
        return chosen_folder;
    }
    std::optional<std::string> file;
    std::optional<std::string> chosen_folder;
    int asked = 0;
};

class TextExportRun : public ::testing::Test {
protected:
    s_export_run run() { return {prompt, destination, preamble, point_comma, false}; }
    std::string told() const
    {
        std::string text;
        for (const auto& m : prompt.messages) {
            text += m.text + "|" + m.caption + ";";
        }
        return text;
    }
    temp_folder scratch;
    recording_prompt prompt;
    given_destination destination;
};

TEST_F(TextExportRun, SingleSweepsTellWhyNothingWasWritten)
{
    auto r = run();
    const auto empty = fra_sweep(0, false);
    EXPECT_FALSE(export_fra_sweep_text(r, *empty, false));
    EXPECT_EQ(destination.asked, 0);
    EXPECT_EQ(told(), "No Data to Export|Excel Export Error;");

    prompt.messages.clear();
    EXPECT_FALSE(export_fra_sweep_text(r, *fra_sweep(2, false), true));
    EXPECT_EQ(told(), "Unable to create CSV file|Excel Export Error;");

    prompt.messages.clear();
    destination.file = scratch.file("sweep.txt");
    r.custom_format = true;
    EXPECT_EQ(export_fra_sweep_text(r, *fra_sweep(2, false), true), destination.file);
    EXPECT_EQ(told(), "");
    EXPECT_NE(read_bytes(*destination.file).find("1\t'1.00000e+003"), std::string::npos);

    // The LCR export looks at the block itself.
    prompt.messages.clear();
    EXPECT_FALSE(export_lcr_sweep_text(r, *make_lcr_sweep(), LCR_LAYOUT_IMPEDANCE));
    EXPECT_EQ(told(), "No Data to Export|Excel Export Error;");
}

TEST_F(TextExportRun, SeriesExportOnlyACompleteSeriesAndPassOverMissingFiles)
{
    auto r = run();
    EXPECT_TRUE(export_fra_repeats_text(r, 3, 2, scratch.path()).empty());
    EXPECT_EQ(told(), "No Data to Export|Excel Export Error;");

    // The view's own series, as the Export Tests dialog exports it.
    prompt.messages.clear();
    fra_series_state() = {3, 3};
    EXPECT_TRUE(export_fra_repeats_text(r, scratch.path()).empty());
    EXPECT_EQ(told(), "Invalid Directory Selected|Error;");
    fra_series_state() = {};

    prompt.messages.clear();
    const std::string data = scratch.file("data");
    const std::string out = scratch.file("out");
    std::filesystem::create_directories(data);
    std::filesystem::create_directories(out);
    write_bytes(data + "/sweep1.dat", "26-03-2019 - 14:05:09\r\n1\t100.0000\t1.0E+000");
    write_bytes(data + "/sweep3.dat", "\r\n1\t100.0000\t1.0E+000");
    destination.chosen_folder = out;
    const std::vector<std::string> written = export_lcr_repeats_text(r, 3, 3, data, LCR_LAYOUT_IMPEDANCE);
    ASSERT_EQ(written.size(), 2u);
    EXPECT_EQ(std::filesystem::path(written[0]).filename(), "LCR sweep 1 2019_03_26-14_05_09.txt");
    EXPECT_EQ(std::filesystem::path(written[1]).filename(), "LCR sweep 3 .txt");
    EXPECT_NE(read_bytes(written[0]).find("Z quadratude (Ohm)"), std::string::npos);
    EXPECT_EQ(told(), "");
}

TEST_F(TextExportRun, TestsGoOneFileEachAndEmptyTestsArePassedOver)
{
    const std::string database = scratch.file("tests.db");
    bool created = false;
    ASSERT_TRUE(db_open(database, DB_OPEN_CREATE, &created));
    s_db_session session;
    ASSERT_EQ(db_save_session(session, false), 0);
    std::vector<std::int64_t> numbers;
    for (const char* name : {"A/B:C", "Empty", "A/B:C"}) {
        s_db_test test;
        test.session_number = session.session_number;
        std::snprintf(test.name, sizeof test.name, "%s", name);
        if (name[0] == 'A') {
            ASSERT_EQ(db_add_point(test, {1000, -3.5, 45.25}), 0);
            ASSERT_EQ(db_add_point(test, {10, 0, 0}), 0);
        }
        ASSERT_EQ(db_save_new_test(test), 0);
        numbers.push_back(test.test_number);
    }
    auto r = run();
    destination.chosen_folder = scratch.path();
    const std::vector<std::string> written = export_tests_text(r, numbers);
    db_close();
    ASSERT_EQ(written.size(), 2u);
    EXPECT_EQ(std::filesystem::path(written[0]).filename(), "A B C.txt");
    EXPECT_EQ(std::filesystem::path(written[1]).filename(), "A B C (1).txt");
    EXPECT_EQ(read_bytes(written[0]), "Steps\tFrequency (Hz)\tGain (dB)     \tPhase (\xB0)\r\n"
                                      "1\t1.00000e+001\t0.00000e+000\t0.00000e+000\r\n"
                                      "2\t1.00000e+003\t-3.50000e+000\t4.52500e+001");
    EXPECT_EQ(told(), "");
}

}  // namespace

namespace {

TEST(ExportDialogModel, EachSourceAndChoiceNamesItsExport)
{
    struct job_case {
        int source;
        bool csv;
        int repeat_count;
        export_job job;
    };
    const job_case cases[] = {
        {EXPORT_SOURCE_DATABASE, true, 0, export_job::tests_text},
        {EXPORT_SOURCE_DATABASE, false, 0, export_job::tests_report},
        {EXPORT_SOURCE_FRA, true, 0, export_job::fra_sweep_text},
        {0, true, 3, export_job::fra_repeats_text},
        {EXPORT_SOURCE_FRA, false, 3, export_job::fra_repeats_report},
        {EXPORT_SOURCE_LCR, true, 0, export_job::lcr_sweep_text},
        {2, true, 5, export_job::lcr_repeats_text},
        {EXPORT_SOURCE_PIEZO, true, 5, export_job::lcr_sweep_text},
        {EXPORT_SOURCE_PIEZO, false, 0, export_job::piezo_report},
        {7, true, 0, export_job::none},
    };
    for (const job_case& c : cases) {
        EXPECT_EQ(export_job_for(c.source, c.csv, c.repeat_count), c.job) << c.source << " " << c.csv;
    }
    EXPECT_TRUE(export_job_is_report(export_job::piezo_report));
    EXPECT_FALSE(export_job_is_report(export_job::tests_text));
    EXPECT_FALSE(export_test_count_usable(0));
    EXPECT_TRUE(export_test_count_usable(9));
    EXPECT_FALSE(export_test_count_usable(10));
}

}  // namespace
