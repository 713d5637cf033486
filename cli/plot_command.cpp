// plot KIND [ARGUMENTS] --out FILE.svg [--size WxH] [--white]
//
// Draws one of the program's graphs as its window would show it saved to a
// bitmap, into an SVG picture (or, in the Windows build, a 24-bit bitmap
// file when the name ends in .bmp), on a white page. The kind is the second
// word; each kind reads its own arguments and data (the table below), the
// picture options are shared. The file is written whole or not at all.
//
// plot test --db DB --test ID [--test ID ...] [--margins]
//   the test graph of up to nine stored tests, with automatic ranges; with
//   --margins the gain and phase margin search runs first and both kinds of
//   crossing are marked.
// plot lcr-bode|lcr-nyquist|eis|piezo FILE
//   an impedance graph of one sweep file (plot_impedance_command.h).
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "analysis_arguments.h"
#include "app/user_prompt.h"
#include "fra/plot_margins.h"
#include "fra/test_graph_hooks.h"
#include "graph/test_graph.h"
#include "graph/test_graph_background.h"
#include "graph/test_graph_draw.h"
#include "graph/test_graph_ranges.h"
#include "graph_tests_load.h"
#include "plot_commands.h"
#include "plot_impedance_command.h"
#include "plot_picture.h"
#include "whole_file.h"

namespace {

constexpr int DEFAULT_WIDTH = 1008;  // the test graph window's smallest width
constexpr int DEFAULT_HEIGHT = 600;
constexpr int SMALLEST_SIDE = 320;
constexpr int LARGEST_SIDE = 8000;

struct s_picture_options {
    bool white = false;
};

// One kind of graph: the words it takes beside the shared picture options,
// and how it reads its data into a drawing (false with the exit status set
// and the reason printed).
struct s_plot_kind {
    const char* name;
    std::vector<s_analysis_option> options;
    std::size_t files;
    bool (*load)(cli_context& context, const s_analysis_words& words, const s_picture_options& picture,
                 plot_drawing& draw, int& status);
};

bool load_test_graph(cli_context& context, const s_analysis_words& words, const s_picture_options& picture,
                     plot_drawing& draw, int& status)
{
    const auto found = words.values.find("--test");
    if (!words.has("--db") || found == words.values.end()) {
        status = cli_usage_error(context, "plot test needs --db DB and one --test ID or more");
        return false;
    }
    if (found->second.size() > static_cast<std::size_t>(TEST_GRAPH_MAX_TESTS)) {
        status = cli_usage_error(context, "at most " + std::to_string(TEST_GRAPH_MAX_TESTS) + " tests are graphed");
        return false;
    }
    auto graph = std::make_shared<s_test_graph_state>();
    if (!load_graph_tests(context, words.value("--db"), found->second, *graph, status)) {
        return false;
    }
    autoscale_test_frequency(*graph);
    autoscale_test_gain(*graph);
    if (words.has("--margins")) {
        silent_prompt prompt;
        no_test_graph_hooks hooks;
        find_gain_phase_margins(*graph, true, prompt, hooks);
        // The search shows the 0 degree marks; a picture asked for with its
        // margins shows the 0 dB marks too.
        for (const auto& plot : graph->tests) {
            plot->appearance.gain_margin_visible = plot->zero_db.count > 0;
        }
        autoscale_test_gain(*graph);
    }
    if (picture.white) {
        choose_test_graph_background(*graph, TEST_BACKGROUND_WHITE);
    }
    draw = [graph](drawing_surface& surface, const s_rect& area) {
        surface.fill_rect(area, {brush_kind::white});
        draw_test_graph(*graph, {}, surface, area, true);
    };
    return true;
}

template <int impedance_kind>
bool load_impedance_graph(cli_context& context, const s_analysis_words& words, const s_picture_options& picture,
                          plot_drawing& draw, int& status)
{
    if (!load_impedance_plot(context, impedance_kind, words.files.front(), picture.white, draw)) {
        status = CLI_FAILED;
        return false;
    }
    return true;
}

const s_plot_kind plot_kinds[] = {
    {"test", {{"--db", true, false}, {"--test", true, true}, {"--margins", false, false}}, 0, load_test_graph},
    {"lcr-bode", {}, 1, load_impedance_graph<PLOT_IMPEDANCE_LCR_BODE>},
    {"lcr-nyquist", {}, 1, load_impedance_graph<PLOT_IMPEDANCE_LCR_NYQUIST>},
    {"eis", {}, 1, load_impedance_graph<PLOT_IMPEDANCE_EIS>},
    {"piezo", {}, 1, load_impedance_graph<PLOT_IMPEDANCE_PIEZO>},
};

std::string kind_names()
{
    std::string names;
    for (const s_plot_kind& kind : plot_kinds) {
        names += (names.empty() ? "" : ", ") + std::string(kind.name);
    }
    return names;
}

bool ends_with(std::string text, const std::string& end)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text.size() > end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// "WxH" with both sides whole numbers within the limits.
bool parse_size(const std::string& text, int& width, int& height)
{
    const std::size_t cross = text.find_first_of("xX");
    if (cross == std::string::npos || cross == 0 || cross + 1 == text.size() ||
        text.find_first_not_of("0123456789xX") != std::string::npos || text.find_first_of("xX", cross + 1) != std::string::npos ||
        cross > 5 || text.size() - cross - 1 > 5) {
        return false;
    }
    width = std::stoi(text.substr(0, cross));
    height = std::stoi(text.substr(cross + 1));
    return width >= SMALLEST_SIDE && width <= LARGEST_SIDE && height >= SMALLEST_SIDE && height <= LARGEST_SIDE;
}

}  // namespace

