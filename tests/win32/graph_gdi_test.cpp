// The graphs painted through GDI in this process: the test graph into a
// memory bitmap (the frame's rings and the curves' colours where the graph
// puts them), a memory paint copied into its place in a target, the bitmap
// put on the clipboard and read back, the file path with the Save As dialog
// replaced; and each impedance graph of a sweep block. Windows need a
// display: without DISPLAY these tests are skipped.
#include <gtest/gtest.h>

#include <windows.h>

#include <cmath>
#include <complex>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/user_prompt.h"
#include "fra/plot_margins.h"
#include "fra/test_graph_hooks.h"
#include "fra/lcr_layout.h"
#include "graph/gdi_memory_surface_win32.h"
#include "graph/graph_bitmap_save_win32.h"
#include "graph/graph_settings_file.h"
#include "graph/test_graph.h"
#include "graph/test_graph_draw.h"
#include "graph/test_graph_ranges.h"
#include "impedance/impedance_plot.h"
#include "support/temp_folder.h"

namespace {

constexpr int WIDTH = 1008;
constexpr int HEIGHT = 600;
constexpr std::uint32_t CRIMSON = 3937500;  // the first test's gain curve

std::uint32_t pixel(const s_pixel_image& image, int x, int y)
{
    const std::uint8_t* p = image.bgr.data() + image.row_bytes() * static_cast<std::size_t>(y) + 3 * static_cast<std::size_t>(x);
    return p[2] | (p[1] << 8) | (p[0] << 16);  // 0x00BBGGRR
}

// Two tests of the loop K / (1 + s)^3, their margins searched.
std::unique_ptr<s_test_graph_state> loop_graph()
{
    auto graph = std::make_unique<s_test_graph_state>();
    for (int t = 0; t < 2; ++t) {
        auto plot = std::make_unique<s_test_plot>();
        plot->name = "Loop " + std::to_string(t + 1);
        plot->appearance = plot_appearance_opening(t);
        for (int i = 0; i < 200; ++i) {
            const double f = 0.01 * std::pow(10.0, 3.0 * i / 199);
            const double w = 2 * 3.141592653589793 * f;
            const double gain = 20 * std::log10((4.0 + 4 * t) / std::pow(1 + w * w, 1.5));
            const double phase = -3 * std::atan(w) * 180 / 3.141592653589793;
            plot->points.push_back({f, gain, phase < -180 ? phase + 360 : phase});
        }
        graph->tests.push_back(std::move(plot));
    }
    autoscale_test_frequency(*graph);
    autoscale_test_gain(*graph);
    silent_prompt prompt;
    no_test_graph_hooks hooks;
    find_gain_phase_margins(*graph, true, prompt, hooks);
    return graph;
}

class GraphGdi : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (std::getenv("DISPLAY") == nullptr) {
            GTEST_SKIP() << "no display";
        }
        window = CreateWindowExA(0, "STATIC", "graph", WS_OVERLAPPEDWINDOW, 0, 0, WIDTH, HEIGHT, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(window, nullptr);
        picture.graph = graph.get();
        picture.area = {0, 0, WIDTH, HEIGHT};
    }
    void TearDown() override
    {
        if (window != nullptr) {
            DestroyWindow(window);
        }
    }

    s_pixel_image bitmap_pixels(HBITMAP bitmap)
    {
        s_pixel_image image;
        EXPECT_TRUE(read_bitmap_pixels(bitmap, image));
        return image;
    }

    std::unique_ptr<s_test_graph_state> graph = loop_graph();
    s_test_graph_picture picture;
    HWND window = nullptr;
};

