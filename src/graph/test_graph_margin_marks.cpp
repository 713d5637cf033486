#include "graph/test_graph_margin_marks.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "fra/margin_band.h"
#include "graph/fixed_text.h"
#include "graph/graph_mapping.h"
#include "graph/graph_markers.h"
#include "graph/number_format.h"

namespace {

constexpr int LABEL_GAP = 7;       // between a mark and its label
constexpr int LABEL_PADDING = 2;   // kept clear of the plot's frame
constexpr int LABEL_TRIES = 12;    // places tried below the first before a label may overlap

constexpr int READOUT_BELOW_PLOT = 115;
constexpr int READOUT_HEIGHT = 30;

struct s_mark {
    int x;
    int y;
    bool square;  // a 0 dB crossing; else a 0 degree one
    std::uint32_t colour;
    std::string label;
};

// Device pixels of a point in plot offsets, when it lies on the plot.
std::optional<std::pair<int, int>> on_plot(const s_test_graph_geometry& g, std::optional<double> x, std::optional<double> y)
{
    if (!x || !y || *x < 0 || *x > g.width || *y < 0 || *y > g.height) {
        return std::nullopt;
    }
    return std::pair<int, int>{g.plot.left + pixel_of_offset(*x).value_or(0), g.plot.bottom - pixel_of_offset(*y).value_or(0)};
}

// The crossings of a list that are marked: all of them, or the best alone
// while the test's margins are hidden.
std::vector<const s_gain_phase_point*> marked(const LList<s_gain_phase_point>& list, bool hidden)
{
    std::vector<const s_gain_phase_point*> chosen;
    if (hidden) {
        if (const s_gain_phase_point* best = best_crossing(list)) {
            chosen.push_back(best);
        }
        return chosen;
    }
    for (const LList<s_gain_phase_point>::node* at = list.head; at != nullptr; at = at->next) {
        chosen.push_back(at->element);
    }
    return chosen;
}

std::vector<s_mark> marks_of(const s_test_graph_state& graph, const s_test_graph_geometry& g)
{
    std::vector<s_mark> marks;
    for (const auto& plot : graph.tests) {
        const s_plot_appearance& look = plot->appearance;
        if (!look.margins_found) {
            continue;
        }
        if (look.gain_margin_visible) {
            for (const s_gain_phase_point* c : marked(plot->zero_db, look.margins_hidden)) {
                if (const auto at = on_plot(g, g.x_of(c->frequency), g.y_of_gain(0))) {
                    marks.push_back({at->first, at->second, true, test_gain_margin_colour(look),
                                     format_eng_text(c->frequency) + "Hz  " + fixed_text(c->phase, 1) + "\xB0"});
                }
            }
        }
        if (look.phase_margin_visible) {
            for (const s_gain_phase_point* c : marked(plot->zero_phase, look.margins_hidden)) {
                if (const auto at = on_plot(g, g.x_of(c->frequency), g.y_of_phase(0))) {
                    marks.push_back({at->first, at->second, false, test_phase_margin_colour(look),
                                     format_eng_text(c->frequency) + "Hz  " + fixed_text(c->gain, 1) + "dB"});
                }
            }
        }
    }
    return marks;
}

bool overlaps(const s_rect& a, const s_rect& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

s_rect place_label(const s_rect& plot, const s_mark& mark, const s_text_size& size, const std::vector<s_margin_label>& placed)
{
    const int lowest_top = plot.bottom - LABEL_PADDING - size.height;
    const int highest_top = plot.top + LABEL_PADDING;
    const int left = std::max(plot.left + LABEL_PADDING, std::min(mark.x + LABEL_GAP, plot.right - LABEL_PADDING - size.width));
    int top = std::clamp(mark.y - LABEL_GAP - size.height, highest_top, std::max(highest_top, lowest_top));
    s_rect box{left, top, left + size.width, top + size.height};
    for (int attempt = 0; attempt < LABEL_TRIES; ++attempt) {
        const bool clear = std::none_of(placed.begin(), placed.end(),
                                        [&](const s_margin_label& other) { return overlaps(box, other.box); });
        if (clear) {
            break;
        }
        top += size.height + 1;
        if (top > lowest_top) {
            top = highest_top;
        }
        box = {left, top, left + size.width, top + size.height};
    }
    return box;
}

int clamped_index(int index, int count)
{
    return std::clamp(index, 0, std::max(0, count - 1));
}

const s_gain_phase_point* crossing_at(const LList<s_gain_phase_point>& list, int index)
{
    int i = 0;
    const int wanted = clamped_index(index, list.count);
    for (const LList<s_gain_phase_point>::node* at = list.head; at != nullptr; at = at->next, ++i) {
        if (i == wanted) {
            return at->element;
        }
    }
    return nullptr;
}

int pixel_y(const s_test_graph_geometry& g, std::optional<double> y)
{
    const double held = std::clamp(y.value_or(0), 0.0, static_cast<double>(g.height));
    return g.plot.bottom - pixel_of_offset(held).value_or(0);
}

// The dashed line from the plot's edge at the crossing's height to the
// crossing and on to the other curve, with a circle at both points.
void draw_cursor(drawing_surface& surface, const s_test_graph_geometry& g, const s_brush& background, int edge_x,
                 double x_offset, std::optional<double> at, std::optional<double> other, std::uint32_t colour)
{
    if (!(x_offset >= 0 && x_offset <= g.width)) {
        return;
    }
    const int x = g.plot.left + pixel_of_offset(x_offset).value_or(0);
    const int y = pixel_y(g, at);
    const int y_other = pixel_y(g, other);
    surface.select_pen({pen_style::dashed, 1, colour});
    surface.move_to(edge_x, y);
    surface.line_to(x, y);
    surface.line_to(x, y_other);
    surface.select_pen({pen_style::solid, 1, colour});
    draw_cursor_circle(surface, x, y, background);
    draw_cursor_circle(surface, x, y_other, background);
}

void draw_readout_box(drawing_surface& surface, const s_test_graph_state& graph, const s_rect& box,
                      const std::string& text, std::uint32_t colour)
{
    surface.fill_rect(box, test_graph_background(graph));
    surface.frame_rect(box, test_graph_box_frame(graph));
    surface.select_font(bold_font());
    surface.set_text_colour(colour);
    surface.text_in_rect(text, {box.left + 2, box.top + 2, box.right - 2, box.bottom - 2}, text_align::left,
                         text_lines::multi_line);
}

}  // namespace

std::string zero_db_readout_text(const s_gain_phase_point& c)
{
    return "  Frequency: " + fixed_text(c.frequency, 4) + "Hz \nGain: " + fixed_text(c.gain, 4) + "dB \t Phase: " +
           fixed_text(c.phase, 4) + "\xB0";
}

std::string zero_phase_readout_text(const s_gain_phase_point& c)
{
    return "  Frequency: " + fixed_text(c.frequency, 4) + " \nGain: " + fixed_text(c.gain, 4) + " \t Phase: " +
           fixed_text(c.phase, 4);
}

std::vector<s_margin_label> lay_out_margin_labels(drawing_surface& surface, const s_test_graph_state& graph,
                                                  const s_test_graph_geometry& g)
{
    std::vector<s_margin_label> labels;
    surface.select_font(normal_font());
    for (const s_mark& mark : marks_of(graph, g)) {
        const s_rect box = place_label(g.plot, mark, surface.text_extent(mark.label), labels);
        labels.push_back({mark.label, box, mark.colour});
    }
    return labels;
}

void draw_margin_marks(drawing_surface& surface, const s_test_graph_state& graph, const s_test_graph_geometry& g)
{
    for (const s_mark& mark : marks_of(graph, g)) {
        if (mark.square) {
            draw_square_marker(surface, mark.x, mark.y, mark.colour);
        } else {
            draw_diamond_marker(surface, mark.x, mark.y, mark.colour);
        }
    }
    const std::vector<s_margin_label> labels = lay_out_margin_labels(surface, graph, g);
    for (const s_margin_label& label : labels) {
        surface.set_text_colour(label.colour);
        surface.text_in_rect(label.text, label.box, text_align::left, text_lines::single_centred);
    }
}

void draw_cursor_readouts(drawing_surface& surface, const s_test_graph_state& graph, const s_test_graph_cursors& cursors,
                          const s_test_graph_geometry& g)
{
    if (graph.selected_test < 0 || graph.selected_test >= static_cast<int>(graph.tests.size())) {
        return;
    }
    const s_test_plot& plot = *graph.tests[static_cast<std::size_t>(graph.selected_test)];
    const s_plot_appearance& look = plot.appearance;
    const s_brush background = test_graph_background(graph);
    const int box_width = g.width / 3;
    const int box_top = g.plot.bottom + READOUT_BELOW_PLOT;
    const bool box_fits = box_top >= g.area.top && box_top + READOUT_HEIGHT <= g.area.bottom;

    if (const s_gain_phase_point* c = crossing_at(plot.zero_db, cursors.zero_db)) {
        const std::optional<double> x = g.x_of(c->frequency);
        if (graph.show_gain_cursor && x) {
            draw_cursor(surface, g, background, g.plot.left, *x, g.y_of_gain(0), g.y_of_phase(c->phase),
                        test_gain_margin_colour(look));
        }
        if (box_fits) {
            draw_readout_box(surface, graph, {g.plot.left, box_top, g.plot.left + box_width, box_top + READOUT_HEIGHT},
                             zero_db_readout_text(*c), test_gain_colour(look));
        }
    }
    if (const s_gain_phase_point* c = crossing_at(plot.zero_phase, cursors.zero_phase)) {
        const std::optional<double> x = g.x_of(c->frequency);
        if (graph.show_phase_cursor && x) {
            draw_cursor(surface, g, background, g.plot.right, *x, g.y_of_phase(0), g.y_of_gain(c->gain),
                        test_phase_margin_colour(look));
        }
        if (box_fits) {
            draw_readout_box(surface, graph, {g.plot.right - box_width, box_top, g.plot.right, box_top + READOUT_HEIGHT},
                             zero_phase_readout_text(*c), test_phase_colour(look));
        }
    }
}
