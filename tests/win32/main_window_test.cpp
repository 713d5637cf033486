// The program shell in this process: window classes, the main window with its
// menu, size limits, accelerators, About box and destruction, COM for the main
// thread and the message-box prompt. Windows need a display: without DISPLAY
// the window tests are skipped.
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "app/app_state_win32.h"
#include "app/com_apartment_win32.h"
#include "app/main_window_size.h"
#include "app/main_window_win32.h"
#include "app/message_box_prompt_win32.h"
#include "app/resource.h"
#include "app/settings.h"
#include "app/window_classes_win32.h"

// Creating the main window loads the settings: see settings_shell_folder_test.cpp.
std::shared_ptr<void> settings_folder_turn();

namespace {

HINSTANCE this_instance()
{
    return GetModuleHandleA(nullptr);
}

bool display_available()
{
    return std::getenv("DISPLAY") != nullptr;
}

void register_classes_once()
{
    static const bool registered = register_window_classes(this_instance());
    ASSERT_TRUE(registered);
}

// Answers the next message box with the given caption from a second thread:
// records its text, then presses the button. The caller asks for the text
// once its modal call has returned: a box not seen by then never opened.
class message_box_answerer {
public:
    message_box_answerer(std::string caption, int button)
        : caption_(std::move(caption)), button_(button), thread_([this] { run(); })
    {
    }
    ~message_box_answerer() { finish(); }
    message_box_answerer(const message_box_answerer&) = delete;
    message_box_answerer& operator=(const message_box_answerer&) = delete;

    // The box's text; "" when no box appeared.
    std::string text()
    {
        finish();
        return text_;
    }

    // True when the box appeared (and was answered).
    bool seen()
    {
        finish();
        return seen_;
    }

private:
    void finish()
    {
        stop_ = true;
        if (thread_.joinable()) {
            thread_.join();
        }
    }

    HWND find_box() const
    {
        HWND box = nullptr;
        while ((box = FindWindowExA(nullptr, box, "#32770", caption_.c_str())) != nullptr) {
            DWORD process = 0;
            GetWindowThreadProcessId(box, &process);
            if (process == GetCurrentProcessId() && IsWindowVisible(box)) {
                return box;
            }
        }
        return nullptr;
    }

    void run()
    {
        while (!stop_) {
            if (HWND box = find_box()) {
                char text[1024] = {};
                GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
                text_ = text;
                seen_ = true;
                PostMessageA(box, WM_COMMAND, MAKEWPARAM(button_, BN_CLICKED),
                             reinterpret_cast<LPARAM>(GetDlgItem(box, button_)));
                return;
            }
            Sleep(20);
        }
    }

    std::string caption_;
    int button_;
    std::string text_;
    bool seen_ = false;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// Drops a WM_QUIT the destroyed main window left for this thread, so the
// next modal box is not ended by it. Returns its exit code, or -1 when none.
int take_quit_message()
{
    MSG message;
    if (PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        return static_cast<int>(message.wParam);
    }
    return -1;
}

TEST(WindowClasses, EveryClassIsRegisteredAlikeAndOnlyTheMainOneHasMenuAndLargeIcon)
{
    register_classes_once();
    int count = 0;
    const s_window_class* table = window_class_table(&count);
    ASSERT_EQ(count, 14);
    std::set<std::string> names;
    for (int i = 0; i < count; ++i) {
        SCOPED_TRACE(table[i].name);
        names.insert(table[i].name);
        WNDCLASSEXA info = {};
        info.cbSize = sizeof info;
        ASSERT_TRUE(GetClassInfoExA(this_instance(), table[i].name, &info));
        EXPECT_EQ(info.style, 0u);
        EXPECT_EQ(info.cbClsExtra, 0);
        EXPECT_EQ(info.cbWndExtra, 0);
        EXPECT_EQ(info.hbrBackground, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)));
        EXPECT_EQ(info.hCursor, LoadCursorA(nullptr, IDC_ARROW));
        EXPECT_NE(info.hIconSm, nullptr);
        const bool is_main = std::string(table[i].name) == main_window_class_name;
        EXPECT_EQ(info.hIcon != nullptr, is_main);
        EXPECT_EQ(info.lpszMenuName, is_main ? MAKEINTRESOURCEA(IDR_MAIN_MENU) : nullptr);
    }
    EXPECT_EQ(names.size(), 14u);
    EXPECT_EQ(std::string(table[0].name), "ZVCorvexa2WClass");
}

