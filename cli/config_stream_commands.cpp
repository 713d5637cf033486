// config save FILE and config load FILE [--yes]: the connected instrument's
// whole configuration to and from a configuration stream file.
//
// save reads the configuration as "config read" does and writes the stream
// for the instrument's type and current option; a read that warned saves
// nothing. load reads the file first, then the instrument's configuration
// (so parameters the file leaves alone keep the instrument's values), loads
// the stream after its checks and writes the whole configuration back. A
// file saved for another instrument asks "Target Mismatch": --yes answers
// OK, otherwise the answer is Cancel and nothing is sent.
#include <cstdio>
#include <sstream>
#include <string>

#include "app/text_encoding.h"
#include "app/text_file.h"
#include "app/user_prompt.h"
#include "cli_context.h"
#include "config/config_selection.h"
#include "config/instrument_config.h"
#include "config_commands.h"
#include "fra/bounded_file_read.h"
#include "link/connection.h"
#include "whole_configuration.h"

namespace {

// Far more than a stream of 512 records takes (about 4 KiB).
constexpr std::size_t STREAM_FILE_LIMIT = 1024 * 1024;

const char* read_failure_text(file_read_status status)
{
    switch (status) {
    case file_read_status::read:
        break;
    case file_read_status::cannot_open:
        return "the file cannot be opened";
    case file_read_status::is_folder:
        return "it is a folder, not a file";
    case file_read_status::read_failed:
        return "the file cannot be read";
    case file_read_status::too_large:
        static_assert(STREAM_FILE_LIMIT == 1024 * 1024, "the text below names the limit");
        return "the file is larger than 1 MiB, too large for a configuration file";
    }
    return "unknown read status";
}

// Prints every message; the mismatch question is answered OK only when the
// user said so beforehand.
class load_prompt final : public user_prompt {
public:
    load_prompt(user_prompt& shown, bool yes) : shown_(shown), yes_(yes) {}
    void tell(const char* text, const char* caption, prompt_icon icon) override { shown_.tell(text, caption, icon); }
    bool ask_yes_no(const char* text, const char* caption, prompt_icon icon) override
    {
        return ask_ok_cancel(text, caption, icon);
    }
    bool ask_ok_cancel(const char* text, const char* caption, prompt_icon icon) override
    {
        shown_.tell(text, caption, icon);
        declined = !yes_;
        return yes_;
    }
    void set_busy(bool busy) override { shown_.set_busy(busy); }
    bool declined = false;

private:
    user_prompt& shown_;
    bool yes_;
};

}  // namespace

int run_config_save(cli_context& context)
{
    if (context.args.size() != 1) {
        return cli_usage_error(context, "config save needs one FILE");
    }
    const std::string& path = context.args[0];
    const whole_transfer read = read_whole_configuration(context);
    if (read == whole_transfer::failed) {
        return CLI_FAILED;
    }
    if (read == whole_transfer::with_warnings) {
        std::fprintf(context.err, "The configuration was not read completely: nothing was saved to %s\n",
                     path.c_str());
        return CLI_FAILED;
    }
    std::stringstream stream;
    current_config->save_stream(stream, context.connection->instrument_type, context.connection->current_option);
    if (!stream || !write_text_file(path, stream.str())) {
        std::remove(system_path(path).c_str());
        std::fprintf(context.err, "Unable to write the configuration file %s\n", path.c_str());
        return CLI_FAILED;
    }
    return CLI_OK;
}

int run_config_load(cli_context& context)
{
    bool yes = false;
    std::string path;
    for (const std::string& word : context.args) {
        if (word == "--yes") {
            yes = true;
        } else if (path.empty() && !(word.size() > 1 && word[0] == '-' && word[1] == '-')) {
            path = word;
        } else {
            return cli_usage_error(context, "config load takes one FILE and --yes, not " + word);
        }
    }
    if (path.empty()) {
        return cli_usage_error(context, "config load needs one FILE");
    }
    std::string bytes;
    const file_read_status status = read_file_bounded(path, STREAM_FILE_LIMIT, bytes);
    if (status != file_read_status::read) {
        std::fprintf(context.err, "Unable to load the configuration file %s: %s\n", path.c_str(),
                     read_failure_text(status));
        return CLI_FAILED;
    }
    const whole_transfer read = read_whole_configuration(context);
    if (read == whole_transfer::failed) {
        return CLI_FAILED;
    }
    if (read == whole_transfer::with_warnings) {
        std::fprintf(context.err, "The configuration was not read completely: %s was not loaded\n", path.c_str());
        return CLI_FAILED;
    }
    std::stringstream stream(bytes);
    load_prompt prompt(*context.prompt, yes);
    if (!current_config->load_stream(stream, prompt, context.connection->instrument_type,
                                     context.connection->current_option, false)) {
        if (prompt.declined) {
            std::fprintf(context.err, "Not loaded: %s was saved for another instrument (--yes loads it anyway)\n",
                         path.c_str());
        }
        return CLI_FAILED;
    }
    return write_whole_configuration(context) == whole_transfer::complete ? CLI_OK : CLI_FAILED;
}