int run_plot(cli_context& context)
{
    if (context.args.empty()) {
        return cli_usage_error(context, "plot needs the kind of graph: " + kind_names());
    }
    const s_plot_kind* kind = nullptr;
    for (const s_plot_kind& known : plot_kinds) {
        if (context.args.front() == known.name) {
            kind = &known;
        }
    }
    if (kind == nullptr) {
        return cli_usage_error(context, "unknown kind of graph " + context.args.front() + " (one of " + kind_names() + ")");
    }
    cli_context words_context = context;
    words_context.args.erase(words_context.args.begin());
    std::vector<s_analysis_option> options = kind->options;
    options.insert(options.end(), {{"--out", true, false}, {"--size", true, false}, {"--white", false, false}});
    s_analysis_words words;
    int status = CLI_OK;
    if (!parse_analysis_words(words_context, options, kind->files, words, status)) {
        return status;
    }
    if (words.files.size() != kind->files) {
        return cli_usage_error(context, std::string("plot ") + kind->name + " takes " + std::to_string(kind->files) + " file(s)");
    }
    const std::string out = words.value("--out");
    const bool bitmap = ends_with(out, ".bmp");
    if (out.empty() || (!bitmap && !ends_with(out, ".svg"))) {
        return cli_usage_error(context, "--out must name a .svg or .bmp file");
    }
    int width = DEFAULT_WIDTH;
    int height = DEFAULT_HEIGHT;
    if (words.has("--size") && !parse_size(words.value("--size"), width, height)) {
        return cli_usage_error(context, "--size must be WIDTHxHEIGHT, each " + std::to_string(SMALLEST_SIDE) + " to " +
                                            std::to_string(LARGEST_SIDE) + " pixels, not " + words.value("--size"));
    }
    if (bitmap && !plot_bitmaps_written()) {
        std::fprintf(context.err, "Bitmap pictures are written by the Windows build of the tool: %s\n", out.c_str());
        return CLI_FAILED;
    }
    s_picture_options picture;
    picture.white = words.has("--white");
    plot_drawing draw;
    if (!kind->load(words_context, words, picture, draw, status)) {
        return status;
    }
    const bool written = bitmap ? write_file_whole(out, [&](const std::string& temporary) {
        return write_plot_bitmap(temporary, width, height, draw);
    })
                                : write_file_whole(out, [&](const std::string& temporary) {
                                      return write_bytes_file(temporary, plot_svg_document(width, height, draw));
                                  });
    if (!written) {
        std::fprintf(context.err, "Unable to write %s\n", out.c_str());
        return CLI_FAILED;
    }
    return CLI_OK;
}
