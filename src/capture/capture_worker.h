// The screen capture's two workers: ask the instrument for its screen over
// an open link and decode the reply into a capture record, reporting to the
// progress window as they go (10007 the caption, 10002 with 1 when the
// transfer begins, 10003 the number of lines, 10004 after every line, 10001
// when they end, whatever happened).
//
// A worker reads through a private copy of the link record and never
// closes the link: the caller opened it and closes it once the worker has
// ended. It decodes into the job's own record, which nobody else touches
// while it runs; the caller takes the record over afterwards. Cancel (the
// progress window's Escape, the tool's Ctrl+C) is looked at before every
// line; a cancelled monochrome worker sends the reset byte and 0x19 as
// after a failed line, so that the instrument stops sending.
#pragma once

#include <atomic>
#include <memory>
#include <string>

#include "capture/screen_capture.h"

class progress_reporter;
class user_prompt;

struct s_capture_job {
    s_connection* connection = nullptr;  // the open link; only copied
    int group = 0;                       // 1 or 2: a group of a type 16 instrument's screen; else 0
    progress_reporter* progress = nullptr;  // may be null
    user_prompt* prompt = nullptr;          // the worker's own message; may be null
    // Where the colour worker writes its picture; empty: "dlcap.bmp" in the
    // user's temporary folder.
    std::string colour_file;
    std::atomic<bool> cancel{false};
    // The worker's result: cleared when it starts, valid set only when the
    // picture came whole (and, in colour, its file was written).
    std::unique_ptr<s_screen_capture> capture = std::make_unique<s_screen_capture>();
};

enum class capture_outcome {
    complete,   // the capture is valid
    failed,     // the worker told the user why (or there was no screen to ask for)
    cancelled,  // stopped by cancel, nothing told
};

// "SCREEN,GROUP1?\n", "SCREEN,GROUP2?\n" (type 16 with group 1 or 2) or
// "SCREEN?\n"; with colour "SCREEN,COLOUR,GROUP1?\n" and so on.
const char* capture_request_command(int instrument_type, int group, bool colour);

// Height lines of hexadecimal bytes. A line that does not come, or that is
// short or holds anything but hexadecimal digits, ends the worker: the
// reset byte and 0x19 are sent, 100 ms of input drained, and the user told
// "A communication error has occured while downloading the screenshot from
// the instrument". A screen of 0 by 0 (no instrument connected) is asked
// for nothing and fails the same way.
capture_outcome capture_worker_mono(s_capture_job& job);

// 4 x height lines of pixel characters, then the picture written as a
// 24-bit bitmap file (the job's colour_file). A line that does not come, is
// empty or short ends the worker at once with the same message (nothing
// sent); a file that cannot be written fails with "Unable to write the
// bitmap file %s".
capture_outcome capture_worker_colour(s_capture_job& job);

// The cancel: the worker stops before its next line.
void capture_cancel(s_capture_job& job);
