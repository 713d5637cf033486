// The screen capture's workers and the download around them, on the fake
// link against a scripted instrument: the request each instrument gets, the
// progress commands, the picture decoded (checked against the pixels the
// instrument meant, not against the decoder), every way a reply can fail
// with its message and recovery bytes, cancel, and the order of suspend,
// download, resume and close.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "app/progress_reporter.h"
#include "capture/capture_download.h"
#include "capture/capture_texts.h"
#include "capture/capture_worker.h"
#include "capture/screen_capture.h"
#include "graph/bmp_file.h"
#include "link/connection.h"
#include "support/fake_link.h"
#include "support/recording_prompt.h"
#include "support/sweep_fakes.h"
#include "support/temp_folder.h"

namespace {

constexpr int WIDTH = 320;
constexpr int HEIGHT = 240;
constexpr std::uint8_t LEVELS[4] = {0, 64, 128, 255};

// The byte the instrument sends for byte i of monochrome row y: bit b set
// means pixel 8 i + b is dark.
std::uint8_t sent_mono_byte(int y, int i)
{
    return static_cast<std::uint8_t>(y * 7 + i * 13 + (y % 3) * 64);
}

// The character the instrument sends for pixel (x, y) in colour.
char sent_colour_character(int x, int y)
{
    return static_cast<char>(0x40 | ((x + 3 * y) & 0x3F));
}

std::vector<std::string> mono_lines(int width, int height)
{
    std::vector<std::string> lines;
    for (int y = 0; y < height; ++y) {
        std::string line = "M:";
        for (int i = 0; i < width / 8; ++i) {
            char hex[3];
            std::snprintf(hex, sizeof hex, y % 2 ? "%02x" : "%02X", sent_mono_byte(y, i));
            line += hex;
        }
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> colour_lines(int width, int height)
{
    std::vector<std::string> lines;
    for (int y = 0; y < height; ++y) {
        for (int q = 0; q < 4; ++q) {
            std::string line = "C" + std::to_string(q);
            for (int x = q * width / 4; x < (q + 1) * width / 4; ++x) {
                line += sent_colour_character(x, y);
            }
            lines.push_back(line);
        }
    }
    return lines;
}

// The pictures the instrument meant, upright.
s_pixel_image meant_mono_picture(int width, int height)
{
    s_pixel_image p = make_pixel_image(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool dark = (sent_mono_byte(y, x / 8) >> (x % 8)) & 1;
            for (int c = 0; c < 3; ++c) {
                p.bgr[p.row_bytes() * y + 3 * x + c] = dark ? 0 : 255;
            }
        }
    }
    return p;
}

s_pixel_image meant_colour_picture(int width, int height)
{
    s_pixel_image p = make_pixel_image(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const unsigned c = static_cast<unsigned char>(sent_colour_character(x, y));
            std::uint8_t* px = &p.bgr[p.row_bytes() * y + 3 * x];
            px[0] = LEVELS[c & 3];
            px[1] = LEVELS[(c >> 2) & 3];
            px[2] = LEVELS[(c >> 4) & 3];
        }
    }
    return p;
}

std::vector<std::uint8_t> file_bytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool file_exists(const std::string& path)
{
    return std::ifstream(path).good();
}

class CaptureWorker : public ::testing::Test {
public:
    void SetUp() override
    {
        conn.interface = LINK_LAN;
        connection_set_ip_address(&conn, "127.0.0.1");
        conn.connected = 1;
        conn.instrument_type = 7;
        fake.tcp.wire.respond = [this](const std::string& line) { return answer(line); };
        job.connection = &conn;
        job.progress = &progress;
        job.prompt = &prompt;
        job.colour_file = folder.file("dlcap.bmp");
    }

    // The instrument: every screen request gets `lines` (with CR LF).
    std::string answer(const std::string& line)
    {
        if (line.rfind("SCREEN", 0) != 0) {
            return "";
        }
        std::string all;
        for (const std::string& l : lines) {
            all += l + "\r\n";
        }
        return all;
    }

    // Lines sent once the link was open (the open's reset byte left out).
    const std::vector<std::string>& sent_after_open() const { return fake.tcp.wire.sent_lines; }

