#include "fra/sweep_import_rows.h"

sweep_import_status store_imported_point(s_lcr_sweep& block, int& stored, const s_lcr_result& point)
{
    if (stored < 0 || stored >= SWEEP_MAX_POINTS) {
        return sweep_import_status::too_many_rows;
    }
    block.point[stored] = point;
    ++stored;
    return sweep_import_status::imported;
}

bool header_names(std::string_view header, char letter)
{
    return header.find(letter) != std::string_view::npos;
}
