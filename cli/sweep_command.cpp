// sweep fra [--steps N] [--start F] [--end F] [--cycles N] [--out FILE]
//           [--db FILE --session ID --project NAME --name NAME] [--yes]
//
// One FRA sweep as the FRA view runs it: identify the instrument, read its
// configuration, apply the options through the "Test Details" checks (a
// refused value prints the dialog's message, exits 1 and sends nothing),
// write the configuration, then run the sweep worker. The points go to FILE
// as the sweep data file the views write, or to standard output below the
// list's column titles; with --db the sweep is also stored as a test.
// Progress goes to standard error. Ctrl+C cancels as the progress window's
// Cancel does: nothing is written, exit 1.
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "app/user_prompt.h"
#include "cli_context.h"
#include "config/config_selection.h"
#include "config/config_transfer.h"
#include "config/instrument_config.h"
#include "db/db_read.h"
#include "db_command_support.h"
#include "fra/fra_sweep_worker.h"
#include "fra/sweep_data_file.h"
#include "fra/sweep_list_columns.h"
#include "fra/sweep_rows.h"
#include "fra/sweep_settings_accept.h"
#include "fra/sweep_settings_form.h"
#include "instrument_setup.h"
#include "link/connection.h"
#include "sweep_commands.h"
#include "terminal_progress.h"

namespace {

struct sweep_arguments {
    std::string steps, start, end, cycles, out, database, session, project, name;
    bool yes = false;
};

// "--option VALUE" pairs and the flag --yes; false with a usage message.
bool parse_arguments(const cli_context& context, sweep_arguments& a, std::string& error)
{
    struct option {
        const char* name;
        std::string sweep_arguments::*field;
    };
    const option options[] = {
        {"--steps", &sweep_arguments::steps},     {"--start", &sweep_arguments::start},
        {"--end", &sweep_arguments::end},         {"--cycles", &sweep_arguments::cycles},
        {"--out", &sweep_arguments::out},         {"--db", &sweep_arguments::database},
        {"--session", &sweep_arguments::session}, {"--project", &sweep_arguments::project},
        {"--name", &sweep_arguments::name},
    };
    for (std::size_t i = 0; i < context.args.size(); ++i) {
        const std::string& word = context.args[i];
        if (word == "--yes") {
            a.yes = true;
            continue;
        }
        bool known = false;
        for (const option& o : options) {
            if (word != o.name) {
                continue;
            }
            if (i + 1 >= context.args.size() || context.args[i + 1].empty()) {
                error = word + " needs a value";
                return false;
            }
            a.*o.field = context.args[++i];
            known = true;
        }
        if (!known) {
            error = "sweep fra does not take " + word;
            return false;
        }
    }
    const bool any_database = !a.database.empty() || !a.session.empty() || !a.name.empty() || !a.project.empty();
    if (any_database && (a.database.empty() || a.session.empty())) {
        error = "--db FILE and --session ID go together";
        return false;
    }
    return true;
}

// The datalog question: --yes answers Yes; a terminal is asked; anywhere
// else the answer is No.
class sweep_prompt final : public user_prompt {
public:
    sweep_prompt(user_prompt& shown, bool yes) : shown_(shown), yes_(yes) {}
    void tell(const char* text, const char* caption, prompt_icon icon) override { shown_.tell(text, caption, icon); }
    bool ask_yes_no(const char* text, const char* caption, prompt_icon icon) override
    {
        shown_.tell(text, caption, icon);
        if (yes_) {
            return true;
        }
        if (!stream_is_terminal(stdin)) {
            return false;
        }
        std::fputs("[y/N] ", stdout);
        std::fflush(stdout);
        char answer[16] = {};
        return std::fgets(answer, sizeof answer, stdin) && (answer[0] == 'y' || answer[0] == 'Y');
    }
    void set_busy(bool busy) override { shown_.set_busy(busy); }

private:
    user_prompt& shown_;
    bool yes_;
};

// Takes the session the options name and the pending test.
class sweep_host final : public test_details_host {
public:
    explicit sweep_host(std::int64_t session) : session_(session) {}
    std::int64_t find_session(const std::string&) override { return session_; }
    void set_pending_test(s_db_test&& test) override { pending = std::move(test); }
    s_db_test pending;

private:
    std::int64_t session_;
};

// The view: remembers that the block came.
class delivery_sink final : public command_sink {
public:
    void post(int command) override { delivered = delivered || command == SWEEP_DOWNLOADED_COMMAND; }
    std::atomic<bool> delivered{false};
};

// Ctrl+C is the progress window's Cancel.
std::atomic<s_sweep_job*> running_job{nullptr};

extern "C" void cancel_on_interrupt(int)
{
    if (s_sweep_job* job = running_job.load()) {
        job->cancel = true;
    }
}

std::int64_t now_ms()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void print_rows(const cli_context& context, const s_fra_sweep& block)
{
    const bool three_channel = block.is_type9 && block.channels == 3;
    std::string header;
    for (const std::string& title : fra_list_column_titles(three_channel)) {
        header += (header.empty() ? "" : "\t") + title;
    }
    std::fprintf(context.out, "%s\n", header.c_str());
    for (int i = 0; i < block.points; ++i) {
        std::fprintf(context.out, "%s\n", fra_sweep_row(i + 1, block.point[i], three_channel).c_str());
    }
}

}  // namespace

