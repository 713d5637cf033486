// The text and CSV sweep import against small files: comma, semicolon and
// tab files, the text export's own shape, and files it must refuse (too
// large, endless, over-long lines, values that are not finite numbers).
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "fra/bounded_file_read.h"
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
    int line;
    int column;
    std::unique_ptr<s_lcr_sweep> block;
    int layout;
};

imported import_file(const std::string& path)
{
    imported result{sweep_import_status::imported, 0, 0, make_lcr_sweep(), -1};
    const sweep_import_result ended = import_sweep_file(path, *result.block, result.layout);
    result.status = ended.status;
    result.line = ended.line;
    result.column = ended.column;
    return result;
}

std::string write_file(const temp_folder& folder, const std::string& name, const std::string& bytes)
{
    const std::string path = folder.file(name);
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
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

// A tab row "1\t100\t1\t2\t3\t4" (5 values) whose last field is padded
// with leading zeros to `length` characters; it still reads 4.
std::string padded_tab_row(std::size_t length)
{
    const std::string start = "1\t100\t1\t2\t3\t";
    return start + std::string(length - start.size() - 1, '0') + "4";
}

TEST(SweepImport, ALineLongerThanTheLimitFailsTheImportNamingTheLine)
{
    temp_folder folder;
    const std::string header = "Steps\tF\tZr\tZq\tZm\tZp\r\n";
    // A row exactly at the limit still imports.
    const imported fits = import_file(write_file(folder, "fits.txt", header + padded_tab_row(2047) + "\r\n"));
    ASSERT_EQ(fits.status, sweep_import_status::imported);
    ASSERT_EQ(fits.block->points, 1);
    expect_point(*fits.block, 0, {100, 1, 2, 3, 4});

    std::string long_rows = header;  // once read in pieces, these stored 20 points
    for (int i = 0; i < 10; ++i) {
        long_rows += padded_tab_row(2100) + "\r\n";
    }
    struct long_case {
        const char* name;
        std::string bytes;
        int line;
    };
    const long_case cases[] = {
        {"one_over.txt", header + padded_tab_row(2048) + "\r\n", 2},
        {"long_rows.txt", long_rows, 2},
        // In a comma file the pieces could pass for rows as well.
        {"long.csv", "1,2,3,4,5\r\n" + std::string(3000, '7') + ",2,3,4,5\r\n", 2},
        // A long header line is refused too: its pieces could pass for a first row.
        {"long_header.csv", std::string(2100, 'H') + "\r\n1,2,3,4,5\r\n", 1},
        // No line end at all.
        {"no_line_end.csv", std::string(1 << 20, '1'), 1},
    };
    for (const long_case& c : cases) {
        SCOPED_TRACE(c.name);
        const imported result = import_file(write_file(folder, c.name, c.bytes));
        EXPECT_EQ(result.status, sweep_import_status::line_too_long);
        EXPECT_EQ(result.line, c.line);
        EXPECT_EQ(result.block->points, 0);
    }
}

TEST(SweepImport, ATabAnywhereMarksATabFile)
{
    temp_folder folder;
    // A tab beyond the first 255 characters of a line still marks a tab
    // file, whose reader finds one field in the comma row that follows (the
    // comma reader would have taken it).
    const std::string path =
        write_file(folder, "late_tab.csv", "Header " + std::string(300, 'x') + "\tY\r\n1,2,3,4,5,6\r\n");
    EXPECT_EQ(import_file(path).status, sweep_import_status::unknown_layout);
}

TEST(SweepImport, EveryLineEndAndALeadingByteOrderMarkReadTheSameRows)
{
    temp_folder folder;
    // No header: with a byte-order mark left in place the first row would be
    // taken for one.
    const std::string tab_rows[] = {"1\t50\t1.5\t-2.5\t3\t-59", "2\t500\t0.5\t-1\t1.25\t-63.4", "3\t5000\t1\t2\t3\t4"};
    const std::string comma_rows[] = {"50,1.5,-2.5,3,-59", "500,0.5,-1,1.25,-63.4", "5000,1,2,3,4"};
    const std::string bom = "\xEF\xBB\xBF";
    for (const bool tab : {true, false}) {
        const std::string* rows = tab ? tab_rows : comma_rows;
        for (const char* line_end : {"\n", "\r\n", "\r"}) {
            for (const bool with_bom : {false, true}) {
                std::string bytes = with_bom ? bom : "";
                for (int i = 0; i < 3; ++i) {
                    bytes += rows[i] + line_end;
                }
                SCOPED_TRACE(::testing::PrintToString(bytes));
                const imported result = import_file(write_file(folder, tab ? "rows.txt" : "rows.csv", bytes));
                ASSERT_EQ(result.status, sweep_import_status::imported);
                EXPECT_EQ(result.layout, tab ? LCR_LAYOUT_IMPEDANCE : LCR_LAYOUT_ADMITTANCE);
                ASSERT_EQ(result.block->points, 3);
                expect_point(*result.block, 0, {50, 1.5, -2.5, 3, -59});
                expect_point(*result.block, 2, {5000, 1, 2, 3, 4});
            }
        }
    }
}

TEST(SweepImport, AValueThatIsNotAFiniteNumberFailsTheImportNamingItsPlace)
{
    temp_folder folder;
    struct non_finite_case {
        const char* name;
        std::string bytes;
        int line;
        int column;
    };
    const std::string tab_header = "Steps\tF\tZr\tZq\tZm\tZp\r\n";
    const std::string tab_row = "1\t100\t1\t2\t3\t4\r\n";
    const non_finite_case cases[] = {
        {"nan.txt", tab_header + tab_row + "2\t200\t1\tnan\t3\t4\r\n", 3, 4},
        {"inf.txt", tab_header + tab_row + "2\t200\t1\t2\t-inf\t4\r\n", 3, 5},
        {"overflow.txt", tab_header + "1\t1e999\t1\t2\t3\t4\r\n", 2, 2},
        // Decimal commas: the overflow is still found after the marks swap.
        {"overflow_comma.txt", tab_header + "1\t1,5e999\t1\t2\t3\t4\r\n", 2, 2},
        // Comma file with an index column, and one without.
        {"nan.csv", "Index,F,Zr,Zq,Zm,Zp\r\n1,100,1,2,3,4\r\n2,200,NaN,2,3,4\r\n", 3, 3},
        {"inf.csv", "F,Zr,Zq,Zm,Zp\r\n100,1,2,3,INF\r\n", 2, 5},
        // ";" files keep only digits and "E+-", so an overflow is what remains.
        {"overflow.csv", "F;Zr;Zq;Zm;Zp\r\n100;1;2;3E999;4\r\n", 2, 4},
        // Lone CR line ends count one line each (CR LF counts once, above).
        {"nan_cr.csv", "F,Zr,Zq,Zm,Zp\r1,1,2,3,4\r\r2,1,2,3,nan\r", 4, 5},
    };
    for (const non_finite_case& c : cases) {
        SCOPED_TRACE(c.name);
        const imported result = import_file(write_file(folder, c.name, c.bytes));
        EXPECT_EQ(result.status, sweep_import_status::not_finite);
        EXPECT_EQ(result.line, c.line);
        EXPECT_EQ(result.column, c.column);
        EXPECT_EQ(result.block->points, 0);
    }
    // A header line whose first field reads as an infinity stays a header.
    const imported header = import_file(write_file(folder, "inf_header.txt", "inf\tZ\r\n" + tab_row));
    EXPECT_EQ(header.status, sweep_import_status::imported);
    EXPECT_EQ(header.block->points, 1);
}

TEST(SweepImport, FilesBeyondTheSizeBoundAndFoldersAreRefused)
{
    temp_folder folder;
    // A good sweep padded with blank lines to exactly the bound imports; one
    // byte more is refused without reading a row.
    const std::string rows = "F,Zr,Zq,Zm,Zp\r\n100,1,2,3,4\r\n";
    std::string at_bound = rows + std::string(sweep_import_max_bytes - rows.size(), '\n');
    const imported fits = import_file(write_file(folder, "at_bound.csv", at_bound));
    ASSERT_EQ(fits.status, sweep_import_status::imported);
    EXPECT_EQ(fits.block->points, 1);
    const imported over = import_file(write_file(folder, "over_bound.csv", at_bound + "\n"));
    EXPECT_EQ(over.status, sweep_import_status::too_large);
    EXPECT_EQ(over.block->points, 0);

    EXPECT_EQ(import_file(folder.path()).status, sweep_import_status::is_folder);
#ifndef _WIN32
    // An endless device is read only up to the bound.
    EXPECT_EQ(import_file("/dev/zero").status, sweep_import_status::too_large);
#endif
}

TEST(BoundedFileRead, ReadsAtMostTheBoundAndTellsWhyItStopped)
{
    temp_folder folder;
    const std::string ten = write_file(folder, "ten.bin", std::string("0123456\0\r\n", 10));
    std::string bytes = "untouched";
    EXPECT_EQ(read_file_bounded(ten, 9, bytes), file_read_status::too_large);
    EXPECT_EQ(bytes, "untouched");
    ASSERT_EQ(read_file_bounded(ten, 10, bytes), file_read_status::read);
    EXPECT_EQ(bytes, std::string("0123456\0\r\n", 10));
    ASSERT_EQ(read_file_bounded(write_file(folder, "empty.bin", ""), 0, bytes), file_read_status::read);
    EXPECT_EQ(bytes, "");
    // A file larger than one read chunk, bound in the middle of a chunk.
    const std::string big = write_file(folder, "big.bin", std::string(10000, 'b'));
    EXPECT_EQ(read_file_bounded(big, 9999, bytes), file_read_status::too_large);
    ASSERT_EQ(read_file_bounded(big, 10000, bytes), file_read_status::read);
    EXPECT_EQ(bytes.size(), 10000u);

    EXPECT_EQ(read_file_bounded(folder.file("absent.bin"), 10, bytes), file_read_status::cannot_open);
    EXPECT_EQ(read_file_bounded(folder.path(), 10, bytes), file_read_status::is_folder);
    EXPECT_TRUE(path_is_folder(folder.path()));
    EXPECT_FALSE(path_is_folder(ten));
#ifndef _WIN32
    EXPECT_EQ(read_file_bounded("/dev/zero", 100, bytes), file_read_status::too_large);
#endif
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
