#include "fra/test_plot_from_db.h"

#include <algorithm>
#include <atomic>
#include <cstring>

std::unique_ptr<s_test_plot> test_plot_from_db(const s_db_test& test, int plot_index)
{
    auto plot = std::make_unique<s_test_plot>();
    plot->name.assign(test.name, strnlen(test.name, sizeof test.name));
    plot->appearance = plot_appearance_opening(plot_index);
    // The count may be raised by a thread gathering points meanwhile; the
    // read changes nothing.
    const std::int32_t count = std::atomic_ref<std::int32_t>(const_cast<std::int32_t&>(test.count)).load();
    const std::int32_t held = test.points == nullptr ? 0 : std::max(0, std::min(count, test.capacity));
    plot->points.reserve(static_cast<std::size_t>(held));
    for (std::int32_t i = 0; i < held; ++i) {
        const s_db_point& point = test.points[static_cast<std::size_t>(i)];
        plot->points.push_back({point.frequency, point.amplitude, point.phase});
    }
    return plot;
}

bool add_test_plot(s_test_graph_state& graph, const s_db_test& test)
{
    if (graph.tests.size() >= static_cast<std::size_t>(TEST_GRAPH_MAX_TESTS)) {
        return false;
    }
    graph.tests.push_back(test_plot_from_db(test, static_cast<int>(graph.tests.size())));
    return true;
}
