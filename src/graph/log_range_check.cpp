#include "graph/log_range_check.h"

#include "app/user_prompt.h"
#include "graph/log_axis_limits.h"
#include "graph/number_format.h"

namespace {

constexpr const char* out_of_range_caption = "Out of Range";

struct s_axis_range {
    bool checked;  // logarithmic with a manual range
    double min;
    double max;
};

s_axis_range horizontal_range(const s_graph_settings& record)
{
    return {record.x_axis_scale == AXIS_LOG && record.x_range == RANGE_MANUAL, record.x_min, record.x_max};
}

s_axis_range plot_range(const s_graph_settings& record, int plot)
{
    return {record.axis_scale[plot] == AXIS_LOG && record.range[plot] == RANGE_MANUAL, record.min[plot],
            record.max[plot]};
}

enum class range_end { min, max };
enum class limit_side { lower, upper };

struct s_range_rule {
    range_end end;
    limit_side side;
    const char* message;  // "%s" is the limit
};

// One axis' four rules, in the order they are checked.
struct s_axis_rules {
    s_axis_range (*range)(const s_graph_settings&);
    s_range_rule rules[4];
};

const s_axis_rules axis_rules[] = {
    {horizontal_range,
     {{range_end::min, limit_side::lower, "The X-axis' Min Range cannot be lower than %s while using LOG scaling"},
      {range_end::max, limit_side::lower, "The X-axis' Max Range cannot be lower than %s while using LOG scaling"},
      {range_end::min, limit_side::upper, "The X-axis' Min Range cannot be higher than %s while using LOG scaling"},
      {range_end::max, limit_side::upper,
       "The X-axis' Max Axis Range cannot be higher than %s while using LOG scaling"}}},
    {[](const s_graph_settings& record) { return plot_range(record, PLOT_A); },
     {{range_end::min, limit_side::lower,
       "The Left Y-axis' Min Range cannot be lower than %s while using LOG scaling"},
      {range_end::max, limit_side::lower,
       "The Left Y-axis' Max Range cannot be lower than %s while using LOG scaling"},
      {range_end::min, limit_side::upper,
       "The Left Y-axis' Min Range cannot be higher than %s while using LOG scaling"},
      {range_end::max, limit_side::upper,
       "The Left Y-axis' Max Range cannot be higher than %s while using LOG scaling"}}},
    {[](const s_graph_settings& record) { return plot_range(record, PLOT_B); },
     {{range_end::min, limit_side::lower,
       "The Right Y-axis' Min Range cannot be lower than %s while using LOG scaling"},
      {range_end::max, limit_side::lower,
       "The Right Y-axis' Max Range cannot be lower than %s while using LOG scaling"},
      {range_end::min, limit_side::upper,
       "The Right Y-axis' Min Range cannot be higher than %s while using LOG scaling"},
      {range_end::max, limit_side::upper,
       "The Right Y-axis' Max Range cannot be higher than %s while using LOG scaling"}}},
};

bool breaks(const s_axis_range& range, const s_range_rule& rule)
{
    const double value = rule.end == range_end::min ? range.min : range.max;
    return rule.side == limit_side::lower ? value < LOG_AXIS_LOWEST : value > LOG_AXIS_HIGHEST;
}

std::string message_of(const s_range_rule& rule)
{
    const double limit = rule.side == limit_side::lower ? LOG_AXIS_LOWEST : LOG_AXIS_HIGHEST;
    std::string text = rule.message;
    const std::size_t mark = text.find("%s");
    return text.replace(mark, 2, format_si_fixed(limit));
}

}  // namespace

std::string log_range_problem(const s_graph_settings& record)
{
    for (const s_axis_rules& axis : axis_rules) {
        const s_axis_range range = axis.range(record);
        if (!range.checked) {
            continue;
        }
        for (const s_range_rule& rule : axis.rules) {
            if (breaks(range, rule)) {
                return message_of(rule);
            }
        }
    }
    return {};
}

bool validate_log_ranges(const s_graph_settings& record, user_prompt& prompt)
{
    const std::string problem = log_range_problem(record);
    if (problem.empty()) {
        return true;
    }
    prompt.tell(problem.c_str(), out_of_range_caption, prompt_icon::none);
    return false;
}
