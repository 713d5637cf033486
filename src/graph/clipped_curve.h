// A curve drawn point by point inside a plot, never outside it.
//
// Points are given as offsets in pixels from the plot's origin (its left and
// bottom edges, y upwards) and joined in order with the pen selected last.
// A segment that crosses an edge is cut there by linear interpolation, a
// segment wholly outside is not drawn, and a curve re-entering the plot
// starts again at the edge. A point that cannot be drawn (an absent offset)
// is skipped together with the segments that join it. Every coordinate that
// reaches the surface lies on the plot.
#pragma once

#include <optional>

#include "graph/drawing_surface.h"

enum class curve_edges {
    clip,            // cut at all four edges
    clamp_vertical,  // each point's height held to the plot; cut at the left and right edges only
};

class clipped_curve {
public:
    // right_limit: the offset where the curve stops on the right (the plot's
    // width, or a little less).
    clipped_curve(drawing_surface& surface, const s_rect& plot, curve_edges edges, double right_limit);
    clipped_curve(drawing_surface& surface, const s_rect& plot, curve_edges edges = curve_edges::clip);

    void add(std::optional<double> x, std::optional<double> y);
    // Ends the current run: the next point starts a new one.
    void lift();
    // Segments drawn so far.
    int segments() const { return segments_; }

private:
    void draw_segment(double x0, double y0, double x1, double y1);
    void to_device(double x, double y, int& dx, int& dy) const;

    drawing_surface& surface_;
    s_rect plot_;
    curve_edges edges_;
    double right_;
    double top_;
    bool has_previous_ = false;
    double previous_x_ = 0;
    double previous_y_ = 0;
    bool pen_at_previous_ = false;  // the surface's pen stands on the previous point
    int segments_ = 0;
};

// Cuts the segment to the box [0, width] x [0, height]; false when no part of
// it lies inside (or its ends are not finite). start_cut and end_cut tell
// which ends were moved.
struct s_clip_result {
    bool visible;
    double x0, y0, x1, y1;
    bool start_cut;
    bool end_cut;
};
s_clip_result clip_segment_to_box(double x0, double y0, double x1, double y1, double width, double height);
