#include "graph/clipped_curve.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "graph/graph_mapping.h"

namespace {

// Offsets further out than this are pulled in before clipping, so that the
// clipping arithmetic never meets an infinity; at that distance the part
// of a segment inside the plot moves by far less than a pixel.
constexpr double FAR_OFFSET = 1e7;

double pulled_in(double value)
{
    return std::clamp(value, -FAR_OFFSET, FAR_OFFSET);
}

// Liang-Barsky: the part of the segment inside the window, or false.
bool clip(s_plot_offset& from, s_plot_offset& to, double x_low, double x_high, double y_low, double y_high)
{
    const double dx = to.x - from.x;
    const double dy = to.y - from.y;
    const double p[] = {-dx, dx, -dy, dy};
    const double q[] = {from.x - x_low, x_high - from.x, from.y - y_low, y_high - from.y};
    double t0 = 0;
    double t1 = 1;
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) {
                return false;
            }
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0) {
            t0 = std::max(t0, t);
        } else {
            t1 = std::min(t1, t);
        }
        if (t0 > t1) {
            return false;
        }
    }
    const s_plot_offset start = from;
    from = {start.x + t0 * dx, start.y + t0 * dy};
    to = {start.x + t1 * dx, start.y + t1 * dy};
    return true;
}

}  // namespace

clipped_curve::clipped_curve(drawing_surface& surface, const s_rect& plot, double x_low, double x_high)
    : surface_(surface), plot_(plot),
      x_low_(std::clamp(x_low, 0.0, static_cast<double>(plot.width()))),
      x_high_(std::clamp(x_high, 0.0, static_cast<double>(plot.width())))
{
}

void clipped_curve::add(const std::optional<s_plot_offset>& point)
{
    if (!point || !std::isfinite(point->x) || !std::isfinite(point->y)) {
        previous_.reset();
        return;
    }
    const s_plot_offset here{pulled_in(point->x), pulled_in(point->y)};
    if (previous_) {
        draw_segment(*previous_, here);
    }
    previous_ = here;
}

void clipped_curve::draw_segment(s_plot_offset from, s_plot_offset to)
{
    if (!(x_low_ <= x_high_) || !clip(from, to, x_low_, x_high_, 0, plot_.height())) {
        return;
    }
    // Inside the plot every offset is a small number of pixels.
    const int x0 = plot_.left + pixel_of_offset(from.x).value_or(0);
    const int y0 = plot_.bottom - pixel_of_offset(from.y).value_or(0);
    const int x1 = plot_.left + pixel_of_offset(to.x).value_or(0);
    const int y1 = plot_.bottom - pixel_of_offset(to.y).value_or(0);
    const bool from_waiting = waiting_ && x0 == waiting_x_ && y0 == waiting_y_;
    if (!from_waiting) {
        draw_waiting();
        if (!drawn_ || x0 != pen_x_ || y0 != pen_y_) {
            surface_.move_to(x0, y0);
            drawn_ = true;
            pen_x_ = x0;
            pen_y_ = y0;
        }
    }
    if (std::abs(x1 - pen_x_) <= 1 && std::abs(y1 - pen_y_) <= 1) {
        waiting_ = true;
        waiting_x_ = x1;
        waiting_y_ = y1;
        return;
    }
    waiting_ = false;
    surface_.line_to(x1, y1);
    pen_x_ = x1;
    pen_y_ = y1;
    ++segments_;
}

void clipped_curve::draw_waiting()
{
    if (!waiting_) {
        return;
    }
    waiting_ = false;
    if (waiting_x_ != pen_x_ || waiting_y_ != pen_y_) {
        surface_.line_to(waiting_x_, waiting_y_);
        pen_x_ = waiting_x_;
        pen_y_ = waiting_y_;
        ++segments_;
    }
}

clipped_curve::~clipped_curve()
{
    draw_waiting();
}
