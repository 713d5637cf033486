// analyze piezo FILE
//
// The Piezo view's "CALCULATE" on a sweep file: every field of the result as
// name<TAB>value (values that read back as the same double), then the four
// texts the view shows, R, L, C and Cp. A sweep of admittance values is
// refused with the analysis' message.
#include <cstdio>
#include <string>

#include "analysis_arguments.h"
#include "analysis_commands.h"
#include "analysis_input_load.h"
#include "impedance/piezo_analysis.h"
#include "impedance/piezo_result_fields.h"
#include "impedance/piezo_texts.h"
#include "tab_line.h"

int run_analyze_piezo(cli_context& context)
{
    s_analysis_words words;
    int status = CLI_OK;
    if (!parse_analysis_words(context, {}, 1, words, status)) {
        return status;
    }
    if (words.files.empty()) {
        return cli_usage_error(context, "a sweep file is needed");
    }
    int layout = 0;
    const auto block = load_lcr_analysis_input(context, words.files.front(), layout);
    if (!block) {
        return CLI_FAILED;
    }
    const s_piezo_outcome outcome = piezo_analyse(*block, layout);
    if (!outcome.accepted) {
        std::fprintf(context.err, "%s\n", outcome.refusal.c_str());
        return CLI_FAILED;
    }
    for (const s_piezo_result_field& field : piezo_result_fields) {
        print_tab_line(context.out, {field.name, piezo_field_text(outcome.result, field)});
    }
    const s_piezo_texts texts = piezo_result_texts(outcome.result);
    print_tab_line(context.out, {"R", texts.r});
    print_tab_line(context.out, {"L", texts.l});
    print_tab_line(context.out, {"C", texts.c});
    print_tab_line(context.out, {"Cp", texts.c_p});
    return CLI_OK;
}