    capture_outcome run(capture_worker_routine worker)
    {
        EXPECT_EQ(link_open(&conn), 0);
        fake.tcp.wire.sent_lines.clear();
        return worker(job);
    }

    bool told_communication_error() const
    {
        return prompt.messages.size() == 1 && prompt.messages[0].text == CAPTURE_COMMUNICATION_ERROR_TEXT &&
               prompt.messages[0].caption == std::string(CAPTURE_COMMUNICATION_ERROR_CAPTION);
    }

    fake_link_backend fake;
    s_connection conn;
    recording_progress progress;
    recording_prompt prompt;
    s_capture_job job;
    temp_folder folder;
    std::vector<std::string> lines;
};

const std::vector<std::string> RECOVERY = {"\x14", "", "\x19"};

TEST_F(CaptureWorker, AMonochromeScreenIsDecodedUprightWithItsProgress)
{
    lines = mono_lines(WIDTH, HEIGHT);
    EXPECT_EQ(run(capture_worker_mono), capture_outcome::complete);

    EXPECT_EQ(sent_after_open(), std::vector<std::string>{"SCREEN?"});
    ASSERT_EQ(progress.reports.size(), 4u + HEIGHT);
    EXPECT_EQ(progress.reports[0], (recorded_report{PROGRESS_SET_TEXT, 0, CAPTURE_DOWNLOADING_TEXT}));
    EXPECT_EQ(progress.reports[1], (recorded_report{PROGRESS_TOGGLE_PERCENTAGE, 1, ""}));
    EXPECT_EQ(progress.reports[2], (recorded_report{PROGRESS_SET_RANGE, HEIGHT, ""}));
    EXPECT_EQ(progress.count(PROGRESS_STEP), HEIGHT);
    EXPECT_EQ(progress.reports.back(), (recorded_report{PROGRESS_DONE, 0, ""}));
    EXPECT_TRUE(prompt.messages.empty());

    const s_screen_capture& capture = *job.capture;
    EXPECT_TRUE(capture.valid);
    EXPECT_FALSE(capture.from_file);
    EXPECT_EQ(capture.width, WIDTH);
    EXPECT_EQ(capture.height, HEIGHT);
    EXPECT_TRUE(capture_picture(capture).bgr == meant_mono_picture(WIDTH, HEIGHT).bgr);
    EXPECT_TRUE(fake.tcp.is_open) << "the worker never closes the link";
    EXPECT_EQ(fake.tcp.closes, 0);
}

TEST_F(CaptureWorker, TheLeftmostDarkPixelIsStoredAs0x7F)
{
    lines.assign(HEIGHT, "M:01" + std::string(2 * (WIDTH / 8 - 1), '0'));
    EXPECT_EQ(run(capture_worker_mono), capture_outcome::complete);
    EXPECT_EQ(job.capture->pixels[0], 0x7F);
    EXPECT_EQ(job.capture->pixels[1], 0xFF);
}

TEST_F(CaptureWorker, EachInstrumentGetsItsRequest)
{
    struct request_case {
        int type;
        int group;
        const char* mono;
        const char* colour;
    };
    const request_case cases[] = {
        {16, 0, "SCREEN?", "SCREEN,COLOUR?"},
        {16, 1, "SCREEN,GROUP1?", "SCREEN,COLOUR,GROUP1?"},
        {16, 2, "SCREEN,GROUP2?", "SCREEN,COLOUR,GROUP2?"},
        {7, 2, "SCREEN?", "SCREEN,COLOUR?"},
        {1, 1, "SCREEN?", "SCREEN,COLOUR?"},
    };
    for (const request_case& c : cases) {
        SCOPED_TRACE(std::to_string(c.type) + " group " + std::to_string(c.group));
        conn.instrument_type = c.type;
        job.group = c.group;
        const s_screen_size size = capture_screen_size(conn);
        lines = mono_lines(size.width, size.height);
        EXPECT_EQ(run(capture_worker_mono), capture_outcome::complete);
        EXPECT_EQ(sent_after_open(), std::vector<std::string>{c.mono});
        lines = colour_lines(size.width, size.height);
        EXPECT_EQ(run(capture_worker_colour), capture_outcome::complete);
        EXPECT_EQ(sent_after_open(), std::vector<std::string>{c.colour});
    }
}

TEST_F(CaptureWorker, ScreenSizesByInstrumentType)
{
    struct size_case {
        int type;
        std::uint8_t connected;
        int width, height;
    };
    const size_case cases[] = {{1, 1, 512, 272}, {6, 1, 512, 272}, {16, 1, 512, 272}, {5, 1, 320, 240},
                               {7, 1, 320, 240}, {9, 1, 320, 240}, {0, 1, 320, 240}, {16, 0, 0, 0}};
    for (const size_case& c : cases) {
        conn.instrument_type = c.type;
        conn.connected = c.connected;
        const s_screen_size size = capture_screen_size(conn);
        EXPECT_EQ(size.width, c.width) << c.type;
        EXPECT_EQ(size.height, c.height) << c.type;
    }
}

// Every monochrome reply that fails: the recovery bytes after it, the
// message, no valid picture, and the progress still ended.
TEST_F(CaptureWorker, MonochromeRepliesThatFail)
{
    struct failure_case {
        const char* name;
        std::function<void(std::vector<std::string>&)> spoil;
    };
    const failure_case cases[] = {
        {"the reply stops after 5 lines", [](std::vector<std::string>& l) { l.resize(5); }},
        {"nothing comes", [](std::vector<std::string>& l) { l.clear(); }},
        {"a line short of one digit", [](std::vector<std::string>& l) { l[7].pop_back(); }},
        {"a line without its bytes", [](std::vector<std::string>& l) { l[7] = "M:"; }},
        {"a digit that is no hexadecimal digit", [](std::vector<std::string>& l) { l[9][20] = 'G'; }},
        {"an empty line", [](std::vector<std::string>& l) { l[0] = ""; }},
    };
    for (const failure_case& c : cases) {
        SCOPED_TRACE(c.name);
        lines = mono_lines(WIDTH, HEIGHT);
        c.spoil(lines);
        prompt.messages.clear();
        progress.reports.clear();
        EXPECT_EQ(run(capture_worker_mono), capture_outcome::failed);
        std::vector<std::string> expected = {"SCREEN?"};
        expected.insert(expected.end(), RECOVERY.begin(), RECOVERY.end());
        EXPECT_EQ(sent_after_open(), expected);
        EXPECT_TRUE(told_communication_error());
        EXPECT_FALSE(job.capture->valid);
        EXPECT_EQ(progress.reports.back().command, PROGRESS_DONE);
        EXPECT_EQ(progress.count(PROGRESS_DONE), 1);
        fake.tcp.wire.reset();
        fake.tcp.wire.respond = [this](const std::string& line) { return answer(line); };
    }
}

TEST_F(CaptureWorker, CharactersPastTheRowAreNotRead)
{
    lines = mono_lines(WIDTH, HEIGHT);
    lines[3] += "0Z";
    EXPECT_EQ(run(capture_worker_mono), capture_outcome::complete);
    EXPECT_TRUE(capture_picture(*job.capture).bgr == meant_mono_picture(WIDTH, HEIGHT).bgr);
}

TEST_F(CaptureWorker, NoScreenWhileNothingIsConnectedIsAnError)
{
    conn.connected = 0;
    lines = mono_lines(WIDTH, HEIGHT);
    for (capture_worker_routine worker : {capture_worker_mono, capture_worker_colour}) {
        prompt.messages.clear();
        EXPECT_EQ(run(worker), capture_outcome::failed);
        EXPECT_TRUE(sent_after_open().empty()) << "nothing is asked for";
        EXPECT_TRUE(told_communication_error());
        EXPECT_FALSE(job.capture->valid);
        EXPECT_EQ(job.capture->width, 0);
        EXPECT_EQ(progress.reports.back().command, PROGRESS_DONE);
    }
}

TEST_F(CaptureWorker, AColourScreenIsWrittenUprightToItsFile)
{
    lines = colour_lines(WIDTH, HEIGHT);
    EXPECT_EQ(run(capture_worker_colour), capture_outcome::complete);
    EXPECT_EQ(progress.reports[2], (recorded_report{PROGRESS_SET_RANGE, 4 * HEIGHT, ""}));
    EXPECT_EQ(progress.count(PROGRESS_STEP), 4 * HEIGHT);
    const s_screen_capture& capture = *job.capture;
    EXPECT_TRUE(capture.valid);
    EXPECT_TRUE(capture.from_file);
    const s_pixel_image meant = meant_colour_picture(WIDTH, HEIGHT);
    EXPECT_TRUE(capture_picture(capture).bgr == meant.bgr);
    // The file: the graph picture's bytes (bottom-up, so the top raw row is
    // its last row) with the image size stored.
    std::vector<std::uint8_t> expected = bmp_24_file_bytes(meant);
    const std::uint32_t image = 3 * WIDTH * HEIGHT;
    for (int i = 0; i < 4; ++i) {
        expected[34 + i] = static_cast<std::uint8_t>(image >> (8 * i));
    }
    EXPECT_TRUE(file_bytes(job.colour_file) == expected);
}

// Every colour reply that fails ends at once: nothing sent after the
// request, the message, no file.
TEST_F(CaptureWorker, ColourRepliesThatFail)
{
    struct failure_case {
        const char* name;
        std::function<void(std::vector<std::string>&)> spoil;
    };
    const failure_case cases[] = {
        {"the reply stops after 9 lines", [](std::vector<std::string>& l) { l.resize(9); }},
        {"a line one pixel short", [](std::vector<std::string>& l) { l[6].pop_back(); }},
        {"a line one pixel short, with a serial line feed", [](std::vector<std::string>& l) { l[6].back() = '\n'; }},
        {"an empty line", [](std::vector<std::string>& l) { l[2] = ""; }},
    };
    for (const failure_case& c : cases) {
        SCOPED_TRACE(c.name);
        lines = colour_lines(WIDTH, HEIGHT);
        c.spoil(lines);
        prompt.messages.clear();
        EXPECT_EQ(run(capture_worker_colour), capture_outcome::failed);
        EXPECT_EQ(sent_after_open(), std::vector<std::string>{"SCREEN,COLOUR?"});
        EXPECT_TRUE(told_communication_error());
        EXPECT_FALSE(job.capture->valid);
        EXPECT_FALSE(file_exists(job.colour_file));
        EXPECT_EQ(progress.reports.back().command, PROGRESS_DONE);
        fake.tcp.wire.reset();
        fake.tcp.wire.respond = [this](const std::string& line) { return answer(line); };
    }
}

TEST_F(CaptureWorker, AColourFileThatCannotBeWrittenIsAnError)
{
    lines = colour_lines(WIDTH, HEIGHT);
    job.colour_file = folder.file("missing") + "/dlcap.bmp";
    EXPECT_EQ(run(capture_worker_colour), capture_outcome::failed);
    EXPECT_FALSE(job.capture->valid);
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0].text, "Unable to write the bitmap file " + job.colour_file);
    EXPECT_EQ(progress.reports.back().command, PROGRESS_DONE);
}

