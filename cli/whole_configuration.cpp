#include "whole_configuration.h"

#include <cstdio>

#include "config/config_selection.h"
#include "config/config_transfer.h"
#include "config/instrument_config.h"
#include "config/parameter_names.h"
#include "instrument_setup.h"
#include "link/connection.h"

namespace {

// Passes a transfer's messages on and counts those that warn.
class warning_counter final : public user_prompt {
public:
    explicit warning_counter(user_prompt& shown) : shown_(shown) {}
    void tell(const char* text, const char* caption, prompt_icon icon) override
    {
        if (icon == prompt_icon::warning || icon == prompt_icon::error) {
            ++warnings;
        }
        shown_.tell(text, caption, icon);
    }
    bool ask_yes_no(const char* text, const char* caption, prompt_icon icon) override
    {
        return shown_.ask_yes_no(text, caption, icon);
    }
    bool ask_ok_cancel(const char* text, const char* caption, prompt_icon icon) override
    {
        return shown_.ask_ok_cancel(text, caption, icon);
    }
    void set_busy(bool busy) override { shown_.set_busy(busy); }
    int warnings = 0;

private:
    user_prompt& shown_;
};

// Runs one bulk transfer with its messages counted.
template <typename transfer>
whole_transfer counted(cli_context& context, transfer run)
{
    warning_counter counter(*context.prompt);
    config_transfer_use_prompt(&counter);
    const bool done = run();
    config_transfer_use_prompt(context.prompt);
    if (!done) {
        return whole_transfer::failed;
    }
    return counter.warnings == 0 ? whole_transfer::complete : whole_transfer::with_warnings;
}

}  // namespace

whole_transfer read_whole_configuration(cli_context& context)
{
    if (!identify_and_select(context)) {
        return whole_transfer::failed;
    }
    if (!parameter_names_for_type(context.connection->instrument_type)) {
        std::fprintf(context.err, "No parameter names for instrument type %d\n", context.connection->instrument_type);
        return whole_transfer::failed;
    }
    return counted(context, [&] { return current_config->read_all(context.connection, true); });
}

whole_transfer write_whole_configuration(cli_context& context)
{
    return counted(context, [&] {
        current_config->write_all(context.connection, true);
        return true;
    });
}
