#include "export/export_dialog_model.h"

#include "app/program_identity.h"
#include "app/user_prompt.h"

namespace {

struct s_source_jobs {
    int source;
    export_job csv;
    export_job csv_series;  // when a series was set up
    export_job excel;
    export_job excel_series;
};

constexpr s_source_jobs source_jobs[] = {
    {EXPORT_SOURCE_DATABASE, export_job::tests_text, export_job::tests_text, export_job::tests_report,
     export_job::tests_report},
    {EXPORT_SOURCE_FRA, export_job::fra_sweep_text, export_job::fra_repeats_text, export_job::fra_sweep_report,
     export_job::fra_repeats_report},
    {0, export_job::fra_sweep_text, export_job::fra_repeats_text, export_job::fra_sweep_report,
     export_job::fra_repeats_report},
    {EXPORT_SOURCE_LCR, export_job::lcr_sweep_text, export_job::lcr_repeats_text, export_job::lcr_sweep_report,
     export_job::lcr_repeats_report},
    {2, export_job::lcr_sweep_text, export_job::lcr_repeats_text, export_job::lcr_sweep_report,
     export_job::lcr_repeats_report},
    {EXPORT_SOURCE_PIEZO, export_job::lcr_sweep_text, export_job::lcr_sweep_text, export_job::piezo_report,
     export_job::piezo_report},
};

}  // namespace

export_job export_job_for(int source, bool csv, int repeat_count)
{
    for (const s_source_jobs& jobs : source_jobs) {
        if (jobs.source == source) {
            const bool series = repeat_count != 0;
            return csv ? (series ? jobs.csv_series : jobs.csv) : (series ? jobs.excel_series : jobs.excel);
        }
    }
    return export_job::none;
}

bool export_job_is_report(export_job job)
{
    switch (job) {
    case export_job::tests_report:
    case export_job::fra_sweep_report:
    case export_job::fra_repeats_report:
    case export_job::lcr_sweep_report:
    case export_job::lcr_repeats_report:
    case export_job::piezo_report:
        return true;
    default:
        return false;
    }
}

bool export_test_count_usable(std::size_t count)
{
    return count >= 1 && count <= EXPORT_MAX_TESTS;
}

void export_dialog_ok(int source, bool csv, export_dialog_actions& actions, user_prompt& prompt)
{
    if (source == EXPORT_SOURCE_DATABASE) {
        const std::vector<std::int64_t> tests = actions.graph_list_tests();
        if (!export_test_count_usable(tests.size())) {
            prompt.tell(EXPORT_NO_TESTS_TEXT, program_name, prompt_icon::information);
            return;
        }
        actions.run(export_job_for(source, csv, 0), tests);
        return;
    }
    const bool series_view = source == EXPORT_SOURCE_FRA || source == 0 || source == EXPORT_SOURCE_LCR || source == 2;
    const export_job job = export_job_for(source, csv, series_view ? actions.repeat_count(source) : 0);
    if (job != export_job::none) {
        actions.run(job, {});
    }
}
