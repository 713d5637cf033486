// The bulk transfers: every parameter the instrument type names, read into
// the model (read_all) or written where the user changed it or the
// instrument no longer matches (write_all), with the instrument suspended
// for the duration.
#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "app/progress_reporter.h"
#include "app/user_prompt.h"
#include "config/config_transfer.h"
#include "config/instrument_config.h"
#include "config/parameter_names.h"
#include "link/comms_log.h"
#include "link/connection.h"
#include "link/identify.h"
#include "link/transport.h"

namespace {

constexpr int FIRST_NUMBER = 255;  // the loops run from here down to 1
constexpr int SETTLE_MS = 100;
constexpr int SUSPEND_ATTEMPTS = 5;
constexpr int SUSPEND_REPLY_SIZE = 15;  // at most 14 characters
constexpr int RESUME_LINES = 5;
constexpr int TRANSFER_TIMEOUT_MS = 300;
constexpr int READ_ERRORS_TOLERATED = 2;
constexpr const char* PROGRESS_TEXT = "Reading Configuration from WXE";

silent_prompt no_prompt;
std::atomic<user_prompt*> installed_prompt{nullptr};

void sleep_ms(int ms)
{
    link_current_backend().clock->sleep_ms(ms);
}

void warn(const std::string& text)
{
    config_transfer_prompt().tell(text.c_str(), CONFIG_TRANSFER_CAPTION, prompt_icon::warning);
}

// The wait cursor while a transfer blocks the main thread (a transfer that
// reports to a progress window runs on a worker and shows none).
class busy_cursor {
public:
    explicit busy_cursor(bool shown) : shown_(shown)
    {
        if (shown_) {
            config_transfer_prompt().set_busy(true);
        }
    }
    ~busy_cursor()
    {
        if (shown_) {
            config_transfer_prompt().set_busy(false);
        }
    }
    busy_cursor(const busy_cursor&) = delete;
    busy_cursor& operator=(const busy_cursor&) = delete;

private:
    bool shown_;
};

void report(progress_reporter* progress, int command, std::intptr_t value, const char* text = nullptr)
{
    if (progress) {
        progress->report(command, value, text);
    }
}

// Opens the link when the transfer owns it. Nothing may be sent on a link
// that is not open: that is reported, and the transfer does not start.
bool link_ready(s_connection* conn, bool open_link)
{
    if (open_link && link_open(conn) != 0) {
        link_close(conn);
    }
    if (conn->open) {
        return true;
    }
    warn(link_open_failure_message(conn));
    return false;
}

// "SUSPEN,ON" until the instrument's status reads 0 or less, at most five
// times; the transfer goes on either way.
void suspend(s_connection* conn)
{
    for (int attempt = 0; attempt < SUSPEND_ATTEMPTS; ++attempt) {
        link_send(conn, "SUSPEN,ON\n");
        link_send(conn, "*ESR?\n");
        char reply[SUSPEND_REPLY_SIZE];
        if (link_read_line(conn, reply, SUSPEND_REPLY_SIZE) > 0 && reply[0] != '\0' &&
            config_leading_int(reply) <= 0) {
            return;
        }
    }
}

void set_transfer_timeout(s_connection* conn)
{
    link_set_timeout(conn, TRANSFER_TIMEOUT_MS);
}

// Back to the link's default timeout and the instrument's own processing
// (the resume lines get no reply); the link closed when the transfer owns it.
void resume(s_connection* conn, bool open_link)
{
    link_set_timeout(conn, LINK_DEFAULT_TIMEOUT_MS);
    for (int i = 0; i < RESUME_LINES; ++i) {
        link_send(conn, "SUSPEN,OFF\n");
    }
    if (open_link) {
        link_close(conn);
    }
}

void log_step(const char* verb, const char* name, int number)
{
    const std::string line = std::string(verb) + name + " (" + std::to_string(number) + ")\n";
    comms_log_write(line.c_str());
}

bool same_value(const s_config_param& a, const s_config_param& b)
{
    if (a.kind != b.kind) {
        return false;
    }
    if (a.kind == CONFIG_KIND_CHOICE) {
        return config_int_of(a.value) == config_int_of(b.value);
    }
    if (config_value_not_set(a) || config_value_not_set(b)) {
        return config_value_not_set(a) && config_value_not_set(b);
    }
    for (std::size_t i = 0; i < sizeof a.value; ++i) {
        const char x = (a.value[i] >= 'a' && a.value[i] <= 'z') ? static_cast<char>(a.value[i] - 32) : a.value[i];
        const char y = (b.value[i] >= 'a' && b.value[i] <= 'z') ? static_cast<char>(b.value[i] - 32) : b.value[i];
        if (x != y) {
            return false;
        }
        if (x == '\0') {
            return true;
        }
    }
    return true;
}

// A choice whose translation depends on the operation mode, read in a bulk
// read before parameter 1: its raw reply waits until the mode is known.
struct pending_choice {
    int id;
    int raw;
};

void store_pending(instrument_config& model, const std::vector<pending_choice>& pending, s_connection* conn)
{
    const s_translation_context context = model.translation_context(conn);
    for (const pending_choice& p : pending) {
        s_config_param& record = *model.record(p.id);
        const int value = model.to_program_value(p.id, p.raw, context);
        config_set_int(record.value, value);
        config_log_transfer_value(config_option_name(record, value), false);
    }
}

}  // namespace

