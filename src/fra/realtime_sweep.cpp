#include "fra/realtime_sweep.h"

#include <cmath>
#include <cstdlib>
#include <system_error>

#include "app/user_prompt.h"
#include "config/config_transfer.h"
#include "config/instrument_config.h"
#include "graph/exponent_text.h"
#include "graph/number_format.h"
#include "link/connection.h"

namespace {

constexpr int STEPS_PARAMETER = 18;
constexpr int START_FREQUENCY_PARAMETER = 19;
constexpr int END_FREQUENCY_PARAMETER = 20;
constexpr int OUTPUT_PARAMETER = 7;
constexpr int GENERATOR_FREQUENCY_PARAMETER = 48;
constexpr int OUTPUT_OFF = 0;
constexpr int POLL_INTERVAL_MS = 200;
constexpr int STATUS_REPLY_SIZE = 33;  // at most 32 characters
constexpr int FREQUENCY_DIGITS = 4;    // "%0.4E"

constexpr const char* THREAD_FAILED_TEXT = "The FRA realtime measurement thread failed!!";
constexpr const char* THREAD_FAILED_CAPTION = "Corvexa2";

double held_frequency(const instrument_config& config, int id)
{
    char text[CONFIG_VALUE_SIZE] = {};
    config.get_value_text(id, text);
    return parse_eng(text);
}

}  // namespace

std::vector<double> realtime_frequencies(int n, double f1, double f2)
{
    std::vector<double> list;
    if (n < 2 || !(f1 > 0) || !(f2 > 0) || !std::isfinite(f1) || !std::isfinite(f2)) {
        return list;
    }
    const double ratio = std::pow(10.0, std::log10(f2 / f1) / (n - 1));
    double f = f1;
    for (int i = 0; i < n; ++i) {
        list.push_back(f);
        f *= ratio;
    }
    return list;
}

bool realtime_output_on(const s_sweep_context& context)
{
    constexpr int OUTPUT_ON = 1;
    bool written = false;
    if (link_open(context.connection) == 0) {
        context.config->set_value_int(OUTPUT_PARAMETER, OUTPUT_ON);
        try {
            written = context.config->write_param(OUTPUT_PARAMETER, context.connection, true);
        } catch (const config_transfer_error&) {
        }
    }
    link_close(context.connection);
    return written;
}

realtime_sweep::realtime_sweep(s_sweep_flags& flags, const s_sweep_context& context, const s_sweep_request& request,
                               int mode)
    : flags_(flags), context_(context), request_(request), mode_(mode)
{
}

realtime_sweep::~realtime_sweep()
{
    end_worker();
}

void realtime_sweep::end_worker()
{
    if (worker_.joinable()) {
        stop_ = true;
        worker_.join();
    }
}

void realtime_sweep::control(int operation)
{
    switch (operation) {
    case REALTIME_START:
        start();
        break;
    case REALTIME_NEXT_POINT:
        next_point();
        break;
    case REALTIME_CANCEL:
        cancel();
        break;
    case REALTIME_JOIN:
        join();
        break;
    case REALTIME_PAUSE_RESUME:
        pause_or_resume();
        break;
    case REALTIME_FINISH:
        finish();
        break;
    default:
        break;
    }
}

bool realtime_sweep::prepare()
{
    if (link_open(context_.connection) != 0) {
        link_close(context_.connection);
        if (context_.prompt) {
            context_.prompt->tell(SWEEP_NO_CONNECTION_TEXT, SWEEP_NO_CONNECTION_CAPTION, prompt_icon::warning);
        }
        return false;
    }
    sweep_wake_instrument(context_.connection);
    s_sweep_setup setup;
    sweep_read_steps(context_, setup);
    sweep_check_datalog(context_, setup);
    const bool usable = sweep_setup_usable(setup) && sweep_ensure_mode(context_, mode_);
    if (usable) {
        prepare_block(setup);
    }
    link_close(context_.connection);
    return usable;
}

void realtime_sweep::start()
{
    // A restart from a pause: the stopped worker has been joined already.
    end_worker();
    flags_.download_failed = false;
    if (!prepare()) {
        phase_ = realtime_phase::gave_up;
        return;
    }
    const instrument_config& config = *context_.config;
    const std::vector<double> list =
        realtime_frequencies(config.get_value_int(STEPS_PARAMETER), held_frequency(config, START_FREQUENCY_PARAMETER),
                             held_frequency(config, END_FREQUENCY_PARAMETER));
    list_.assign(list.begin(), list.end());
    if (list_.empty()) {
        phase_ = realtime_phase::gave_up;
        return;
    }
    flags_.cancel = false;
    flags_.running = true;
    flags_.received = -1;
    stop_ = false;
    point_ready_ = false;
    phase_ = realtime_phase::running;
    list_ready(list_.front());
    next_point();
}

