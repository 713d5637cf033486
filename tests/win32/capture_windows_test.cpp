// The capture's window layer under Wine: the device-independent copy of a
// bitmap byte for byte, the bitmap file written from it with every error
// code, the capture drawn onto the clipboard and into an exported file and
// read back, and downloads under progress dialog 201 against the simulator,
// one closed with Escape: its worker stops and ends before the front panel
// is resumed. Windows need a display: without DISPLAY these tests are
// skipped.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/progress_dialog_win32.h"
#include "app/progress_dialog_win32_ids.h"
#include "app/save_file_chooser_win32.h"
#include "capture/capture_download_win32.h"
#include "capture/capture_texts.h"
#include "capture/capture_view_win32.h"
#include "capture/dib_file_win32.h"
#include "capture/screen_capture.h"
#include "graph/bitmap_dib_win32.h"
#include "graph/bmp_file.h"
#include "link/connection.h"
#include "link/identify.h"
#include "sched/timer_platform_win32.h"
#include "sched/timer_service.h"
#include "sim/screen_picture.h"
#include "support/recording_prompt.h"
#include "support/sim_process.h"
#include "support/temp_folder.h"

namespace {

using namespace std::chrono_literals;
using bytes = std::vector<std::uint8_t>;

bytes file_bytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A bitmap's pixels as 24-bit rows from the top, through GetDIBits.
s_pixel_image pixels_of(HBITMAP bitmap)
{
    BITMAP description{};
    GetObjectA(bitmap, sizeof description, &description);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = description.bmWidth;
    info.bmiHeader.biHeight = -description.bmHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    s_pixel_image out = make_pixel_image(description.bmWidth, description.bmHeight);
    const std::size_t stride = bmp_row_stride(out.width, 24);
    bytes rows(stride * static_cast<std::size_t>(out.height));
    const HDC screen = GetDC(nullptr);
    GetDIBits(screen, bitmap, 0, static_cast<UINT>(out.height), rows.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    for (int y = 0; y < out.height; ++y) {
        std::memcpy(&out.bgr[out.row_bytes() * y], &rows[stride * y], out.row_bytes());
    }
    return out;
}

// A 24-bit bitmap holding the picture.
HBITMAP bitmap_of(const s_pixel_image& p)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = p.width;
    info.bmiHeader.biHeight = -p.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    const HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const std::size_t stride = bmp_row_stride(p.width, 24);
    for (int y = 0; y < p.height; ++y) {
        std::memcpy(static_cast<std::uint8_t*>(bits) + stride * y, &p.bgr[p.row_bytes() * y], p.row_bytes());
    }
    GdiFlush();
    return bitmap;
}

s_pixel_image numbered_picture(int width, int height)
{
    s_pixel_image p = make_pixel_image(width, height);
    for (std::size_t i = 0; i < p.bgr.size(); ++i) {
        p.bgr[i] = static_cast<std::uint8_t>(i * 7 + 1);
    }
    return p;
}

TEST(CaptureWindows, ADeviceIndependentCopyHoldsTheBitmapsRowsBottomUp)
{
    const s_pixel_image p = numbered_picture(5, 3);
    const HBITMAP bitmap = bitmap_of(p);
    ASSERT_NE(bitmap, nullptr);
    const HGLOBAL dib = bitmap_to_dib(bitmap, nullptr);
    ASSERT_NE(dib, nullptr);
    const auto* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(dib));
    EXPECT_EQ(header->biSize, 40u);
    EXPECT_EQ(header->biWidth, 5);
    EXPECT_EQ(header->biHeight, 3);
    EXPECT_EQ(header->biBitCount, 24);
    EXPECT_EQ(header->biSizeImage, 16u * 3);
    ASSERT_GE(GlobalSize(dib), 40u + 48u);
    // The graph picture's file holds the same rows after its 54 bytes.
    const bytes file = bmp_24_file_bytes(p);
    EXPECT_TRUE(std::equal(file.begin() + 54, file.end(), reinterpret_cast<const std::uint8_t*>(header) + 40));
    GlobalUnlock(dib);
    GlobalFree(dib);
    DeleteObject(bitmap);

