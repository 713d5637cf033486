#include "analysis_input_load.h"

#include <cstdio>

#include "fra/analysis_input.h"

namespace {

// True when the file gave rows; the reason printed when not.
bool usable(const cli_context& context, const std::string& path, const sweep_import_result& result, int points)
{
    if (result.status != sweep_import_status::imported) {
        std::fprintf(context.err, "Unable to read sweep file %s: %s\n", path.c_str(),
                     sweep_import_result_text(result).c_str());
        return false;
    }
    if (points <= 0) {
        std::fprintf(context.err, "Unable to read sweep file %s: it holds no sweep rows\n", path.c_str());
        return false;
    }
    return true;
}

}  // namespace

std::unique_ptr<s_lcr_sweep> load_lcr_analysis_input(const cli_context& context, const std::string& path,
                                                     int& layout)
{
    std::unique_ptr<s_lcr_sweep> block = make_lcr_sweep();
    const sweep_import_result result = import_lcr_analysis_file(path, *block, layout);
    return usable(context, path, result, block->points) ? std::move(block) : nullptr;
}

std::unique_ptr<s_fra_sweep> load_fra_analysis_input(const cli_context& context, const std::string& path)
{
    std::unique_ptr<s_fra_sweep> block = make_fra_sweep();
    const sweep_import_result result = import_fra_sweep_data_file(path, *block);
    return usable(context, path, result, block->points) ? std::move(block) : nullptr;
}
