// The text and CSV sweep import against small files: comma, semicolon and
// tab files, the text export's own shape, and files it must refuse.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "fra/lcr_layout.h"
#include "fra/sweep_import.h"
#include "support/temp_folder.h"

namespace {

std::string fixture(const std::string& name)
{
    return std::string(CORVEXA2_FIXTURES_DIR) + "/sweeps/" + name;
}

struct imported {
    sweep_import_status status;
    std::unique_ptr<s_lcr_sweep> block;
    int layout;
};

imported import_file(const std::string& path)
{
    imported result{sweep_import_status::imported, make_lcr_sweep(), -1};
    result.status = import_sweep_file(path, *result.block, result.layout);
    return result;
}

void expect_point(const s_lcr_sweep& block, int index, const std::vector<double>& values)
{
    for (std::size_t i = 0; i < values.size(); ++i) {
        EXPECT_DOUBLE_EQ(block.point[index].value[i], values[i]) << "point " << index << " value " << i;
    }
    for (std::size_t i = values.size(); i < LCR_RESULT_VALUES; ++i) {
        EXPECT_EQ(block.point[index].value[i], 0.0) << "point " << index << " value " << i;
    }
}

TEST(SweepImport, GoodFilesGiveTheirLayoutAndPoints)
{
    struct good_case {
        const char* file;
        int layout;
        int points;
        std::vector<double> first;
        std::vector<double> last;
    };
    const good_case cases[] = {
        // Indexed 8-value rows (9 fields), a blank line between rows.
        {"comma_indexed.csv", LCR_LAYOUT_BASIC, 3,
         {100, 2.5, 0.4, 1000, -45, 0.001, 1e-6, 707.1},
         {10000, 10, 0.1, 10, -80, 1e-5, 1.5e-8, 1.75}},
        // 5 values, header naming Z and Y: the comma reader takes Z.
        {"comma_zy.csv", LCR_LAYOUT_IMPEDANCE, 2, {50, 1.5, -2.5, 3, -59}, {500, 0.5, -1, 1.25, -63.4}},
        // Decimal commas and thousands marks; a lower-case exponent mark is lost.
        {"semicolon.csv", LCR_LAYOUT_FULL, 2,
         {1234.5, 2.5, 0.4, 1000, -45, 1e-3, 1.0, 707.1, 0.001, 45, 2e-3, 3e-6, 1414.2},
         {12345, 5, 0.2, 100, -60, 1e-4, 2.5e-7, 50, 0.01, 60, 2e-4, 3e-7, 200}},
        // The same header in a tab file: the tab reader takes Y.
        {"tab_zy.txt", LCR_LAYOUT_ADMITTANCE, 1, {50, 1.5, -2.5, 3, -59}, {50, 1.5, -2.5, 3, -59}},
        // Decimal commas in a tab file, read without touching the locale.
        {"tab_comma.txt", LCR_LAYOUT_ADMITTANCE, 2, {150, 0.25, -0.5, 0.559, -63.4}, {1500, 1.25, 0.25, 1.2748, 11.3}},
        // The text export: preamble, header, two Nyquist columns after the values.
        {"eis_export.txt", LCR_LAYOUT_IMPEDANCE, 3, {10, 120, -35, 125, -16.26}, {1000, 105, -2, 105.019, -1.091}},
        // The export's Custom number format puts an apostrophe before each cell.
        {"tab_custom_format.txt", LCR_LAYOUT_IMPEDANCE, 1, {10, 120, -35, 125, -16.26}, {10, 120, -35, 125, -16.26}},
        // A row whose first field is below 1 reads as a header.
        {"comma_sub_hertz.csv", LCR_LAYOUT_ADMITTANCE, 1, {5, 11, -2, 11.2, -10.3}, {5, 11, -2, 11.2, -10.3}},
    };
    for (const good_case& c : cases) {
        SCOPED_TRACE(c.file);
        const imported result = import_file(fixture(c.file));
        ASSERT_EQ(result.status, sweep_import_status::imported);
        EXPECT_EQ(result.layout, c.layout);
        ASSERT_EQ(result.block->points, c.points);
        expect_point(*result.block, 0, c.first);
        expect_point(*result.block, c.points - 1, c.last);
    }
}

TEST(SweepImport, TabRowsKeepThePreviousValueWhereTheyHaveNone)
{
    // Row 3 is short and its third value is not a number: those places keep
    // row 2's values.
    const imported result = import_file(fixture("tab_point.txt"));
    ASSERT_EQ(result.status, sweep_import_status::imported);
    EXPECT_EQ(result.layout, LCR_LAYOUT_BASIC);
    ASSERT_EQ(result.block->points, 3);
    expect_point(*result.block, 1, {1000, 5, 0.2, 100.5, -60, 0.0001, 2.5e-7, 50});
    expect_point(*result.block, 2, {10000, 10, 0.2, 10, -80, 0.0001, 2.5e-7, 50});
}

TEST(SweepImport, CommaCellsThatAreNotNumbersReadAsZero)
{
    const imported result = import_file(fixture("comma_non_numeric.csv"));
    ASSERT_EQ(result.status, sweep_import_status::imported);
    ASSERT_EQ(result.block->points, 1);
    expect_point(*result.block, 0, {100, 0, -2.5, 0, -59});
}

TEST(SweepImport, BadFilesFailAndSetNoPointCount)
{
    struct bad_case {
        const char* file;
        sweep_import_status status;
    };
    const bad_case cases[] = {
        {"bad_missing_columns.csv", sweep_import_status::unknown_layout},  // row 2 has 7 fields
        {"bad_wrong_separator.csv", sweep_import_status::unknown_layout},  // one field per row
        {"bad_tab_columns.txt", sweep_import_status::unknown_layout},      // 7 fields fit no layout
        {"no_such_file.csv", sweep_import_status::cannot_open},
    };
    for (const bad_case& c : cases) {
        SCOPED_TRACE(c.file);
        const imported result = import_file(fixture(c.file));
        EXPECT_EQ(result.status, c.status);
        EXPECT_EQ(result.block->points, 0);
        int layout = 0;
        EXPECT_FALSE(import_sweep_text(fixture(c.file), *result.block, layout));
    }
    // A file with headers only imports nothing, successfully.
    const imported empty = import_file(fixture("header_only.csv"));
    EXPECT_EQ(empty.status, sweep_import_status::imported);
    EXPECT_EQ(empty.block->points, 0);
}

// A file of `rows` indexed 5-value rows in the given format.
std::string many_rows(int rows, bool tab)
{
    const char separator = tab ? '\t' : ',';
    std::string text = tab ? "Steps\tF\tZr\tZq\tZm\tZp\r\n" : "Index,F,Zr,Zq,Zm,Zp\r\n";
    for (int i = 1; i <= rows; ++i) {
        const std::string index = std::to_string(i);
        text += index + separator + index + separator + "1" + separator + "2" + separator + "3" + separator + "4\r\n";
    }
    return text;
}

TEST(SweepImport, MoreRowsThanABlockHoldsFailTheImport)
{
    temp_folder folder;
    for (bool tab : {false, true}) {
        SCOPED_TRACE(tab ? "tab" : "comma");
        const std::string full = folder.file(tab ? "full.txt" : "full.csv");
        const std::string over = folder.file(tab ? "over.txt" : "over.csv");
        std::ofstream(full, std::ios::binary) << many_rows(SWEEP_MAX_POINTS, tab);
        std::ofstream(over, std::ios::binary) << many_rows(SWEEP_MAX_POINTS + 1, tab);

        const imported exact = import_file(full);
        ASSERT_EQ(exact.status, sweep_import_status::imported);
        EXPECT_EQ(exact.block->points, SWEEP_MAX_POINTS);
        EXPECT_DOUBLE_EQ(exact.block->point[SWEEP_MAX_POINTS - 1].value[0], SWEEP_MAX_POINTS);

        const imported too_many = import_file(over);
        EXPECT_EQ(too_many.status, sweep_import_status::too_many_rows);
        EXPECT_EQ(too_many.block->points, 0);
    }
}

TEST(SweepImport, LongLinesAreReadInPiecesWithoutOverrun)
{
    temp_folder folder;
    const std::string path = folder.file("long.csv");
    // A 5000-character first row splits into pieces that fit no layout.
    std::ofstream(path, std::ios::binary) << "1," << std::string(5000, '7') << ",2,3,4,5\r\n";
    EXPECT_EQ(import_file(path).status, sweep_import_status::unknown_layout);

    // A tab beyond the first 255 characters of a line still marks a tab
    // file, whose reader finds one field in the comma row that follows (the
    // comma reader would have taken it).
    std::ofstream(path, std::ios::binary) << "Header " << std::string(300, 'x') << "\tY\r\n"
                                          << "1,2,3,4,5,6\r\n";
    EXPECT_EQ(import_file(path).status, sweep_import_status::unknown_layout);
}

TEST(SweepImport, DecimalCommaFilesLeaveTheProcessNumberFormatAlone)
{
    const imported result = import_file(fixture("tab_comma.txt"));
    ASSERT_EQ(result.status, sweep_import_status::imported);
    // A sweep thread converting an instrument value afterwards still reads
    // the full stop as the decimal mark.
    EXPECT_DOUBLE_EQ(std::atof("1.2345E+03"), 1234.5);
    EXPECT_DOUBLE_EQ(std::strtod("0.5", nullptr), 0.5);
}

}  // namespace