int run_sweep_fra(cli_context& context)
{
    sweep_arguments arguments;
    std::string error;
    if (!parse_arguments(context, arguments, error)) {
        return cli_usage_error(context, error);
    }
    std::int64_t session = 0;
    if (!arguments.session.empty()) {
        char* end = nullptr;
        session = std::strtoll(arguments.session.c_str(), &end, 10);
        if (*end != '\0' || session <= 0) {
            return cli_usage_error(context, "SESSION_ID must be a whole number from 1: " + arguments.session);
        }
    }
    const database_scope scope(context);
    if (!arguments.database.empty() && !open_existing_database(context, arguments.database)) {
        return CLI_FAILED;
    }
    if (!identify_and_select(context) || !current_config->read_all(context.connection, true)) {
        return CLI_FAILED;
    }

    instrument_config& config = *current_config;
    s_sweep_request request;
    s_repeat_settings repeat;
    s_sweep_settings_texts texts = sweep_settings_opening_texts(config, test_details_variant::fra, request);
    texts.sweep_type = SWEEP_SINGLE;
    for (const auto& [given, field] : {std::pair{&arguments.steps, &texts.steps},
                                       std::pair{&arguments.start, &texts.start_frequency},
                                       std::pair{&arguments.end, &texts.end_frequency},
                                       std::pair{&arguments.cycles, &texts.minimum_cycles}}) {
        if (!given->empty()) {
            *field = *given;
        }
    }
    texts.save_to_database = !arguments.database.empty();
    texts.session_number = session;
    texts.session_name = arguments.session;
    texts.project_name = arguments.project;
    texts.test_name = arguments.name;

    sweep_prompt prompt(*context.prompt, arguments.yes);
    sweep_host host(session);
    const s_test_details_target target{test_details_variant::fra, &config, context.connection, &request, &repeat,
                                       nullptr};
    if (!confirm_test_details(target, texts, prompt, host)) {
        return CLI_FAILED;
    }

    s_sweep_job job;
    delivery_sink view;
    job.view = &view;
    job.save_to_database = texts.save_to_database;
    job.pending_test = std::move(host.pending);
    terminal_progress progress(context.err, stream_is_terminal(context.err), now_ms);
    bool saved = true;
    s_sweep_context sweep;
    sweep.connection = context.connection;
    sweep.config = &config;
    sweep.progress = &progress;
    sweep.prompt = &prompt;
    sweep.start_save = [&](s_sweep_job& j) { saved = fra_save_worker(j, &progress); };

    running_job = &job;
    void (*previous)(int) = std::signal(SIGINT, cancel_on_interrupt);
    activity_state() = 1;
    const sweep_outcome outcome = fra_sweep_worker(job, sweep);
    activity_state() = 0;
    std::signal(SIGINT, previous == SIG_ERR ? SIG_DFL : previous);
    running_job = nullptr;

    if (outcome != sweep_outcome::delivered || !view.delivered || job.cancel) {
        if (outcome == sweep_outcome::download_failed || outcome == sweep_outcome::cancelled || job.cancel) {
            std::fprintf(context.err, "%s\n", job.cancel ? "The sweep was cancelled" : "The sweep download failed");
        } else if (outcome == sweep_outcome::abandoned) {
            std::fprintf(context.err, "The sweep did not start\n");
        }
        return CLI_FAILED;
    }
    if (!arguments.out.empty()) {
        if (!write_fra_sweep_file(arguments.out, *job.block)) {
            std::fprintf(context.err, "Unable to write the sweep data file %s\n", arguments.out.c_str());
            return CLI_FAILED;
        }
    } else {
        print_rows(context, *job.block);
    }
    return saved ? CLI_OK : CLI_FAILED;
}
