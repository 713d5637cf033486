// What the test graph window does when its model changes. The margin search,
// its menu commands and the combined response change the graph's state and
// then call these; the window, with its menus and renderer, implements them.
#pragma once

class test_graph_hooks {
public:
    virtual ~test_graph_hooks() = default;
    // The "Plot Appearance" menus are built again from the plots' state.
    virtual void rebuild_menus() = 0;
    // The margin labels are laid out again (crossings or hidden state changed).
    virtual void lay_out_margin_labels() = 0;
    // The gain range is computed again from the points (automatic mode only).
    virtual void recompute_gain_range() = 0;
    virtual void redraw() = 0;
};

// For callers without a window (the command-line tool).
class no_test_graph_hooks final : public test_graph_hooks {
public:
    void rebuild_menus() override {}
    void lay_out_margin_labels() override {}
    void recompute_gain_range() override {}
    void redraw() override {}
};
