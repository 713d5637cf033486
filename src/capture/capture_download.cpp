#include "capture/capture_download.h"

#include "app/user_prompt.h"
#include "capture/capture_texts.h"
#include "link/connection.h"
#include "link/transport.h"

namespace {

constexpr int OPEN_SETTLE_MS = 200;

// The wait cursor for as long as it lives.
class busy_cursor {
public:
    explicit busy_cursor(user_prompt& prompt) : prompt_(prompt) { prompt_.set_busy(true); }
    ~busy_cursor() { prompt_.set_busy(false); }
    busy_cursor(const busy_cursor&) = delete;
    busy_cursor& operator=(const busy_cursor&) = delete;

private:
    user_prompt& prompt_;
};

}  // namespace

capture_worker_routine capture_worker_for(bool colour)
{
    return colour ? capture_worker_colour : capture_worker_mono;
}

capture_download_result run_screen_download(s_capture_job& job, s_screen_capture& capture, const capture_runner& run,
                                            user_prompt& prompt)
{
    const busy_cursor busy(prompt);
    clear_capture(capture);
    s_connection* conn = job.connection;
    if (link_open(conn) != 0) {
        link_close(conn);
        return capture_download_result::failed;
    }
    link_current_backend().clock->sleep_ms(OPEN_SETTLE_MS);
    link_send(conn, CAPTURE_SUSPEND_ON_COMMAND);
    const s_capture_run result = run(job);
    if (!result.worker_ended) {
        return capture_download_result::worker_running;  // the link is the worker's until it ends
    }
    link_send(conn, CAPTURE_SUSPEND_OFF_COMMAND);
    link_close(conn);
    if (!result.finished) {
        return capture_download_result::failed;  // nothing to show, whatever the worker got
    }
    capture = *job.capture;
    return capture_download_result::finished;
}

bool download_and_tell(s_capture_job& job, s_screen_capture& capture, const capture_runner& run, user_prompt& prompt)
{
    if (run_screen_download(job, capture, run, prompt) != capture_download_result::finished) {
        prompt.tell(CAPTURE_FAILED_TEXT, CAPTURE_FAILED_CAPTION, prompt_icon::information);
    }
    return capture.valid != 0;
}
