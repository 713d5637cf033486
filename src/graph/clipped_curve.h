// Drawing a curve into a plot: points joined in order, each segment cut at
// the edges of a window of the plot by linear interpolation, segments
// wholly outside left out, and a curve that comes back into the window
// starting again at the edge. A point that cannot be mapped breaks the
// curve: the segments that join it are not drawn.
//
// A dense curve (2000 points across a plot a few hundred pixels wide) has
// many segments shorter than a pixel: a point within one pixel of the last
// one drawn waits, and is drawn only when the curve goes on further, breaks
// or ends, so the line never strays from the points by more than a pixel
// and the surface gets a line per pixel step, not one per point.
#pragma once

#include <optional>

#include "graph/drawing_surface.h"

// A point in plot offsets: x pixels right of the plot's left edge, y pixels
// up from its bottom edge.
struct s_plot_offset {
    double x;
    double y;
};

class clipped_curve {
public:
    // The window runs from x_low to x_high (offsets, clamped to the plot)
    // and over the plot's whole height. Lines go out in the pen selected.
    clipped_curve(drawing_surface& surface, const s_rect& plot, double x_low, double x_high);
    // Draws the point still waiting.
    ~clipped_curve();
    clipped_curve(const clipped_curve&) = delete;
    clipped_curve& operator=(const clipped_curve&) = delete;

    // The next point, joined to the one before; nullopt or a point that is
    // not finite breaks the curve.
    void add(const std::optional<s_plot_offset>& point);

    int segments_drawn() const { return segments_; }

private:
    void draw_segment(s_plot_offset from, s_plot_offset to);
    void draw_waiting();

    drawing_surface& surface_;
    s_rect plot_;
    double x_low_;
    double x_high_;
    std::optional<s_plot_offset> previous_;
    bool drawn_ = false;  // something was drawn, and the pen stands at pen_x_, pen_y_
    int pen_x_ = 0;
    int pen_y_ = 0;
    bool waiting_ = false;  // a point within a pixel of the pen, not yet drawn
    int waiting_x_ = 0;
    int waiting_y_ = 0;
    int segments_ = 0;
};