    // A 1-bit bitmap: a table of two colours, rows of 4 bytes.
    const std::uint8_t bits[] = {0xA0, 0x00, 0x50, 0x00};  // 2 rows of 12 pixels, word-aligned
    const HBITMAP mono = CreateBitmap(12, 2, 1, 1, bits);
    const HGLOBAL mono_dib = bitmap_to_dib(mono, nullptr);
    ASSERT_NE(mono_dib, nullptr);
    const auto* mono_header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(mono_dib));
    EXPECT_EQ(mono_header->biBitCount, 1);
    EXPECT_EQ(dib_colour_table_bytes(*mono_header), 8u);
    const auto* mono_rows = reinterpret_cast<const std::uint8_t*>(mono_header) + 40 + 8;
    EXPECT_EQ(mono_rows[0], 0x50) << "the bottom row first";
    EXPECT_EQ(mono_rows[4], 0xA0);
    GlobalUnlock(mono_dib);
    GlobalFree(mono_dib);
    DeleteObject(mono);

    EXPECT_EQ(bitmap_to_dib(nullptr, nullptr), nullptr);
}

TEST(CaptureWindows, ADibFileIsItsHeaderAndTheBlock)
{
    temp_folder folder;
    const s_pixel_image p = numbered_picture(5, 3);
    const HBITMAP bitmap = bitmap_of(p);
    const HGLOBAL dib = bitmap_to_dib(bitmap, nullptr);
    ASSERT_NE(dib, nullptr);
    const std::string path = folder.file("export.bmp");
    ASSERT_EQ(write_dib_file(dib, path.c_str()), DIB_FILE_WRITTEN);
    const bytes written = file_bytes(path);
    bytes expected = bmp_24_file_bytes(p);
    const std::uint32_t image = 16 * 3;
    for (int i = 0; i < 4; ++i) {
        expected[34 + i] = static_cast<std::uint8_t>(image >> (8 * i));  // the image size, stored
    }
    ASSERT_EQ(written.size(), expected.size());
    EXPECT_TRUE(std::equal(written.begin(), written.begin() + 38, expected.begin())) << "up to the resolution";
    EXPECT_TRUE(std::equal(written.begin() + 46, written.end(), expected.begin() + 46));

    struct code_case {
        const char* name;
        HGLOBAL block;
        std::string path;
        int code;
    };
    HGLOBAL core = GlobalAlloc(GMEM_MOVEABLE, 64);  // a 12-byte header form
    *static_cast<DWORD*>(GlobalLock(core)) = 12;
    GlobalUnlock(core);
    HGLOBAL cut = GlobalAlloc(GMEM_MOVEABLE, 48);  // a 40-byte header whose rows are missing
    std::memcpy(GlobalLock(cut), GlobalLock(dib), 48);
    GlobalUnlock(dib);
    GlobalUnlock(cut);
    const code_case cases[] = {
        {"no bitmap", nullptr, folder.file("a.bmp"), DIB_FILE_NO_BITMAP},
        {"no name", dib, "", DIB_FILE_NO_NAME},
        {"another header form", core, folder.file("core.bmp"), DIB_FILE_NOT_A_40_BYTE_DIB},
        {"rows missing", cut, folder.file("cut.bmp"), DIB_FILE_NOT_A_40_BYTE_DIB},
        {"a folder that is not there", dib, folder.file("missing") + "\\x.bmp", DIB_FILE_NOT_WRITTEN},
    };
    for (const code_case& c : cases) {
        EXPECT_EQ(write_dib_file(c.block, c.path.c_str()), c.code) << c.name;
        if (!c.path.empty()) {
            EXPECT_FALSE(std::ifstream(c.path).good()) << c.name << ": no file";
        }
    }
    GlobalFree(core);
    GlobalFree(cut);
    GlobalFree(dib);
    DeleteObject(bitmap);
}

LRESULT CALLBACK view_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    return DefWindowProcA(window, message, wparam, lparam);
}

