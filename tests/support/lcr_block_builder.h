// Small LCR sweep blocks for the graph tests: one row of values per point,
// value 0 the frequency, the rest by the layout code's order.
#pragma once

#include <memory>
#include <vector>

#include "fra/sweep_records.h"

inline std::unique_ptr<s_lcr_sweep> lcr_block(const std::vector<std::vector<double>>& rows, int phase_convention = 0)
{
    auto block = make_lcr_sweep();
    block->points = static_cast<int>(rows.size());
    block->phase_convention = phase_convention;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        for (std::size_t v = 0; v < rows[i].size() && v < LCR_RESULT_VALUES; ++v) {
            block->point[i].value[v] = rows[i][v];
        }
    }
    return block;
}
