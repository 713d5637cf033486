// What the graph drawing tests read from a recording surface: texts with
// their places, segments by pen colour, and the check that nothing was
// drawn far outside the graph's area.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "graph/recording_surface.h"

// Every coordinate of every record (points, rectangles, text places) lies
// within the area grown by slack pixels: a label box may reach a little past
// the area, a coordinate from a range without meaning would not.
inline void expect_drawn_within(const recording_surface& surface, const s_rect& area, int slack = 64)
{
    const auto inside = [&](int x, int y) {
        return x >= area.left - slack && x <= area.right + slack && y >= area.top - slack &&
               y <= area.bottom + slack;
    };
    for (std::size_t i = 0; i < surface.records().size(); ++i) {
        const s_drawing_record& r = surface.records()[i];
        switch (r.op) {
        case drawing_op::fill_rect:
        case drawing_op::frame_rect:
        case drawing_op::ellipse:
        case drawing_op::text_in_rect:
            EXPECT_TRUE(inside(r.area.left, r.area.top) && inside(r.area.right, r.area.bottom))
                << "record " << i << " rect " << r.area.left << "," << r.area.top << "," << r.area.right << ","
                << r.area.bottom;
            break;
        case drawing_op::move_to:
        case drawing_op::line_to:
        case drawing_op::text_at:
            EXPECT_TRUE(inside(r.x, r.y)) << "record " << i << " point " << r.x << "," << r.y;
            break;
        default:
            break;
        }
    }
}

// The text records (text_in_rect and text_at), in order.
inline std::vector<s_drawing_record> text_records(const recording_surface& surface)
{
    std::vector<s_drawing_record> texts;
    for (const s_drawing_record& r : surface.records()) {
        if (r.op == drawing_op::text_in_rect || r.op == drawing_op::text_at) {
            texts.push_back(r);
        }
    }
    return texts;
}

// The first text record with this text; fails the test when there is none.
inline s_drawing_record text_record(const recording_surface& surface, const std::string& text)
{
    for (const s_drawing_record& r : text_records(surface)) {
        if (r.text == text) {
            return r;
        }
    }
    ADD_FAILURE() << "no text \"" << text << "\"";
    return {};
}

inline std::vector<s_drawn_segment> segments_in_colour(const recording_surface& surface, std::uint32_t colour)
{
    std::vector<s_drawn_segment> found;
    for (const s_drawn_segment& s : surface.segments()) {
        if (s.pen.colour == colour) {
            found.push_back(s);
        }
    }
    return found;
}

inline std::vector<s_drawing_record> records_of(const recording_surface& surface, drawing_op op)
{
    std::vector<s_drawing_record> found;
    for (const s_drawing_record& r : surface.records()) {
        if (r.op == op) {
            found.push_back(r);
        }
    }
    return found;
}

inline bool segment_within(const s_drawn_segment& s, const s_rect& plot)
{
    const auto in = [&](int x, int y) {
        return x >= plot.left && x <= plot.right && y >= plot.top && y <= plot.bottom;
    };
    return in(s.x0, s.y0) && in(s.x1, s.y1);
}