HWND create_view()
{
    static const ATOM registered = [] {
        WNDCLASSA view_class{};
        view_class.lpfnWndProc = view_proc;
        view_class.hInstance = GetModuleHandleA(nullptr);
        view_class.lpszClassName = "Corvexa2CaptureTestView";
        return RegisterClassA(&view_class);
    }();
    return registered == 0 ? nullptr
                           : CreateWindowExA(0, "Corvexa2CaptureTestView", "view", WS_OVERLAPPEDWINDOW, 0, 0, 1000,
                                             600, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

// The simulator's built-in picture as a capture shows it.
s_pixel_image simulator_picture(bool colour, hvxsim::screen_size size = {320, 240})
{
    const hvxsim::screen_picture p = hvxsim::test_picture(size);
    s_pixel_image out = make_pixel_image(p.width, p.height);
    for (std::size_t i = 0; i < p.pixels.size(); ++i) {
        for (int c = 0; c < 3; ++c) {
            out.bgr[3 * i + c] = colour ? hvxsim::value_of_level(p.pixels[i] >> (2 * c))
                                        : (hvxsim::pixel_is_dark(p.pixels[i]) ? 0 : 255);
        }
    }
    return out;
}

std::string chosen_path;
bool choose_test_path(const s_save_file_request& request, std::string* path)
{
    EXPECT_STREQ(request.title, "Export to .bmp");
    EXPECT_STREQ(request.file_name, "*.bmp");
    EXPECT_TRUE(request.path_must_exist);
    EXPECT_TRUE(request.hide_read_only);
    *path = chosen_path;
    return !chosen_path.empty();
}

// Polls until condition holds or 30 s have passed.
bool eventually(const std::function<bool()>& condition)
{
    for (auto deadline = std::chrono::steady_clock::now() + 30s; std::chrono::steady_clock::now() < deadline;) {
        if (condition()) {
            return true;
        }
        std::this_thread::sleep_for(10ms);
    }
    return false;
}

std::string caption_of_dialog()
{
    const HWND dialog = progress_dialog_window();
    char text[256] = {};
    if (dialog) {
        DWORD_PTR copied = 0;
        SendMessageTimeoutA(GetDlgItem(dialog, IDC_PROGRESS_CAPTION), WM_GETTEXT, sizeof text,
                            reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 1000, &copied);
    }
    return text;
}

class CaptureView : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (std::getenv("DISPLAY") == nullptr) {
            GTEST_SKIP() << "no display";
        }
        timer_service_use_platform(win32_timer_platform());
        view = create_view();
        ASSERT_NE(view, nullptr);
        clear_capture(the_screen_capture());
    }
    void TearDown() override
    {
        use_save_file_chooser(nullptr);
        if (view) {
            DestroyWindow(view);
        }
        clear_capture(the_screen_capture());
    }
    // The simulator and the connection to it, identified and connected.
    void start_instrument(std::vector<std::string> arguments, const char* address)
    {
        sim = std::make_unique<sim_process>(arguments, address);
        conn = std::make_unique<s_connection>();
        conn->interface = LINK_LAN;
        connection_set_ip_address(conn.get(), sim->address().c_str());
        silent_prompt quiet;
        ASSERT_TRUE(identify_connection(conn.get(), quiet).identified);
        conn->connected = 1;
    }
    // The commands of the last connection, resets as "RESET".
    std::vector<std::string> last_connection() const
    {
        std::string transcript;
        const auto all_closed = [&] {
            transcript = sim->transcript();
            std::size_t connects = 0, closes = 0;
            for (std::size_t at = 0; (at = transcript.find(" CONNECT", at)) != std::string::npos; ++at) {
                ++connects;
            }
            for (std::size_t at = 0; (at = transcript.find(" CLOSE\n", at)) != std::string::npos; ++at) {
                ++closes;
            }
            return connects == closes;
        };
        EXPECT_TRUE(eventually(all_closed));
        std::vector<std::string> traffic;
        std::istringstream lines(transcript.substr(transcript.rfind(" CONNECT ")));
        for (std::string line; std::getline(lines, line);) {
            std::istringstream fields(line);
            std::string seconds, channel, event, data;
            fields >> seconds >> channel >> event;
            std::getline(fields, data);
            if (event == "RESET") {
                traffic.push_back("RESET");
            } else if (event == "CMD") {
                traffic.push_back(data.substr(2, data.size() - 3));
            }
        }
        return traffic;
    }

    HWND view = nullptr;
    std::unique_ptr<sim_process> sim;
    std::unique_ptr<s_connection> conn;
    temp_folder folder;
};