// Cancel stops the worker before its next line, quietly; the monochrome
// worker still stops the instrument's reply.
TEST_F(CaptureWorker, CancelStopsBeforeTheNextLine)
{
    for (bool colour : {false, true}) {
        SCOPED_TRACE(colour ? "colour" : "mono");
        lines = colour ? colour_lines(WIDTH, HEIGHT) : mono_lines(WIDTH, HEIGHT);
        progress.reports.clear();
        job.cancel = false;
        fake.tcp.wire.reset();
        fake.tcp.wire.respond = [this](const std::string& line) { return answer(line); };
        struct cancel_after_steps final : progress_reporter {
            s_capture_job* job;
            recording_progress* record;
            void report(int command, std::intptr_t value, const char* text) override
            {
                record->report(command, value, text);
                if (record->count(PROGRESS_STEP) == 3) {
                    capture_cancel(*job);
                }
            }
        } canceller;
        canceller.job = &job;
        canceller.record = &progress;
        job.progress = &canceller;
        EXPECT_EQ(run(capture_worker_for(colour)), capture_outcome::cancelled);
        EXPECT_EQ(progress.count(PROGRESS_STEP), 3);
        EXPECT_EQ(progress.reports.back().command, PROGRESS_DONE);
        EXPECT_TRUE(prompt.messages.empty());
        EXPECT_FALSE(job.capture->valid);
        std::vector<std::string> expected = {colour ? "SCREEN,COLOUR?" : "SCREEN?"};
        if (!colour) {
            expected.insert(expected.end(), RECOVERY.begin(), RECOVERY.end());
        }
        EXPECT_EQ(sent_after_open(), expected);
    }
}

