// capture --out FILE.bmp [--group 1|2] [--colour]
//
// The capture view's Download: identify the instrument (its type gives the
// screen's size and whether it has screen groups), open the link, suspend
// the front panel, read the screen (monochrome, or with --colour the colour
// form), resume and close. The monochrome picture is written as the graph
// pictures are (24 bits, white and black); the colour worker writes its
// picture file itself, to FILE instead of "dlcap.bmp" in the temporary
// folder. Every failure prints the program's message and exits 1, leaving
// no file behind; Ctrl+C stops the download before its next line.
#include <cstdio>
#include <memory>
#include <string>

#include "app/user_prompt.h"
#include "capture/capture_download.h"
#include "capture/capture_texts.h"
#include "capture/capture_worker.h"
#include "capture/screen_capture.h"
#include "capture_command.h"
#include "graph/bmp_file.h"
#include "instrument_setup.h"
#include "interrupt_scope.h"
#include "link/connection.h"
#include "sched/timer_service.h"
#include "terminal_progress.h"

namespace {

struct capture_arguments {
    std::string out;
    int group = 0;
    bool colour = false;
};

bool parse_arguments(const cli_context& context, capture_arguments& a, std::string& error)
{
    const std::vector<std::string>& args = context.args;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (word == "--colour") {
            a.colour = true;
            continue;
        }
        if (word != "--out" && word != "--group") {
            error = "capture does not take " + word;
            return false;
        }
        if (i + 1 >= args.size() || args[i + 1].empty()) {
            error = word + " needs a value";
            return false;
        }
        const std::string& value = args[++i];
        if (word == "--out") {
            a.out = value;
        } else if (value == "1" || value == "2") {
            a.group = value[0] - '0';
        } else {
            error = "--group takes 1 or 2";
            return false;
        }
    }
    if (a.out.empty()) {
        error = "capture needs --out FILE.bmp";
        return false;
    }
    return true;
}

}  // namespace

int run_capture(cli_context& context)
{
    capture_arguments arguments;
    std::string error;
    if (!parse_arguments(context, arguments, error)) {
        return cli_usage_error(context, error);
    }
    if (!identify_and_select(context)) {
        return CLI_FAILED;
    }
    context.connection->connected = 1;

    terminal_progress progress(context.err, stream_is_terminal(context.err), timer_now_ms);
    s_capture_job job;
    job.connection = context.connection;
    job.group = arguments.group;
    job.progress = &progress;
    job.prompt = context.prompt;
    if (arguments.colour) {
        job.colour_file = arguments.out;
    }
    const capture_worker_routine worker = capture_worker_for(arguments.colour);
    const capture_runner run = [worker](s_capture_job& j) {
        const interrupt_scope ctrl_c(&j.cancel);
        const capture_outcome outcome = worker(j);
        return s_capture_run{outcome != capture_outcome::cancelled, true};
    };
    const auto capture = std::make_unique<s_screen_capture>();
    if (!download_and_tell(job, *capture, run, *context.prompt)) {
        return CLI_FAILED;
    }
    if (!arguments.colour && !write_bmp_24(arguments.out, capture_picture(*capture))) {
        char text[512];
        std::snprintf(text, sizeof text, CAPTURE_FILE_FAILED_TEXT, arguments.out.c_str());
        context.prompt->tell(text, CAPTURE_FILE_FAILED_CAPTION, prompt_icon::warning);
        return CLI_FAILED;
    }
    return CLI_OK;
}