TEST_F(CaptureView, DownloadsUnderTheDialogAndShowsThePictureOnTheClipboardAndInAFile)
{
    ASSERT_NO_FATAL_FAILURE(start_instrument({"--instrument", "hvxa"}, "127.0.0.48"));
    for (bool colour : {false, true}) {
        SCOPED_TRACE(colour ? "colour" : "mono");
        ASSERT_EQ(download_screen(view, conn.get(), colour, 0), capture_download_result::finished);
        const s_screen_capture& capture = the_screen_capture();
        ASSERT_TRUE(capture.valid);
        EXPECT_FALSE(progress_window_open());
        EXPECT_EQ(last_connection(), (std::vector<std::string>{"RESET", "SUSPEND,ON",
                                                               colour ? "SCREEN,COLOUR?" : "SCREEN?", "SUSPEND,OFF"}));

        // The clipboard's bitmap, read back.
        ASSERT_TRUE(copy_capture_to_clipboard(view));
        ASSERT_TRUE(OpenClipboard(view));
        const auto clipboard = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
        ASSERT_NE(clipboard, nullptr);
        const s_pixel_image copied = pixels_of(clipboard);
        CloseClipboard();
        ASSERT_EQ(copied.width, 320);
        ASSERT_EQ(copied.height, 240);
        const s_pixel_image expected = simulator_picture(colour);
        EXPECT_TRUE(copied.bgr == expected.bgr);

        // The exported file, read back.
        chosen_path = folder.file(colour ? "colour.bmp" : "mono.bmp");
        use_save_file_chooser(choose_test_path);
        recording_prompt prompt;
        EXPECT_EQ(export_capture_bmp(view, &prompt), DIB_FILE_WRITTEN);
        EXPECT_TRUE(prompt.messages.empty());
        const auto exported = static_cast<HBITMAP>(
            LoadImageA(nullptr, chosen_path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
        ASSERT_NE(exported, nullptr);
        EXPECT_TRUE(pixels_of(exported).bgr == expected.bgr);
        DeleteObject(exported);
    }
}

TEST_F(CaptureView, AnExportCancelledOrNotWrittenWritesNothing)
{
    use_save_file_chooser(choose_test_path);
    recording_prompt prompt;
    chosen_path = "";
    EXPECT_EQ(export_capture_bmp(view, &prompt), CAPTURE_EXPORT_CANCELLED);
    EXPECT_TRUE(prompt.messages.empty());
    chosen_path = folder.file("missing") + "\\screen.bmp";
    EXPECT_EQ(export_capture_bmp(view, &prompt), DIB_FILE_NOT_WRITTEN);
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0].text, "Unable to write the bitmap file " + chosen_path + "\nError Code: 4");
    EXPECT_FALSE(std::ifstream(chosen_path).good());
}

TEST_F(CaptureView, NothingIsDrawnUntilACaptureIsValid)
{
    s_screen_capture& capture = the_screen_capture();
    capture.width = 320;
    capture.height = 240;  // all bits clear: black, once valid
    ASSERT_TRUE(copy_capture_to_clipboard(view));
    ASSERT_TRUE(OpenClipboard(view));
    s_pixel_image copied = pixels_of(static_cast<HBITMAP>(GetClipboardData(CF_BITMAP)));
    CloseClipboard();
    EXPECT_TRUE(copied.bgr == make_pixel_image(320, 240).bgr) << "white: nothing drawn";
    capture.valid = 1;
    ASSERT_TRUE(copy_capture_to_clipboard(view));
    ASSERT_TRUE(OpenClipboard(view));
    copied = pixels_of(static_cast<HBITMAP>(GetClipboardData(CF_BITMAP)));
    CloseClipboard();
    EXPECT_TRUE(copied.bgr == make_pixel_image(320, 240, 0).bgr) << "black: a clear bit is a dark pixel";
}

// Escape while the lines come: the worker stops before its next line and
// sends the recovery bytes, and only then is the front panel resumed and
// the link closed.
TEST_F(CaptureView, EscapeStopsTheWorkerBeforeTheResume)
{
    ASSERT_NO_FATAL_FAILURE(start_instrument({"--instrument", "hvxa", "--slow-lines-ms", "40"}, "127.0.0.49"));
    std::atomic<bool> pressed{false};
    std::thread user([&] {
        if (eventually([] { return caption_of_dialog() == CAPTURE_DOWNLOADING_TEXT; })) {
            std::this_thread::sleep_for(200ms);  // a few lines in
            if (const HWND dialog = progress_dialog_window()) {
                pressed = PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0) != 0;
            }
        }
    });
    const capture_download_result result = download_screen(view, conn.get(), false, 0);
    user.join();
    ASSERT_TRUE(pressed);
    EXPECT_EQ(result, capture_download_result::failed);
    EXPECT_FALSE(the_screen_capture().valid);
    EXPECT_FALSE(conn->open);
    EXPECT_EQ(last_connection(),
              (std::vector<std::string>{"RESET", "SUSPEND,ON", "SCREEN?", "RESET", "\\x19", "SUSPEND,OFF"}));
}

}  // namespace