TEST(MainWindowSize, FramesOfFiveOrMoreWidenTheDesign)
{
    const struct {
        int frame_width, frame_height, width, height;
    } cases[] = {
        {0, 0, 1024, 625}, {4, 4, 1024, 625}, {5, 5, 1026, 627}, {8, 4, 1032, 625}, {4, 10, 1024, 637},
    };
    for (const auto& c : cases) {
        const s_window_extent size = main_window_initial_size(c.frame_width, c.frame_height);
        EXPECT_EQ(size.width, c.width) << c.frame_width;
        EXPECT_EQ(size.height, c.height) << c.frame_height;
    }
}

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!display_available()) {
            GTEST_SKIP() << "no display to create windows on";
        }
        register_classes_once();
        app_state().instance = this_instance();
        turn = settings_folder_turn();
        window = create_main_window(this_instance());
        ASSERT_NE(window, nullptr);
    }

    void TearDown() override
    {
        if (window != nullptr && IsWindow(window)) {
            DestroyWindow(window);
        }
        take_quit_message();
        turn.reset();
    }

    std::shared_ptr<void> turn;
    HWND window = nullptr;
};

std::string menu_text(HMENU menu, int position)
{
    char text[128] = {};
    GetMenuStringA(menu, static_cast<UINT>(position), text, sizeof text, MF_BYPOSITION);
    return text;
}

TEST_F(MainWindow, IsCreatedWithItsClassTitleStyleSizeAndSettings)
{
    char class_name[64] = {};
    GetClassNameA(window, class_name, sizeof class_name);
    EXPECT_STREQ(class_name, "ZVCorvexa2WClass");
    char title[64] = {};
    GetWindowTextA(window, title, sizeof title);
    EXPECT_STREQ(title, "Corvexa2 1_2");
    const LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
    EXPECT_EQ(style & WS_OVERLAPPEDWINDOW, WS_OVERLAPPEDWINDOW);
    EXPECT_EQ(app_state().main_window, window);

    const s_window_extent expected =
        main_window_initial_size(GetSystemMetrics(SM_CXFRAME), GetSystemMetrics(SM_CYFRAME));
    RECT bounds;
    GetWindowRect(window, &bounds);
    EXPECT_EQ(bounds.right - bounds.left, expected.width);
    EXPECT_EQ(bounds.bottom - bounds.top, expected.height);

    // Resizing below the initial size is refused.
    MINMAXINFO limits = {};
    SendMessageA(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    EXPECT_EQ(limits.ptMinTrackSize.x, expected.width);
    EXPECT_EQ(limits.ptMinTrackSize.y, expected.height);

    // Creating the window loaded the settings and the logo bitmap.
    EXPECT_FALSE(settings_file().empty());
    EXPECT_NE(app_state().logo_bitmap, nullptr);
}

TEST_F(MainWindow, HasTheMainMenu)
{
    struct s_item {
        const char* text;
        int id;  // 0 for a popup
        std::vector<std::pair<const char*, int>> items;
    };
    const s_item expected[] = {
        {"&Configure", 0, {{"&Connection...", 110}, {"&Settings...", 214}, {"&Debug mode", 204}}},
        {"&Display", 0, {{"&Save to Bitmap", 32771}, {"&Copy to Clipboard", 32772}}},
        {"&FRA", 32773, {}},
        {"&LCR", 181, {}},
        {"&Piezo", 188, {}},
        {"&EIS", 208, {}},
        {"C&apture", 187, {}},
        {"&Help", 0, {{"&About ...", 104}, {"&Support ...", 32775}}},
    };
    const HMENU menu = GetMenu(window);
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(GetMenuItemCount(menu), static_cast<int>(std::size(expected)));
    for (int position = 0; position < GetMenuItemCount(menu); ++position) {
        const s_item& item = expected[position];
        SCOPED_TRACE(item.text);
        EXPECT_EQ(menu_text(menu, position), item.text);
        const HMENU popup = GetSubMenu(menu, position);
        if (item.id != 0) {
            EXPECT_EQ(popup, nullptr);
            EXPECT_EQ(static_cast<int>(GetMenuItemID(menu, position)), item.id);
            continue;
        }
        ASSERT_NE(popup, nullptr);
        ASSERT_EQ(GetMenuItemCount(popup), static_cast<int>(item.items.size()));
        for (int sub = 0; sub < GetMenuItemCount(popup); ++sub) {
            EXPECT_EQ(menu_text(popup, sub), item.items[sub].first);
            EXPECT_EQ(static_cast<int>(GetMenuItemID(popup, sub)), item.items[sub].second);
        }
    }
}

// Holds the Alt key down in this thread's keyboard state for its lifetime.
class alt_key_held {
public:
    alt_key_held()
    {
        GetKeyboardState(saved_);
        BYTE state[256];
        GetKeyboardState(state);
        state[VK_MENU] |= 0x80;
        SetKeyboardState(state);
    }
    ~alt_key_held() { SetKeyboardState(saved_); }
    alt_key_held(const alt_key_held&) = delete;
    alt_key_held& operator=(const alt_key_held&) = delete;

private:
    BYTE saved_[256] = {};
};

// Alt+? reaches the window as WM_SYSCHAR '?' while Alt is down; the
// accelerator turns it into the About command, which shows the About box.
TEST_F(MainWindow, AltQuestionMarkAndAltSlashOpenTheAboutBox)
{
    const HACCEL accelerators = LoadAcceleratorsA(this_instance(), MAKEINTRESOURCEA(IDR_ACCELERATORS));
    const alt_key_held alt;
    for (char key : {'?', '/'}) {
        message_box_answerer answerer("Corvexa2", IDOK);
        MSG message = {};
        message.hwnd = window;
        message.message = WM_SYSCHAR;
        message.wParam = static_cast<WPARAM>(key);
        message.lParam = 1 | (1 << 29);  // one repeat, Alt held
        EXPECT_NE(TranslateAcceleratorA(window, accelerators, &message), 0) << key;
        const std::string text = answerer.text();
        EXPECT_NE(text.find("Corvexa2"), std::string::npos) << text;
        EXPECT_NE(text.find("1_2"), std::string::npos) << text;
    }
}

TEST_F(MainWindow, SettingsOpensTheSoftwareOptionsDialog)
{
    message_box_answerer answerer("Software Options", IDCANCEL);
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(IDM_SETTINGS, 0), 0);
    EXPECT_TRUE(answerer.seen());
}