// The download around the worker: the link opened, the front panel
// suspended, the worker run, and only once it has ended the panel resumed
// and the link closed.
class ScreenDownload : public CaptureWorker {
public:
    // Runs the worker as the runner would, noting where the link stood.
    capture_runner runner(bool finished = true, bool ended = true)
    {
        return [this, finished, ended](s_capture_job& j) {
            link_open_during_run = fake.tcp.is_open;
            capture_worker_mono(j);
            return s_capture_run{finished, ended};
        };
    }
    bool link_open_during_run = false;
};

TEST_F(ScreenDownload, SuspendsReadsResumesAndClosesInOrder)
{
    lines = mono_lines(WIDTH, HEIGHT);
    const auto capture = std::make_unique<s_screen_capture>();
    capture->valid = 1;  // a previous download's picture, replaced
    const std::uint64_t start = fake.clock.now;
    EXPECT_TRUE(download_and_tell(job, *capture, runner(), prompt));
    EXPECT_EQ(fake.tcp.wire.sent_lines,
              (std::vector<std::string>{"\x14", "SUSPEND,ON", "SCREEN?", "SUSPEND,OFF"}));
    EXPECT_GE(fake.clock.now - start, 200u) << "a wait after the open";
    EXPECT_TRUE(link_open_during_run);
    EXPECT_FALSE(fake.tcp.is_open);
    EXPECT_TRUE(capture->valid);
    EXPECT_TRUE(capture_picture(*capture).bgr == meant_mono_picture(WIDTH, HEIGHT).bgr);
    EXPECT_EQ(prompt.busy_changes, (std::vector<bool>{true, false}));
    EXPECT_TRUE(prompt.messages.empty());
}