TEST_F(GraphGdi, PaintsTheFrameAndCurvesIntoAMemoryBitmap)
{
    const HDC screen = GetDC(nullptr);
    const HBITMAP bitmap = draw_into_bitmap(screen, WIDTH, HEIGHT, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)),
                                            [&](drawing_surface& surface, const s_rect& area) {
                                                draw_test_graph(*graph, {}, surface, area, false);
                                            });
    ReleaseDC(nullptr, screen);
    ASSERT_NE(bitmap, nullptr);
    const s_pixel_image image = bitmap_pixels(bitmap);
    DeleteObject(bitmap);
    ASSERT_EQ(image.width, WIDTH);
    ASSERT_EQ(image.height, HEIGHT);
    const s_rect plot = test_graph_plot_rect({0, 0, WIDTH, HEIGHT}, false);
    EXPECT_EQ(pixel(image, 0, 0), 0xFFFFFFu);                         // the page
    EXPECT_EQ(pixel(image, plot.left - 4, plot.top + 2), 0x808080u);  // the outer grey ring
    EXPECT_EQ(pixel(image, plot.left, plot.top + 2), 0x404040u);      // the dark grey ring
    int crimson = 0;
    int lit = 0;
    for (int y = plot.top + 1; y < plot.bottom - 1; ++y) {
        for (int x = plot.left + 1; x < plot.right - 1; ++x) {
            crimson += pixel(image, x, y) == CRIMSON;
            lit += pixel(image, x, y) != 0;
        }
    }
    EXPECT_GT(crimson, 200);  // a curve two pixels wide across the plot
    EXPECT_GT(lit, 2000);
}

TEST_F(GraphGdi, AMemoryPaintLandsInItsAreaOfTheTarget)
{
    const HDC screen = GetDC(nullptr);
    const HBITMAP target = CreateCompatibleBitmap(screen, 400, 300);
    const HDC target_dc = CreateCompatibleDC(screen);
    const HGDIOBJ before = SelectObject(target_dc, target);
    const RECT all{0, 0, 400, 300};
    FillRect(target_dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    const RECT area{100, 50, 300, 250};
    EXPECT_TRUE(paint_through_memory(target_dc, area, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)),
                                     [](drawing_surface& surface, const s_rect& inner) {
                                         surface.fill_rect({inner.left, inner.top, inner.left + 10, inner.top + 10},
                                                           solid_brush(CRIMSON));
                                     }));
    SelectObject(target_dc, before);
    DeleteDC(target_dc);
    ReleaseDC(nullptr, screen);
    const s_pixel_image image = bitmap_pixels(target);
    DeleteObject(target);
    EXPECT_EQ(pixel(image, 99, 49), 0xFFFFFFu);
    EXPECT_EQ(pixel(image, 100, 50), CRIMSON);
    EXPECT_EQ(pixel(image, 110, 60), 0x000000u);
    EXPECT_EQ(pixel(image, 299, 249), 0x000000u);
    EXPECT_EQ(pixel(image, 300, 250), 0xFFFFFFu);
}

TEST_F(GraphGdi, TheClipboardHoldsTheGraphDrawnForABitmap)
{
    ASSERT_EQ(save_graph_bitmap(window, picture, true), graph_bitmap_result::saved);
    ASSERT_TRUE(OpenClipboard(window));
    const auto held = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
    ASSERT_NE(held, nullptr);
    const s_pixel_image from_clipboard = bitmap_pixels(held);
    CloseClipboard();

    const HBITMAP direct = draw_test_graph_bitmap(window, picture);
    ASSERT_NE(direct, nullptr);
    const s_pixel_image expected = bitmap_pixels(direct);
    DeleteObject(direct);
    ASSERT_EQ(from_clipboard.width, WIDTH);
    ASSERT_EQ(from_clipboard.height, HEIGHT);
    EXPECT_TRUE(from_clipboard.bgr == expected.bgr);
    // Drawn for a bitmap: the plot ends 90 pixels above the bottom.
    const s_rect plot = test_graph_plot_rect({0, 0, WIDTH, HEIGHT}, true);
    EXPECT_EQ(pixel(from_clipboard, plot.left + 10, plot.bottom + 3), 0x808080u);
}

class fixed_chooser final : public bitmap_file_chooser {
public:
    explicit fixed_chooser(std::string path) : path_(std::move(path)) {}
    bool choose(HWND, std::string& path) override
    {
        ++asked;
        if (path_.empty()) {
            return false;
        }
        path = path_;
        return true;
    }
    int asked = 0;

private:
    std::string path_;
};