TEST_F(MainWindow, OtherMenuCommandsDoNothingYet)
{
    for (int command : {IDM_CONNECTION, IDM_FRA, IDM_SUPPORT}) {
        SendMessageA(window, WM_COMMAND, MAKEWPARAM(command, 0), 0);
    }
    EXPECT_TRUE(IsWindow(window));
}

TEST_F(MainWindow, DestructionReleasesEverythingAndQuitsWithCodeZero)
{
    // This thread's COM initialisation is owed to the window, as at start.
    const HRESULT first = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ASSERT_EQ(first, S_OK) << "COM was already initialised on the test thread";
    app_state().com_uninitialize_owed = true;

    DestroyWindow(window);

    EXPECT_EQ(take_quit_message(), 0);
    EXPECT_FALSE(app_state().com_uninitialize_owed);
    EXPECT_EQ(app_state().logo_bitmap, nullptr);
    EXPECT_EQ(app_state().main_window, nullptr);
    // The window's CoUninitialize balanced ours: initialising again starts afresh.
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
    CoUninitialize();
}

TEST(MainThreadCom, OwesUninitialiseUnlessTheThreadIsInAnotherApartment)
{
    bool fresh_thread_owes = false;
    std::thread([&] {
        fresh_thread_owes = initialize_main_thread_com();
        if (fresh_thread_owes) {
            uninitialize_main_thread_com();
        }
    }).join();
    EXPECT_TRUE(fresh_thread_owes);

    bool other_apartment_owes = true;
    std::thread([&] {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED)));
        other_apartment_owes = initialize_main_thread_com();
        CoUninitialize();
    }).join();
    EXPECT_FALSE(other_apartment_owes);
}

TEST(MessageBoxPrompt, ShowsTextAndCaptionAndReportsTheAnswer)
{
    if (!display_available()) {
        GTEST_SKIP() << "no display to create windows on";
    }
    message_box_prompt prompt(nullptr);
    {
        message_box_answerer answerer("Caption told", IDOK);
        prompt.tell("Told text", "Caption told", prompt_icon::warning);
        EXPECT_EQ(answerer.text(), "Told text");
    }
    for (int button : {IDYES, IDNO}) {
        message_box_answerer answerer("Caption asked", button);
        const bool yes = prompt.ask_yes_no("Asked text", "Caption asked", prompt_icon::question);
        EXPECT_EQ(answerer.text(), "Asked text");
        EXPECT_EQ(yes, button == IDYES);
    }
}

TEST(MessageBoxPrompt, BusyShowsTheWaitCursorAndRestoresThePreviousOne)
{
    message_box_prompt prompt(nullptr);
    const HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    const HCURSOR wait = LoadCursorA(nullptr, IDC_WAIT);
    SetCursor(arrow);
    prompt.set_busy(true);
    EXPECT_EQ(GetCursor(), wait);
    prompt.set_busy(true);  // a second "on" must not remember the wait cursor
    prompt.set_busy(false);
    EXPECT_EQ(GetCursor(), arrow);
}

}  // namespace
