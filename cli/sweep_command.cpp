// sweep fra [--steps N] [--start F] [--end F] [--cycles N] [--out FILE]
//           [--db FILE --session ID --project NAME --name NAME] [--yes]
//           [--realtime [--keep-output-on] [--set-start-frequency]]
// sweep lcr [the same, without the database options] [--piezo] [--cell9a]
//
// One sweep as the FRA view (or the LCR views) runs it: identify the instrument, read its
// configuration, apply the options through the "Test Details" checks (a
// refused value prints the dialog's message, exits 1 and sends nothing),
// write the configuration, then run the sweep worker. The points go to FILE
// as the sweep data file the views write, or to standard output below the
// list's column titles; with --db the sweep is also stored as a test.
// --realtime runs the "Real Time Sweep" instead: the program steps the
// generator itself and prints each point as it arrives.
// Progress goes to standard error. Ctrl+C cancels as the progress window's
// Cancel does: nothing is written, exit 1.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

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
#include "impedance/cell9a_setup.h"
#include "impedance/lcr_sweep_worker.h"
#include "instrument_setup.h"
#include "interrupt_scope.h"
#include "tab_line.h"
#include "realtime_sweep_run.h"
#include "link/connection.h"
#include "sweep_commands.h"
#include "export_setup.h"
#include "sweep_export.h"
#include "terminal_progress.h"

