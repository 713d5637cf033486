#include "capture/capture_worker.h"

#include <cstdio>
#include <string>

#include "app/debug_output.h"
#include "app/progress_reporter.h"
#include "app/user_prompt.h"
#include "capture/capture_rows.h"
#include "capture/capture_texts.h"
#include "graph/bmp_file.h"
#include "link/connection.h"

namespace {

constexpr int TYPE_WITH_GROUPS = 16;
constexpr int MONO_LINE_BUFFER = 256;
constexpr int COLOUR_LINE_BUFFER = 512;
constexpr int RECOVERY_DRAIN_MS = 100;

struct request_row {
    int group;
    const char* mono;
    const char* colour;
};

constexpr request_row requests[] = {
    {0, "SCREEN?\n", "SCREEN,COLOUR?\n"},
    {1, "SCREEN,GROUP1?\n", "SCREEN,COLOUR,GROUP1?\n"},
    {2, "SCREEN,GROUP2?\n", "SCREEN,COLOUR,GROUP2?\n"},
};

void report(s_capture_job& job, int command, std::intptr_t value = 0, const char* text = nullptr)
{
    if (job.progress) {
        job.progress->report(command, value, text);
    }
}

void tell(s_capture_job& job, const char* text, const char* caption)
{
    if (job.prompt) {
        job.prompt->tell(text, caption, prompt_icon::warning);
    }
}

// What both workers do first: the caption, the private link, the cleared
// record with the screen's size. False when there is no screen to ask for.
bool begin(s_capture_job& job, s_connection& link, bool colour)
{
    report(job, PROGRESS_SET_TEXT, 0, CAPTURE_DOWNLOADING_TEXT);
    link = *job.connection;
    s_screen_capture& capture = *job.capture;
    clear_capture(capture);
    capture.from_file = colour ? 1 : 0;
    const s_screen_size size = capture_screen_size(link);
    capture.width = size.width;
    capture.height = size.height;
    return size.width > 0 && size.height > 0;
}

// How a worker ends: its message on failure, 10001 in every case.
capture_outcome finish(s_capture_job& job, capture_outcome outcome)
{
    if (outcome == capture_outcome::complete) {
        job.capture->valid = 1;
    } else if (outcome == capture_outcome::failed) {
        tell(job, CAPTURE_COMMUNICATION_ERROR_TEXT, CAPTURE_COMMUNICATION_ERROR_CAPTION);
    }
    report(job, PROGRESS_DONE);
    return outcome;
}

// The reset byte, then 0x19, then whatever still comes for 100 ms.
void recover(s_connection& link)
{
    link_send(&link, CAPTURE_RECOVERY_RESET);
    link_send(&link, CAPTURE_RECOVERY_END);
    link_drain(&link, RECOVERY_DRAIN_MS);
}

capture_outcome read_mono_rows(s_capture_job& job, s_connection& link)
{
    s_screen_capture& capture = *job.capture;
    const int bytes_per_row = capture.width / 8;
    char line[MONO_LINE_BUFFER];
    for (int row = 0; row < capture.height; ++row) {
        if (job.cancel) {
            recover(link);
            return capture_outcome::cancelled;
        }
        const int length = link_read_line(&link, line, MONO_LINE_BUFFER);
        std::uint8_t* stored = &capture.pixels[static_cast<std::size_t>(bytes_per_row) * static_cast<std::size_t>(row)];
        if (length <= 0 || !decode_mono_row(line, capture_line_length(line, length), bytes_per_row, stored)) {
            recover(link);
            return capture_outcome::failed;
        }
        report(job, PROGRESS_STEP);
    }
    return capture_outcome::complete;
}

capture_outcome read_colour_lines(s_capture_job& job, s_connection& link, std::string& raw)
{
    const s_screen_capture& capture = *job.capture;
    const int lines = CAPTURE_LINES_PER_COLOUR_ROW * capture.height;
    const int pixels_per_line = capture.width / CAPTURE_LINES_PER_COLOUR_ROW;
    char line[COLOUR_LINE_BUFFER];
    for (int i = 0; i < lines; ++i) {
        if (job.cancel) {
            return capture_outcome::cancelled;
        }
        const int length = link_read_line(&link, line, COLOUR_LINE_BUFFER);
        if (length <= 0 || !take_colour_line(line, capture_line_length(line, length), pixels_per_line, raw)) {
            return capture_outcome::failed;
        }
        report(job, PROGRESS_STEP);
    }
    return capture_outcome::complete;
}

}  // namespace

const char* capture_request_command(int instrument_type, int group, bool colour)
{
    const int chosen = instrument_type == TYPE_WITH_GROUPS ? group : 0;
    for (const request_row& row : requests) {
        if (row.group == chosen) {
            return colour ? row.colour : row.mono;
        }
    }
    return colour ? requests[0].colour : requests[0].mono;
}

capture_outcome capture_worker_mono(s_capture_job& job)
{
    const auto link = std::make_unique<s_connection>();
    if (!begin(job, *link, false)) {
        return finish(job, capture_outcome::failed);
    }
    const s_screen_capture& capture = *job.capture;
    link_send(link.get(), capture_request_command(link->instrument_type, job.group, false));
    report(job, PROGRESS_TOGGLE_PERCENTAGE, 1);
    report(job, PROGRESS_SET_RANGE, capture.height);
    return finish(job, read_mono_rows(job, *link));
}

capture_outcome capture_worker_colour(s_capture_job& job)
{
    const auto link = std::make_unique<s_connection>();
    if (!begin(job, *link, true)) {
        return finish(job, capture_outcome::failed);
    }
    s_screen_capture& capture = *job.capture;
    link_send(link.get(), capture_request_command(link->instrument_type, job.group, true));
    report(job, PROGRESS_TOGGLE_PERCENTAGE, 1);
    report(job, PROGRESS_SET_RANGE, CAPTURE_LINES_PER_COLOUR_ROW * capture.height);
    std::string raw;
    raw.reserve(static_cast<std::size_t>(capture.width) * static_cast<std::size_t>(capture.height));
    const capture_outcome read = read_colour_lines(job, *link, raw);
    if (read != capture_outcome::complete) {
        return finish(job, read);
    }
    colour_rows_to_pixels(raw, capture.width, capture.height, capture.pixels);
    char trace[64];
    std::snprintf(trace, sizeof trace, "Sizeof Dump: %d, sizeof buffer %d\n", static_cast<int>(CAPTURE_PIXEL_BYTES), 1);
    debug_output(trace);
    const std::string file = job.colour_file.empty() ? capture_colour_file_path() : job.colour_file;
    const std::size_t image_bytes = bmp_row_stride(capture.width, 24) * static_cast<std::size_t>(capture.height);
    if (!write_bmp_raw(file, capture.width, capture.height, capture.pixels, image_bytes)) {
        char text[512];
        std::snprintf(text, sizeof text, CAPTURE_FILE_FAILED_TEXT, file.c_str());
        if (job.prompt) {
            job.prompt->tell(text, CAPTURE_FILE_FAILED_CAPTION, prompt_icon::warning);
        }
        report(job, PROGRESS_DONE);
        return capture_outcome::failed;
    }
    return finish(job, capture_outcome::complete);
}

void capture_cancel(s_capture_job& job)
{
    job.cancel = true;
}
