#include "export_setup.h"

#include "app/number_conventions.h"
#include "app/number_format_locale.h"
#include "number_format_option.h"

bool take_export_number_format(cli_context& context, s_number_format& format, int& status)
{
    format = current_number_format();
    std::string error;
    if (!take_number_format_option(&context.args, &format, &error)) {
        status = cli_usage_error(context, error);
        return false;
    }
    return true;
}

std::unique_ptr<s_cli_export> make_cli_export(cli_context& context, const s_number_format& format,
                                              const std::string& preamble)
{
    set_current_number_format(format);
    auto made = std::make_unique<s_cli_export>(context.err);
    const std::locale locale = number_format_locale(format.type, platform_number_conventions(), made->prompt);
    made->run = std::make_unique<s_export_run>(s_export_run{made->prompt, made->destination, preamble,
                                                            export_punctuation_of(locale),
                                                            current_number_format().type == NUMBER_FORMAT_CUSTOM});
    return made;
}
