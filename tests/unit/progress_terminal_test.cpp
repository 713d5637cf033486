// The tool's progress line, written to a file: the terminal form (one line
// rewritten in place) and the form for anything else (each caption once).
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/progress_reporter.h"
#include "cli/terminal_progress.h"
#include "support/temp_folder.h"

namespace {

struct report_args {
    int command;
    std::intptr_t value;
    const char* text;
};

class TerminalProgress : public ::testing::Test {
protected:
    // What the reporter writes for the reports, up to its end.
    std::string written(bool on_terminal, const std::vector<report_args>& reports)
    {
        const std::string path = folder_.file("progress.txt");
        std::FILE* out = std::fopen(path.c_str(), "wb");
        EXPECT_NE(out, nullptr);
        if (out == nullptr) {
            return {};
        }
        {
            terminal_progress progress(out, on_terminal, [] { return std::int64_t{0}; });
            for (const auto& r : reports) {
                progress.report(r.command, r.value, r.text);
            }
        }
        std::fclose(out);
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    temp_folder folder_;
};

const std::vector<report_args> download_then_save = {
    {PROGRESS_SET_TEXT, 0, "Downloading Sweep"},
    {PROGRESS_SET_RANGE, 2, nullptr},
    {PROGRESS_STEP, 0, nullptr},
    {PROGRESS_STEP, 0, nullptr},
    {PROGRESS_STEP, 0, nullptr},  // past the total: the same line again
    {PROGRESS_SET_TEXT, 0, "Saving"},
    {PROGRESS_SET_RANGE, 0, nullptr},
    {PROGRESS_SET_TEXT, 0, "Saving"},
    {PROGRESS_DONE, 0, nullptr},
};

TEST_F(TerminalProgress, OnATerminalOneLineIsRewrittenUntilTheEnd)
{
    EXPECT_EQ(written(true, download_then_save),
              "\rDownloading Sweep"
              "\rDownloading Sweep  Progress: 0/2"
              "\rDownloading Sweep  Progress: 1/2"
              "\rDownloading Sweep  Progress: 2/2"
              "\rSaving  Progress: 2/2" + std::string(11, ' ') +  // blanks over the rest of the longer line
                  "\rSaving" + std::string(15, ' ') + "\n");
}

TEST_F(TerminalProgress, ElsewhereEachCaptionIsWrittenOnce)
{
    EXPECT_EQ(written(false, download_then_save), "Downloading Sweep\nSaving\n");
}

TEST_F(TerminalProgress, EndsTheLineWhenEndedOrDropped)
{
    // Cancelled, then the worker's own end: one line end each time a line was open.
    EXPECT_EQ(written(true, {{PROGRESS_SET_TEXT, 0, "Cancelling sweep"},
                             {PROGRESS_FAILED, 0, nullptr},
                             {PROGRESS_DONE, 0, nullptr}}),
              "\rCancelling sweep\n");
    // Work that never reported its end.
    EXPECT_EQ(written(true, {{PROGRESS_SET_RANGE, 4, nullptr}}), "\rSetting Up...  Progress: 0/4\n");
    EXPECT_EQ(written(true, {}), "");
}

TEST_F(TerminalProgress, LongLinesAreCutToTheTerminalWidth)
{
    const std::string caption(120, 'c');
    const std::string out = written(true, {{PROGRESS_SET_TEXT, 0, caption.c_str()}, {PROGRESS_DONE, 0, nullptr}});
    EXPECT_EQ(out, "\r" + caption.substr(0, TERMINAL_PROGRESS_WIDTH) + "\n");
}

}  // namespace
