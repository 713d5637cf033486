#include "graph/graph_settings_keys.h"

namespace {

// What missing keys give, by kind. Min and Max default to the texts below on
// every axis.
struct s_axis_defaults {
    std::int32_t axis_scale;
    std::int32_t range;
    bool range_flip;
    std::int32_t pad_type;
    bool pad_percent;
    std::int32_t pad_value;
};

struct s_plot_defaults {
    s_axis_defaults axis;
    std::int32_t colour;
    std::int32_t weight;
    bool cursor;
};

struct s_kind_defaults {
    std::int32_t bg_colour;
    bool x_axis_scale_read;  // the Nyquist graphs always have a linear Real Z' axis
    s_axis_defaults x_axis;
    s_plot_defaults plot[GRAPH_PLOTS];
};

constexpr const char* min_fallback_text = "0.1";
constexpr const char* max_fallback_text = "0.2";

// Plot colours: graph colour table entries 0 (plot A) and 2 (plot B).
constexpr std::int32_t plot_a_colour = 3937500;
constexpr std::int32_t plot_b_colour = 13459258;

constexpr s_axis_defaults bode_x_axis = {AXIS_LOG, RANGE_AUTO, false, PAD_NONE, true, 10};
constexpr s_axis_defaults nyquist_x_axis = {AXIS_LINEAR, RANGE_AUTO, false, PAD_NONE, true, 10};
constexpr s_axis_defaults upright_plot_axis = {AXIS_LINEAR, RANGE_AUTO, false, PAD_BOTH, true, 10};
// Imaginary Z grows downwards in the Nyquist graphs.
constexpr s_axis_defaults reversed_plot_axis = {AXIS_LINEAR, RANGE_AUTO, true, PAD_BOTH, true, 10};

constexpr s_kind_defaults kind_defaults[GRAPH_KIND_COUNT] = {
    // GRAPH_KIND_LCR_BODE
    {BACKGROUND_BLACK, true, bode_x_axis,
     {{upright_plot_axis, plot_a_colour, WEIGHT_MEDIUM, true},
      {upright_plot_axis, plot_b_colour, WEIGHT_MEDIUM, true}}},
    // GRAPH_KIND_LCR_NYQUIST
    {BACKGROUND_BLACK, false, nyquist_x_axis,
     {{reversed_plot_axis, plot_a_colour, WEIGHT_MEDIUM, true},
      {upright_plot_axis, plot_b_colour, WEIGHT_MEDIUM, true}}},
    // GRAPH_KIND_EIS
    {BACKGROUND_BLACK, false, nyquist_x_axis,
     {{reversed_plot_axis, plot_a_colour, WEIGHT_MEDIUM, true},
      {upright_plot_axis, plot_b_colour, WEIGHT_MEDIUM, true}}},
};

constexpr const char* plot_sections[GRAPH_PLOTS] = {"PlotA", "PlotB"};

// The fields of one axis, horizontal or value.
struct s_axis_fields {
    std::int32_t* axis_scale;
    std::int32_t* range;
    bool* range_flip;
    std::int32_t* pad_type;
    bool* pad_percent;
    std::int32_t* pad_value;
    double* min;
    double* max;
};

class key_list {
public:
    explicit key_list(std::array<s_graph_setting_key, GRAPH_SETTINGS_KEY_COUNT>& keys) : keys_(keys) {}

    void integer(const char* section, const char* key, std::int32_t* field, std::int32_t fallback,
                 bool read = true)
    {
        add({section, key, graph_setting_type::integer, field, nullptr, nullptr, fallback, nullptr, read});
    }
    void boolean(const char* section, const char* key, bool* field, bool fallback)
    {
        add({section, key, graph_setting_type::boolean, nullptr, field, nullptr, fallback ? 1 : 0, nullptr,
             true});
    }
    void number(const char* section, const char* key, double* field, const char* fallback_text)
    {
        add({section, key, graph_setting_type::number, nullptr, nullptr, field, 0, fallback_text, true});
    }

    // The eight keys every axis has, in writing order.
    void axis(const char* section, const s_axis_fields& fields, const s_axis_defaults& defaults,
              bool axis_scale_read)
    {
        integer(section, "AxisScale", fields.axis_scale, defaults.axis_scale, axis_scale_read);
        integer(section, "Range", fields.range, defaults.range);
        boolean(section, "RangeFlip", fields.range_flip, defaults.range_flip);
        integer(section, "PadType", fields.pad_type, defaults.pad_type);
        boolean(section, "PadPercent", fields.pad_percent, defaults.pad_percent);
        integer(section, "PadValue", fields.pad_value, defaults.pad_value);
        number(section, "Min", fields.min, min_fallback_text);
        number(section, "Max", fields.max, max_fallback_text);
    }

private:
    void add(const s_graph_setting_key& key)
    {
        if (count_ < GRAPH_SETTINGS_KEY_COUNT) {
            keys_[count_++] = key;
        }
    }

    std::array<s_graph_setting_key, GRAPH_SETTINGS_KEY_COUNT>& keys_;
    int count_ = 0;
};

}  // namespace

std::array<s_graph_setting_key, GRAPH_SETTINGS_KEY_COUNT> graph_setting_keys(s_graph_settings& record,
                                                                            int kind)
{
    const bool known_kind = kind >= 0 && kind < GRAPH_KIND_COUNT;
    const s_kind_defaults& defaults = kind_defaults[known_kind ? kind : GRAPH_KIND_LCR_BODE];

    std::array<s_graph_setting_key, GRAPH_SETTINGS_KEY_COUNT> keys{};
    key_list list(keys);
    list.integer("GSettings", "BGColour", &record.bg_colour, defaults.bg_colour);
    list.axis("XAxis",
              {&record.x_axis_scale, &record.x_range, &record.x_range_flip, &record.x_pad_type,
               &record.x_pad_percent, &record.x_pad_value, &record.x_min, &record.x_max},
              defaults.x_axis, defaults.x_axis_scale_read);
    for (int p = 0; p < GRAPH_PLOTS; ++p) {
        const char* section = plot_sections[p];
        const s_plot_defaults& plot = defaults.plot[p];
        list.axis(section,
                  {&record.axis_scale[p], &record.range[p], &record.range_flip[p], &record.pad_type[p],
                   &record.pad_percent[p], &record.pad_value[p], &record.min[p], &record.max[p]},
                  plot.axis, true);
        list.integer(section, "Colour", &record.colour[p], plot.colour);
        list.integer(section, "Weight", &record.weight[p], plot.weight);
        list.boolean(section, "Cursor", &record.cursor[p], plot.cursor);
    }
    return keys;
}
