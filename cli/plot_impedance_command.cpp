#include "plot_impedance_command.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "analysis_arguments.h"
#include "analysis_input_load.h"
#include "app/settings.h"
#include "app/text_encoding.h"
#include "app/text_file.h"
#include "graph/graph_settings_file.h"
#include "graph/svg_surface.h"
#include "impedance/impedance_plot.h"
#include "impedance/piezo_analysis.h"

namespace {

constexpr int default_width = 800;
constexpr int default_height = 500;
constexpr int largest_side = 16384;

impedance_plot_kind plot_kind_of(int kind)
{
    switch (kind) {
    case PLOT_IMPEDANCE_LCR_NYQUIST:
        return impedance_plot_kind::lcr_nyquist;
    case PLOT_IMPEDANCE_EIS:
        return impedance_plot_kind::eis;
    case PLOT_IMPEDANCE_PIEZO:
        return impedance_plot_kind::piezo;
    default:
        return impedance_plot_kind::lcr_bode;
    }
}

// A side of 1 to largest_side pixels, all digits.
bool read_side(const std::string& text, int& side)
{
    if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    side = std::atoi(text.c_str());
    return side >= 1 && side <= largest_side;
}

// "WxH", e.g. "800x500".
bool read_size(const std::string& text, int& width, int& height)
{
    const std::size_t x = text.find('x');
    return x != std::string::npos && read_side(text.substr(0, x), width) && read_side(text.substr(x + 1), height);
}

// The whole picture or nothing: a file that could not be written whole is removed.
bool write_picture(const std::string& path, const std::string& document)
{
    std::FILE* file = open_program_file(path, "wb");
    if (file == nullptr) {
        return false;
    }
    const bool written = std::fwrite(document.data(), 1, document.size(), file) == document.size();
    const bool closed = std::fclose(file) == 0;
    if (!(written && closed)) {
        std::remove(system_path(path).c_str());
        return false;
    }
    return true;
}

}  // namespace

bool load_impedance_plot(const cli_context& context, int kind, const std::string& file, bool white,
                         impedance_plot_drawing& draw)
{
    int layout = 0;
    std::shared_ptr<const s_lcr_sweep> block = load_lcr_analysis_input(context, file, layout);
    if (!block) {
        return false;
    }
    const s_impedance_plot plot{plot_kind_of(kind), white};
    if (plot.kind == impedance_plot_kind::piezo) {
        if (const char* refusal = piezo_layout_refusal(layout)) {
            std::fprintf(context.err, "%s\n", refusal);
            return false;
        }
    }
    s_graph_settings settings{};
    const int settings_kind = impedance_plot_settings_kind(plot.kind);
    if (settings_kind >= 0) {
        // The settings folder as the program finds it at start.
        settings_load();
        load_graph_settings(settings, settings_kind);
    }
    draw = [block, layout, plot, settings](drawing_surface& surface, const s_rect& area) {
        // Each drawing starts from the record as loaded, as each paint of a
        // window starts from its live record.
        s_graph_settings live = settings;
        draw_impedance_plot(surface, area, plot, *block, layout, live);
    };
    return true;
}

int run_plot_impedance(cli_context& context, int kind)
{
    s_analysis_words words;
    int status = CLI_OK;
    if (!parse_analysis_words(context, {{"--out", true, false}, {"--size", true, false}, {"--white", false, false}},
                              1, words, status)) {
        return status;
    }
    if (words.files.empty()) {
        return cli_usage_error(context, "a sweep file is needed");
    }
    const std::string out = words.value("--out");
    if (out.empty()) {
        return cli_usage_error(context, "--out FILE.svg is needed");
    }
    int width = default_width;
    int height = default_height;
    if (words.has("--size") && !read_size(words.value("--size"), width, height)) {
        return cli_usage_error(context, "--size needs WIDTHxHEIGHT, each 1 to " + std::to_string(largest_side));
    }
    impedance_plot_drawing draw;
    if (!load_impedance_plot(context, kind, words.files.front(), words.has("--white"), draw)) {
        return CLI_FAILED;
    }
    svg_surface surface(width, height);
    draw(surface, {0, 0, width, height});
    if (!write_picture(out, surface.document())) {
        std::fprintf(context.err, "Unable to write %s\n", out.c_str());
        return CLI_FAILED;
    }
    return CLI_OK;
}

int run_plot_lcr_bode(cli_context& context)
{
    return run_plot_impedance(context, PLOT_IMPEDANCE_LCR_BODE);
}

int run_plot_lcr_nyquist(cli_context& context)
{
    return run_plot_impedance(context, PLOT_IMPEDANCE_LCR_NYQUIST);
}

int run_plot_eis(cli_context& context)
{
    return run_plot_impedance(context, PLOT_IMPEDANCE_EIS);
}

int run_plot_piezo(cli_context& context)
{
    return run_plot_impedance(context, PLOT_IMPEDANCE_PIEZO);
}