void config_transfer_use_prompt(user_prompt* prompt)
{
    installed_prompt = prompt;
}

user_prompt& config_transfer_prompt()
{
    user_prompt* prompt = installed_prompt.load();
    return prompt ? *prompt : no_prompt;
}

bool config_read_all_named(instrument_config& model, s_connection* conn, bool open_link, const char* const* names,
                           progress_reporter* progress)
{
    busy_cursor busy(progress == nullptr);
    report(progress, PROGRESS_SET_TEXT, 0, PROGRESS_TEXT);
    if (!names || !link_ready(conn, open_link)) {
        report(progress, PROGRESS_FAILED, 0);
        return false;
    }
    const char reset[2] = {LINK_RESET_BYTE, '\0'};
    link_send(conn, reset);
    link_drain(conn, SETTLE_MS);
    sleep_ms(SETTLE_MS);
    suspend(conn);
    set_transfer_timeout(conn);
    report(progress, PROGRESS_SET_RANGE, FIRST_NUMBER);

    int errors = 0;
    std::vector<pending_choice> pending;
    for (int number = FIRST_NUMBER; number >= 1; --number) {
        report(progress, PROGRESS_SET_POSITION, 256 - number);
        const char* name = names[number];
        if (parameter_unused(name)) {
            continue;
        }
        log_step("Read::", name, number);
        try {
            const s_config_param& own = *model.record(number);
            if (own.kind == CONFIG_KIND_CHOICE && model.translation_depends_on_mode(number)) {
                // The same query read_param makes; translated once parameter 1 is in.
                const int raw = config_query_int_checked(config_transfer_command(number, own),
                                                         config_limit_as_int(own.min),
                                                         config_limit_as_int(own.max), conn);
                pending.push_back({number, raw});
            } else {
                model.read_param(number, conn, true);
            }
        } catch (const config_transfer_error& error) {
            ++errors;
            const bool too_many = errors > READ_ERRORS_TOLERATED;
            warn(config_read_error_text(error.code(), name, too_many));
            if (too_many) {
                break;
            }
        }
    }
    store_pending(model, pending, conn);
    resume(conn, open_link);
    const bool ok = errors <= READ_ERRORS_TOLERATED;
    report(progress, ok ? PROGRESS_DONE : PROGRESS_FAILED, 0);
    return ok;
}

void config_write_all_named(instrument_config& model, s_connection* conn, bool open_link, const char* const* names)
{
    busy_cursor busy(true);
    if (!names || !link_ready(conn, open_link)) {
        return;
    }
    link_drain(conn, SETTLE_MS);
    sleep_ms(SETTLE_MS);
    suspend(conn);
    set_transfer_timeout(conn);

    for (int number = FIRST_NUMBER; number >= 1; --number) {
        const char* name = names[number];
        if (parameter_unused(name)) {
            continue;
        }
        s_config_param& own = *model.record(number);
        bool differs = false;
        if (!own.changed) {
            s_config_param scratch = own;
            scratch.changed = false;
            log_step("Read::", name, number);
            try {
                model.read_param(number, conn, true, &scratch);
            } catch (const config_transfer_error& error) {
                warn(config_bulk_write_error_text(error.code(), name));
                break;
            }
            differs = !same_value(scratch, own);
        }
        if (!own.changed && !differs) {
            continue;
        }
        log_step("Write::", name, number);
        if (model.write_param(number, conn, true)) {
            continue;
        }
        const config_write_refusal why = config_check_writable(own);
        if (const std::optional<std::int32_t> code = config_last_write_error()) {
            warn(config_write_error_text(*code));
        } else if (why == config_write_refusal::out_of_limits && own.min != CONFIG_NO_LIMIT &&
                   own.max != CONFIG_NO_LIMIT) {
            comms_log_write((config_limits_text(name, number, own) + "\n").c_str());
        } else if (why == config_write_refusal::binary_format) {
            comms_log_write((config_binary_format_text(name, number) + "\n").c_str());
        }
    }
    resume(conn, open_link);
}

void instrument_config::read_all_with_progress(const s_config_read_job& job)
{
    if (!job.connection) {
        report(job.progress, PROGRESS_FAILED, 0);
        return;
    }
    // A private copy of the connection for the worker thread. When the job
    // opens the link itself the copy starts closed, so it opens and closes a
    // link of its own and never closes the caller's; otherwise it works on
    // the caller's open link.
    auto copy = std::make_unique<s_connection>(*job.connection);
    if (job.open_link) {
        copy->open = 0;
        copy->socket = LINK_INVALID_SOCKET;
        copy->serial_handle = LINK_INVALID_HANDLE;
        copy->rx_count = copy->rx_head = copy->rx_tail = 0;
    }
    config_read_all_named(*this, copy.get(), job.open_link, parameter_names_for_type(copy->instrument_type),
                          job.progress);
}

bool instrument_config::read_all(s_connection* conn, bool open_link)
{
    return config_read_all_named(*this, conn, open_link, parameter_names_for_type(conn->instrument_type));
}

void instrument_config::write_all(s_connection* conn, bool open_link)
{
    config_write_all_named(*this, conn, open_link, parameter_names_for_type(conn->instrument_type));
}
