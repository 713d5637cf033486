// analyze eis FILE [--smoothing PCT] [--sensitivity PCT]
//
// The EIS view's "CALCULATE" on a sweep file: every field of the result as
// name<TAB>value (values that read back as the same double), then the three
// texts the view shows, Rs, Rp and Cp. The tuning is given in percent and
// checked with the "Tune EIS Calculation" dialog's refusals.
#include <cstdio>
#include <string>

#include "analysis_arguments.h"
#include "analysis_commands.h"
#include "analysis_input_load.h"
#include "impedance/eis_analysis.h"
#include "impedance/eis_result_fields.h"
#include "impedance/eis_texts.h"
#include "impedance/eis_tune.h"
#include "tab_line.h"
#include "terminal_text.h"

namespace {

std::string percent_of(const std::string& text, double fraction)
{
    return text.empty() ? eis_percent_text(fraction) : text;
}

}  // namespace

int run_analyze_eis(cli_context& context)
{
    s_analysis_words words;
    int status = CLI_OK;
    if (!parse_analysis_words(context, {{"--smoothing", true, false}, {"--sensitivity", true, false}}, 1, words,
                              status)) {
        return status;
    }
    if (words.files.empty()) {
        return cli_usage_error(context, "a sweep file is needed");
    }
    const double smoothing =
        eis_percent_from_text(percent_of(words.value("--smoothing"), EIS_DEFAULT_SMOOTHING).c_str());
    const double sensitivity =
        eis_percent_from_text(percent_of(words.value("--sensitivity"), EIS_DEFAULT_SENSITIVITY).c_str());
    if (const s_eis_refusal* refusal = eis_tuning_refusal(smoothing, sensitivity)) {
        std::fprintf(context.err, "%s\n", refusal->text);
        return CLI_FAILED;
    }
    int layout = 0;
    const auto block = load_lcr_analysis_input(context, words.files.front(), layout);
    if (!block) {
        return CLI_FAILED;
    }
    eis_state state;
    state.tuning = eis_tuning_from_percent(smoothing, sensitivity);
    eis_calculate(state, *block, layout);
    for (const s_eis_result_field& field : eis_result_fields) {
        print_tab_line(context.out, {field.name, eis_field_text(state.result, field)});
    }
    const s_eis_texts texts = eis_shown_texts(state);
    print_unicode_line(context.out, tab_joined({"Rs", texts.rs}));
    print_unicode_line(context.out, tab_joined({"Rp", texts.rp}));
    print_unicode_line(context.out, tab_joined({"Cp", texts.cp}));
    return CLI_OK;
}