void realtime_sweep::next_point()
{
    if (flags_.cancel || !flags_.running || worker_.joinable() || phase_ != realtime_phase::running) {
        return;
    }
    if (list_.empty()) {
        finish();
        return;
    }
    worker_frequency_ = list_.front();
    list_.pop_front();
    worker_done_ = false;
    point_ready_ = false;
    try {
        worker_ = launch_point_worker(worker_frequency_);
    } catch (const std::system_error&) {
        list_.push_front(worker_frequency_);
        flags_.cancel = true;
        phase_ = realtime_phase::cancelled;
        if (context_.prompt) {
            context_.prompt->tell(THREAD_FAILED_TEXT, THREAD_FAILED_CAPTION, prompt_icon::information);
        }
    }
}

void realtime_sweep::run_point_worker(double f)
{
    s_connection* conn = context_.connection;
    bool whole = false;
    if (link_open(conn) == 0) {
        whole = set_generator_frequency(f) && measure_point(f);
        link_close(conn);
    } else {
        link_close(conn);
        // No point can be measured without the link: the sweep ends here.
        flags_.cancel = true;
        if (context_.prompt) {
            context_.prompt->tell(SWEEP_NO_CONNECTION_TEXT, SWEEP_NO_CONNECTION_CAPTION, prompt_icon::warning);
        }
    }
    point_ready_ = whole;
    worker_done_ = true;
    // The link is closed before the view hears of the point.
    if (flags_.view) {
        flags_.view->post(REALTIME_POINT_COMMAND);
    }
}

bool realtime_sweep::collect_worker()
{
    if (!worker_.joinable()) {
        return false;
    }
    worker_.join();
    const bool whole = point_ready_.exchange(false);
    if (whole) {
        take_point();
    } else if (!flags_.cancel) {
        // Stopped by a pause before the point was whole: measure it again.
        list_.push_front(worker_frequency_);
    }
    return whole;
}

bool realtime_sweep::point_arrived()
{
    if (!worker_.joinable() || !worker_done_) {
        return false;
    }
    const bool taken = collect_worker();
    if (flags_.cancel) {
        phase_ = realtime_phase::cancelled;
        return taken;
    }
    next_point();
    return taken;
}

void realtime_sweep::cancel()
{
    // Also when the last frequency is being measured (the list is empty
    // then): the worker is always stopped and joined.
    if (phase_ != realtime_phase::running && phase_ != realtime_phase::paused) {
        return;
    }
    flags_.cancel = true;
    collect_worker();
    phase_ = realtime_phase::cancelled;
}

void realtime_sweep::join()
{
    if (worker_.joinable()) {
        worker_.join();
    }
}

void realtime_sweep::pause_or_resume()
{
    if (phase_ == realtime_phase::running && flags_.running) {
        flags_.running = false;
        stop_ = true;
        collect_worker();
        stop_ = false;
        phase_ = realtime_phase::paused;
        return;
    }
    if (phase_ == realtime_phase::paused) {
        flags_.running = true;
        phase_ = realtime_phase::running;
        next_point();
    }
}

void realtime_sweep::finish()
{
    s_connection* conn = context_.connection;
    if (link_open(conn) == 0) {
        if (request_.keep_output_on) {
            set_generator_frequency(request_.set_start_frequency ? request_.start_frequency
                                                                  : request_.end_frequency);
        } else {
            context_.config->set_value_int(OUTPUT_PARAMETER, OUTPUT_OFF);
            try {
                context_.config->write_param(OUTPUT_PARAMETER, conn, true);
            } catch (const config_transfer_error&) {
            }
        }
    }
    link_close(conn);
    flags_.running = false;
    phase_ = realtime_phase::finished;
    finished();
}

bool realtime_sweep::set_generator_frequency(double frequency)
{
    const std::string text = exp_text(frequency, FREQUENCY_DIGITS);
    context_.config->set_value_text(GENERATOR_FREQUENCY_PARAMETER, text.c_str());
    try {
        return context_.config->write_param(GENERATOR_FREQUENCY_PARAMETER, context_.connection, true);
    } catch (const config_transfer_error&) {
        return false;
    }
}

bool realtime_sweep::wait_for_point(bool (*ready)(int status))
{
    s_connection* conn = context_.connection;
    for (bool first = true;; first = false) {
        if (!first) {
            sweep_sleep_ms(POLL_INTERVAL_MS);
        }
        if (stopped()) {
            return false;
        }
        link_send(conn, "DAV?\n");
        char reply[STATUS_REPLY_SIZE];
        const int status = link_read_line(conn, reply, STATUS_REPLY_SIZE) > 0 ? std::atoi(reply) : 0;
        if (ready(status)) {
            return true;
        }
    }
}

void realtime_sweep::pause_between_reads()
{
    sweep_sleep_ms(POLL_INTERVAL_MS);
}
