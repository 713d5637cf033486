#include "graph/clipped_curve.h"

#include <algorithm>
#include <cmath>

#include "graph/graph_mapping.h"

namespace {

enum class box_edge { none, left, right, bottom, top };

// One edge test of the Liang-Barsky cut: p is the motion across the edge,
// q the room left before it. False when the segment lies wholly outside;
// otherwise the parameters narrow and remember the edge that set them.
bool cut_at_edge(double p, double q, box_edge edge, double& t0, box_edge& edge0, double& t1, box_edge& edge1)
{
    if (p == 0) {
        return q >= 0;
    }
    const double t = q / p;
    if (p < 0) {
        if (t > t1) {
            return false;
        }
        if (t > t0) {
            t0 = t;
            edge0 = edge;
        }
    } else {
        if (t < t0) {
            return false;
        }
        if (t < t1) {
            t1 = t;
            edge1 = edge;
        }
    }
    return true;
}

// A cut end lies exactly on the edge that cut it (interpolating far-away
// ends loses the edge to rounding); its other coordinate is interpolated and
// held to the box.
void place_on_edge(box_edge edge, double width, double height, double& x, double& y)
{
    switch (edge) {
    case box_edge::left:
        x = 0;
        break;
    case box_edge::right:
        x = width;
        break;
    case box_edge::bottom:
        y = 0;
        break;
    case box_edge::top:
        y = height;
        break;
    case box_edge::none:
        break;
    }
    x = std::clamp(x, 0.0, width);
    y = std::clamp(y, 0.0, height);
}

}  // namespace

s_clip_result clip_segment_to_box(double x0, double y0, double x1, double y1, double width, double height)
{
    s_clip_result none{false, 0, 0, 0, 0, false, false};
    const double dx = x1 - x0;
    const double dy = y1 - y0;
    if (!std::isfinite(dx) || !std::isfinite(dy) || !(width >= 0) || !(height >= 0)) {
        return none;
    }
    double t0 = 0;
    double t1 = 1;
    box_edge edge0 = box_edge::none;
    box_edge edge1 = box_edge::none;
    if (!cut_at_edge(-dx, x0, box_edge::left, t0, edge0, t1, edge1) ||
        !cut_at_edge(dx, width - x0, box_edge::right, t0, edge0, t1, edge1) ||
        !cut_at_edge(-dy, y0, box_edge::bottom, t0, edge0, t1, edge1) ||
        !cut_at_edge(dy, height - y0, box_edge::top, t0, edge0, t1, edge1) || t0 > t1) {
        return none;
    }
    s_clip_result cut{true, x0, y0, x1, y1, edge0 != box_edge::none, edge1 != box_edge::none};
    if (cut.start_cut) {
        cut.x0 = x0 + t0 * dx;
        cut.y0 = y0 + t0 * dy;
    }
    if (cut.end_cut) {
        cut.x1 = x0 + t1 * dx;
        cut.y1 = y0 + t1 * dy;
    }
    place_on_edge(edge0, width, height, cut.x0, cut.y0);
    place_on_edge(edge1, width, height, cut.x1, cut.y1);
    return cut;
}

clipped_curve::clipped_curve(drawing_surface& surface, const s_rect& plot, curve_edges edges, double right_limit)
    : surface_(surface),
      plot_(plot),
      edges_(edges),
      right_(std::clamp(right_limit, 0.0, static_cast<double>(std::max(plot.width(), 0)))),
      top_(std::max(plot.height(), 0))
{
}

clipped_curve::clipped_curve(drawing_surface& surface, const s_rect& plot, curve_edges edges)
    : clipped_curve(surface, plot, edges, plot.width())
{
}

void clipped_curve::add(std::optional<double> x, std::optional<double> y)
{
    if (!x || !y || !std::isfinite(*x) || !std::isfinite(*y)) {
        lift();
        return;
    }
    const double px = *x;
    const double py = edges_ == curve_edges::clamp_vertical ? std::clamp(*y, 0.0, top_) : *y;
    if (has_previous_) {
        draw_segment(previous_x_, previous_y_, px, py);
    }
    has_previous_ = true;
    previous_x_ = px;
    previous_y_ = py;
}

void clipped_curve::lift()
{
    has_previous_ = false;
    pen_at_previous_ = false;
}

void clipped_curve::draw_segment(double x0, double y0, double x1, double y1)
{
    const s_clip_result cut = clip_segment_to_box(x0, y0, x1, y1, right_, top_);
    if (!cut.visible) {
        pen_at_previous_ = false;
        return;
    }
    int dx = 0;
    int dy = 0;
    if (!pen_at_previous_ || cut.start_cut) {
        to_device(cut.x0, cut.y0, dx, dy);
        surface_.move_to(dx, dy);
    }
    to_device(cut.x1, cut.y1, dx, dy);
    surface_.line_to(dx, dy);
    ++segments_;
    pen_at_previous_ = !cut.end_cut;
}

void clipped_curve::to_device(double x, double y, int& dx, int& dy) const
{
    // Within the plot, so every offset has its pixel.
    dx = plot_.left + pixel_of_offset(x).value_or(0);
    dy = plot_.bottom - pixel_of_offset(y).value_or(0);
}