TEST_F(ScreenDownload, AFailedDownloadTellsTheViewsMessage)
{
    struct download_case {
        const char* name;
        bool link_opens, finished, ended;
        std::vector<std::string> sent;
        bool link_left_open;
    };
    const download_case cases[] = {
        {"the link does not open", false, true, true, {}, false},
        {"cancelled", true, false, true, {"\x14", "SUSPEND,ON", "SCREEN?", "SUSPEND,OFF"}, false},
        {"the worker still runs", true, true, false, {"\x14", "SUSPEND,ON", "SCREEN?"}, true},
    };
    for (const download_case& c : cases) {
        SCOPED_TRACE(c.name);
        lines = mono_lines(WIDTH, HEIGHT);
        fake.tcp.wire.reset();
        fake.tcp.wire.respond = [this](const std::string& line) { return answer(line); };
        fake.tcp.connect_ok = c.link_opens;
        link_close(&conn);
        prompt.messages.clear();
        const auto capture = std::make_unique<s_screen_capture>();
        EXPECT_FALSE(download_and_tell(job, *capture, runner(c.finished, c.ended), prompt));
        EXPECT_EQ(fake.tcp.wire.sent_lines, c.sent);
        EXPECT_EQ(fake.tcp.is_open, c.link_left_open);
        EXPECT_FALSE(capture->valid) << "nothing to show";
        ASSERT_EQ(prompt.messages.size(), 1u);
        EXPECT_EQ(prompt.messages[0].text, CAPTURE_FAILED_TEXT);
        EXPECT_EQ(prompt.messages[0].caption, "Error");
        EXPECT_EQ(prompt.messages[0].icon, prompt_icon::information);
    }
}

TEST_F(ScreenDownload, AWorkersOwnFailureIsToldOnce)
{
    lines = mono_lines(WIDTH, HEIGHT);
    lines.resize(10);
    const auto capture = std::make_unique<s_screen_capture>();
    EXPECT_FALSE(download_and_tell(job, *capture, runner(), prompt));
    EXPECT_TRUE(told_communication_error()) << "the worker's message, and not the view's";
    EXPECT_FALSE(capture->valid);
    EXPECT_FALSE(fake.tcp.is_open);
}

}  // namespace