namespace {

struct sweep_arguments {
    std::string steps, start, end, cycles, out, database, session, project, name;
    std::string export_file;  // --export: the single-sweep text export after the sweep
    bool eis = false;         // LCR, with --export: the EIS export, with its Nyquist columns
    bool yes = false;
    bool realtime = false;         // "Real Time Sweep"
    bool keep_output_on = false;   // after a real-time sweep: "Keep Output On"
    bool set_start_frequency = false;  // ... and back to the start frequency
    bool piezo = false;   // LCR: the Piezo view's sweep (impedance measured)
    bool cell9a = false;  // LCR: "Setup for CELL9A?"
};

// "--option VALUE" pairs and the flag --yes; false with a usage message.
bool parse_arguments(const cli_context& context, test_details_variant variant, sweep_arguments& a,
                     std::string& error)
{
    const bool lcr = variant == test_details_variant::lcr;
    struct option {
        const char* name;
        std::string sweep_arguments::*field;
    };
    const option options[] = {
        {"--steps", &sweep_arguments::steps},     {"--start", &sweep_arguments::start},
        {"--end", &sweep_arguments::end},         {"--cycles", &sweep_arguments::cycles},
        {"--out", &sweep_arguments::out},         {"--db", &sweep_arguments::database},
        {"--session", &sweep_arguments::session}, {"--project", &sweep_arguments::project},
        {"--name", &sweep_arguments::name},       {"--export", &sweep_arguments::export_file},
    };
    for (std::size_t i = 0; i < context.args.size(); ++i) {
        const std::string& word = context.args[i];
        const std::pair<const char*, bool sweep_arguments::*> flags[] = {
            {"--yes", &sweep_arguments::yes},
            {"--realtime", &sweep_arguments::realtime},
            {"--keep-output-on", &sweep_arguments::keep_output_on},
            {"--set-start-frequency", &sweep_arguments::set_start_frequency},
            {lcr ? "--piezo" : nullptr, &sweep_arguments::piezo},
            {lcr ? "--cell9a" : nullptr, &sweep_arguments::cell9a},
            {lcr ? "--eis" : nullptr, &sweep_arguments::eis},
        };
        bool flag = false;
        for (const auto& [name, field] : flags) {
            if (name && word == name) {
                a.*field = flag = true;
            }
        }
        if (flag) {
            continue;
        }
        bool known = false;
        for (const option& o : options) {
            const bool database_option = o.field != &sweep_arguments::steps && o.field != &sweep_arguments::start &&
                                         o.field != &sweep_arguments::end && o.field != &sweep_arguments::cycles &&
                                         o.field != &sweep_arguments::out && o.field != &sweep_arguments::export_file;
            if (word != o.name || (lcr && database_option)) {
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
            error = std::string(lcr ? "sweep lcr" : "sweep fra") + " does not take " + word;
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
    void post(int command) override
    {
        delivered = delivered || command == SWEEP_DOWNLOADED_COMMAND || command == LCR_SWEEP_DOWNLOADED_COMMAND;
    }
    std::atomic<bool> delivered{false};
};

std::int64_t now_ms()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void print_rows(const cli_context& context, const s_fra_sweep& block)
{
    const bool three_channel = fra_sweep_is_three_channel(block);
    print_tab_line(context.out, fra_list_column_titles(three_channel));
    for (int i = 0; i < block.points; ++i) {
        std::fprintf(context.out, "%s\n", fra_sweep_row(i + 1, block.point[i], three_channel).c_str());
    }
}

void print_rows(const cli_context& context, const s_lcr_sweep& block, int layout)
{
    print_tab_line(context.out, lcr_list_column_titles(layout));
    for (int i = 0; i < block.points; ++i) {
        std::fprintf(context.out, "%s\n", lcr_sweep_row(i + 1, block.point[i], layout).c_str());
    }
}

// Runs a worker with Ctrl+C as its Cancel and the measurement marked busy.
template <typename Job, typename Worker>
sweep_outcome run_worker(Job& job, const s_sweep_context& sweep, Worker worker)
{
    const interrupt_scope ctrl_c(&job.cancel);
    activity_state() = 1;
    const sweep_outcome outcome = worker(job, sweep);
    activity_state() = 0;
    return outcome;
}

// Why a sweep delivered nothing, after the program's own messages.
int tell_undelivered(const cli_context& context, sweep_outcome outcome, bool cancelled)
{
    if (cancelled) {
        std::fprintf(context.err, "The sweep was cancelled\n");
    } else if (outcome == sweep_outcome::download_failed || outcome == sweep_outcome::cancelled) {
        std::fprintf(context.err, "The sweep download failed\n");
    } else if (outcome == sweep_outcome::abandoned) {
        std::fprintf(context.err, "The sweep did not start\n");
    }
    return CLI_FAILED;
}

}  // namespace

namespace {

int run_sweep(cli_context& context, test_details_variant variant)
{
    const bool lcr = variant == test_details_variant::lcr;
    s_number_format format;
    int format_status = CLI_OK;
    if (!take_export_number_format(context, format, format_status)) {
        return format_status;
    }
    sweep_arguments arguments;
    std::string error;
    if (!parse_arguments(context, variant, arguments, error)) {
        return cli_usage_error(context, error);
    }
    if (arguments.eis && arguments.export_file.empty()) {
        return cli_usage_error(context, "--eis goes with --export FILE");
    }
    if (arguments.realtime && !arguments.export_file.empty()) {
        return cli_usage_error(context, "--export goes with a single sweep, not with --realtime");
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
    s_sweep_settings_texts texts = sweep_settings_opening_texts(config, variant, request);
    texts.sweep_type = arguments.realtime ? SWEEP_REAL_TIME : SWEEP_SINGLE;
    texts.keep_output_on = arguments.keep_output_on || arguments.set_start_frequency;
    texts.set_start_frequency = arguments.set_start_frequency;
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
    texts.cell9a_setup = arguments.cell9a;

    sweep_prompt prompt(*context.prompt, arguments.yes);
    sweep_host host(session);
    bool cell9a = false;
    const s_test_details_target target{variant, &config, context.connection, &request, &repeat,
                                       lcr ? &cell9a : nullptr};
    if (!confirm_test_details(target, texts, prompt, host)) {
        return CLI_FAILED;
    }

    delivery_sink view;
    terminal_progress progress(context.err, stream_is_terminal(context.err), now_ms);
    s_sweep_context sweep;
    sweep.connection = context.connection;
    sweep.config = &config;
    sweep.progress = &progress;
    sweep.prompt = &prompt;

    if (lcr) {
        s_lcr_sweep_job job;
        job.view = &view;
        job.piezo_view = arguments.piezo;
        if (arguments.realtime) {
            const cell9a_setup cell(config, context.connection, cell9a);
            return run_lcr_realtime(context, sweep, request, job, arguments.out);
        }
        sweep_outcome outcome;
        {
            const cell9a_setup cell(config, context.connection, cell9a);
            outcome = run_worker(job, sweep, lcr_sweep_worker);
        }
        if (outcome != sweep_outcome::delivered || !view.delivered || job.cancel) {
            return tell_undelivered(context, outcome, job.cancel);
        }
        if (arguments.out.empty() && arguments.export_file.empty()) {
            print_rows(context, *job.block, job.layout);
        } else if (!arguments.out.empty() && !write_lcr_sweep_file(arguments.out, *job.block, job.layout)) {
            std::fprintf(context.err, "Unable to write the sweep data file %s\n", arguments.out.c_str());
            return CLI_FAILED;
        }
        if (!arguments.export_file.empty()) {
            return export_lcr_sweep(context, format, config, *job.block, job.layout, arguments.eis,
                                    arguments.export_file);
        }
        return CLI_OK;
    }

    s_sweep_job job;
    job.view = &view;
    job.save_to_database = texts.save_to_database;
    job.pending_test = std::move(host.pending);
    if (arguments.realtime) {
        return run_fra_realtime(context, sweep, request, job, arguments.out);
    }
    bool saved = true;
    sweep.start_save = [&](s_sweep_job& j) { saved = fra_save_worker(j, &progress); };
    const sweep_outcome outcome = run_worker(job, sweep, fra_sweep_worker);
    if (outcome != sweep_outcome::delivered || !view.delivered || job.cancel) {
        return tell_undelivered(context, outcome, job.cancel);
    }
    if (arguments.out.empty() && arguments.export_file.empty()) {
        print_rows(context, *job.block);
    } else if (!arguments.out.empty() && !write_fra_sweep_file(arguments.out, *job.block)) {
        std::fprintf(context.err, "Unable to write the sweep data file %s\n", arguments.out.c_str());
        return CLI_FAILED;
    }
    if (!arguments.export_file.empty() &&
        export_fra_sweep(context, format, config, *job.block, arguments.export_file) != CLI_OK) {
        return CLI_FAILED;
    }
    return saved ? CLI_OK : CLI_FAILED;
}

}  // namespace

int run_sweep_fra(cli_context& context)
{
    return run_sweep(context, test_details_variant::fra);
}

int run_sweep_lcr(cli_context& context)
{
    return run_sweep(context, test_details_variant::lcr);
}