TEST_F(GraphGdi, SavingToAFileAsksForThePathAndEndsQuietlyWhenCancelled)
{
    temp_folder scratch;
    const std::string path = scratch.file("graph.bmp");
    fixed_chooser cancelled("");
    EXPECT_EQ(save_graph_bitmap(window, picture, false, cancelled), graph_bitmap_result::cancelled);
    EXPECT_EQ(cancelled.asked, 1);

    fixed_chooser chosen(path);
    const graph_bitmap_result result = save_graph_bitmap(window, picture, false, chosen);
    std::FILE* file = std::fopen(path.c_str(), "rb");
    EXPECT_EQ(result, graph_bitmap_result::saved);
    ASSERT_NE(file, nullptr);
    char magic[2] = {};
    EXPECT_EQ(std::fread(magic, 1, 2, file), 2u);
    EXPECT_EQ(std::string(magic, 2), "BM");
    if (file != nullptr) {
        std::fclose(file);
    }
    // The clipboard is not asked for a path.
    fixed_chooser unused(path);
    EXPECT_EQ(save_graph_bitmap(window, picture, true, unused), graph_bitmap_result::saved);
    EXPECT_EQ(unused.asked, 0);
}

}  // namespace

namespace {

// A Randles cell (10 + 100 || 10 uF) in layout 7 at 100 log-spaced points.
std::unique_ptr<s_lcr_sweep> randles_block()
{
    auto block = make_lcr_sweep();
    block->points = 100;
    for (int i = 0; i < block->points; ++i) {
        const double f = 0.1 * std::pow(10.0, 6.0 * i / 99);
        const std::complex<double> jw(0, 2 * 3.141592653589793 * f);
        const std::complex<double> z = 10.0 + 100.0 / (1.0 + jw * 100.0 * 1e-5);
        double* v = block->point[i].value;
        v[0] = f;
        v[1] = z.real();
        v[2] = z.imag();
        v[3] = std::abs(z);
        v[4] = std::arg(z) * 180 / 3.141592653589793;
    }
    return block;
}

TEST(ImpedanceGraphGdi, EachGraphPaintsItsFrameAndColouredCurves)
{
    if (std::getenv("DISPLAY") == nullptr) {
        GTEST_SKIP() << "no display";
    }
    const auto block = randles_block();
    for (const impedance_plot_kind kind : {impedance_plot_kind::lcr_bode, impedance_plot_kind::lcr_nyquist,
                                           impedance_plot_kind::eis, impedance_plot_kind::piezo}) {
        SCOPED_TRACE(static_cast<int>(kind));
        s_graph_settings settings{};
        const int settings_kind = impedance_plot_settings_kind(kind);
        if (settings_kind >= 0) {
            load_graph_settings(settings, settings_kind);
        }
        const HDC screen = GetDC(nullptr);
        const HBITMAP bitmap =
            draw_into_bitmap(screen, 800, 500, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)),
                             [&](drawing_surface& surface, const s_rect& area) {
                                 draw_impedance_plot(surface, area, {kind, true}, *block, LCR_LAYOUT_IMPEDANCE,
                                                     settings);
                             });
        ReleaseDC(nullptr, screen);
        ASSERT_NE(bitmap, nullptr);
        s_pixel_image image;
        ASSERT_TRUE(read_bitmap_pixels(bitmap, image));
        DeleteObject(bitmap);
        int drawn = 0;
        int coloured = 0;
        for (int y = 0; y < image.height; ++y) {
            for (int x = 0; x < image.width; ++x) {
                const std::uint32_t p = pixel(image, x, y);
                const int r = p & 0xFF, g = (p >> 8) & 0xFF, b = (p >> 16) & 0xFF;
                drawn += p != 0xFFFFFFu;
                coloured += !(r == g && g == b);
            }
        }
        EXPECT_GT(drawn, 2000);    // frame, grid, labels and curves
        EXPECT_GT(coloured, 100);  // the curves are in colour, the frame and grid grey
    }
}

}  // namespace
