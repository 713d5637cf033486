// The generator monitor control in this process: what it draws for a few
// readings and instruments, its field messages and attachment, readings
// handed over from other threads through its mailbox (coalesced, and dropped
// once the control has gone), and the monitor thread stopped by the
// control's own thread while the thread is inside its sink. Scenarios that
// stop the monitor run on a thread of their own that plays the main thread,
// so that a hang fails the test at its deadline instead of stalling it.
// Windows need a display: without DISPLAY these tests are skipped.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <future>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "config/config_selection.h"
#include "config/instrument_config.h"
#include "config/monitor_control_win32.h"
#include "config/monitor_mailbox_win32.h"
#include "config/monitor_show_win32.h"
#include "config/monitor_thread.h"
#include "link/comms_log.h"
#include "link/connection.h"
#include "support/fake_link.h"
#include "support/memory_log_environment.h"

namespace {

// Only a hung monitor, or a window that never paints, reaches it.
constexpr auto HANG_LIMIT = std::chrono::seconds(30);
constexpr char TEST_WINDOW_CLASS[] = "Corvexa2MonitorTestWindow";

HINSTANCE this_instance()
{
    return GetModuleHandleA(nullptr);
}

bool register_classes()
{
    WNDCLASSEXA window_class = {};
    window_class.cbSize = sizeof window_class;
    window_class.lpfnWndProc = DefWindowProcA;
    window_class.hInstance = this_instance();
    window_class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    window_class.lpszClassName = TEST_WINDOW_CLASS;
    WNDCLASSEXA known = {};
    known.cbSize = sizeof known;
    const bool test_class = GetClassInfoExA(this_instance(), TEST_WINDOW_CLASS, &known) ||
                            RegisterClassExA(&window_class) != 0;
    return test_class && register_monitor_control_class(this_instance());
}

// A shown top-level window holding one monitor control (of the monitor's
// class, or a static control that monitor_attach takes over), on the thread
// that makes it.
class test_window {
public:
    explicit test_window(const char* control_class = monitor_control_class_name)
    {
        frame_ = CreateWindowExA(0, TEST_WINDOW_CLASS, "Generator monitor test", WS_OVERLAPPEDWINDOW, 0, 0, 300, 180,
                                 nullptr, nullptr, this_instance(), nullptr);
        control_ = CreateWindowExA(0, control_class, "", WS_CHILD | WS_VISIBLE | WS_BORDER | SS_CENTER, 12, 12, 234,
                                   105, frame_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(MONITOR_CONTROL_ID)),
                                   this_instance(), nullptr);
        ShowWindow(frame_, SW_SHOWNOACTIVATE);
        UpdateWindow(frame_);
    }
    ~test_window()
    {
        if (frame_ != nullptr) {
            DestroyWindow(frame_);
        }
    }
    test_window(const test_window&) = delete;
    test_window& operator=(const test_window&) = delete;

    HWND control() const { return control_; }
    void destroy_control()
    {
        DestroyWindow(control_);
        control_ = nullptr;
    }

private:
    HWND frame_ = nullptr;
    HWND control_ = nullptr;
};

// Handles this thread's messages until done() holds; false at the deadline.
bool pump_until(const std::function<bool()>& done)
{
    const auto deadline = std::chrono::steady_clock::now() + HANG_LIMIT;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        MSG message;
        if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        } else {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        }
    }
    return true;
}

// Handles every message waiting for this thread.
void pump_waiting()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

bool notice_waiting()
{
    MSG message;
    return PeekMessageA(&message, nullptr, MONITOR_MSG_READING_WAITING, MONITOR_MSG_READING_WAITING, PM_NOREMOVE) !=
           0;
}

std::vector<std::string> texts_of(const s_monitor_picture& picture)
{
    std::vector<std::string> texts;
    for (const s_monitor_drawn_text& drawn : picture.texts) {
        texts.push_back(drawn.text);
    }
    std::sort(texts.begin(), texts.end());
    return texts;
}

// The control's picture once it has painted again.
s_monitor_picture repainted(HWND control)
{
    UpdateWindow(control);
    return monitor_control_drawing(control).picture;
}

bool shows(HWND control, const std::string& text)
{
    const s_monitor_picture picture = monitor_control_drawing(control).picture;
    return std::any_of(picture.texts.begin(), picture.texts.end(),
                       [&](const s_monitor_drawn_text& drawn) { return drawn.text == text; });
}

COLORREF colour_of(const s_monitor_picture& picture, const std::string& text)
{
    for (const s_monitor_drawn_text& drawn : picture.texts) {
        if (drawn.text == text) {
            return drawn.colour;
        }
    }
    return CLR_INVALID;
}

s_monitor_values reading(std::int16_t state, std::int16_t waveform, float peak, float frequency, float offset,
                         float ceiling)
{
    s_monitor_values values;
    values.output_state = state;
    values.waveform = waveform;
    values.amplitude = peak;
    values.frequency = frequency;
    values.offset = offset;
    values.amplitude_ceiling = ceiling;
    return values;
}

std::unique_ptr<s_connection> instrument(int type, int option)
{
    auto conn = std::make_unique<s_connection>();
    conn->interface = LINK_LAN;
    connection_set_ip_address(conn.get(), "127.0.0.1");
    conn->instrument_type = type;
    conn->current_option = option;
    conn->connected = 1;
    return conn;
}

// Runs body on a thread of its own that plays the main thread (it makes the
// windows, handles their messages and calls monitor_stop); false when it did
// not end by the deadline. A hung body is left behind with what it holds,
// so that a hang fails the test instead of stalling the program.
bool as_main_thread(std::function<void()> body)
{
    auto ended = std::make_shared<std::promise<void>>();
    std::future<void> done = ended->get_future();
    std::thread([body = std::move(body), ended] {
        body();
        ended->set_value();
    }).detach();
    return done.wait_for(HANG_LIMIT * 2) == std::future_status::ready;
}

class MonitorControl : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (std::getenv("DISPLAY") == nullptr) {
            GTEST_SKIP() << "no display";
        }
        ASSERT_TRUE(register_classes());
    }
};

TEST_F(MonitorControl, DrawsEachReadingForItsInstrument)
{
    struct reading_case {
        const char* what;
        int type, option;
        s_monitor_values values;
        bool device_flag;
        std::vector<std::string> texts;  // besides the title and the three labels
        COLORREF status_colour;
    };
    s_monitor_values phase_reset = reading(3, 3, 0.00047f, 0.5f, -0.2f, 10);
    phase_reset.has_phase_reset = true;
    phase_reset.phase_reset = 90;
    const reading_case cases[] = {
        {"on, halved by the device", 7, 0, reading(1, 1, 1.5f, 1000, 0, 10), true,
         {"     ON", "  Triangle", "    1.500V", "  1.000kHz", "RMS: 530.330mV", "5.0V"}, RGB(0xDC, 0x14, 0x3C)},
        {"DC only on type 9", 9, 0, reading(2, 5, 1, 50, 1.25f, 15), false,
         {" DC ON", "White noise", "    1.000V", "  50.000Hz", "RMS: 1.250V", "5.0V"}, RGB(0x63, 0xB8, 0xFF)},
        {"off, another option", 7, 1, reading(0, 2, 12, 12.5e6f, 0, 10), false,
         {"    OFF", "     Sine", "   12.000V", " 12.500MHz", "RMS: 0.000V", "10.0V"}, RGB(0x00, 0xC9, 0x57)},
        {"phase reset, small numbers", 7, 0, phase_reset, false,
         {" PH RST", " Lead Saw", " 470.000uV", "500.000mHz", "RMS: 199.668mV", "1.0V"}, RGB(0xFF, 0x83, 0xFA)},
        {"nothing read yet: no scale", 9, 0, reading(0, 0, 0, 0, 0, 0), false,
         {"    OFF", "     Sine", "    0.000V", "   0.000Hz", "RMS: 0.000V"}, RGB(0x00, 0xC9, 0x57)},
    };
    for (const reading_case& c : cases) {
        SCOPED_TRACE(c.what);
        test_window window;
        const std::unique_ptr<s_connection> conn = instrument(c.type, c.option);
        monitor_attach(window.control(), conn.get());
        s_monitor_values values = c.values;
        values.device_flag = c.device_flag;
        monitor_show(window.control(), values);
        const s_monitor_picture picture = repainted(window.control());

        std::vector<std::string> expected = c.texts;
        expected.insert(expected.end(), {"Generator Monitor", "Waveform", "Peak", "Freq"});
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(texts_of(picture), expected);
        EXPECT_EQ(colour_of(picture, c.texts.front()), c.status_colour);
        // A sketch is drawn only on a known full scale.
        EXPECT_EQ(picture.trace_points > 0, c.values.amplitude_ceiling > 0);
    }
}

TEST_F(MonitorControl, FieldMessagesTakeTextsAndTheTextChangeRedraws)
{
    test_window window;
    const HWND control = window.control();
    const std::unique_ptr<s_connection> conn = instrument(7, 0);
    monitor_attach(control, conn.get());
    UpdateWindow(control);
    const int paints = monitor_control_drawing(control).paints;

    SendMessageA(control, MONITOR_MSG_OUTPUT, 1, 0);
    SendMessageA(control, MONITOR_MSG_WAVEFORM, 2, 0);
    SendMessageA(control, MONITOR_MSG_AMPLITUDE, 0, reinterpret_cast<LPARAM>("2.5000E0"));
    SendMessageA(control, MONITOR_MSG_FREQUENCY, 0, reinterpret_cast<LPARAM>("1.0E300"));  // beyond a float
    SendMessageA(control, MONITOR_MSG_OFFSET, 0, reinterpret_cast<LPARAM>("garbage"));     // 0, as atof reads it
    SendMessageA(control, MONITOR_MSG_CEILING, 0, reinterpret_cast<LPARAM>("15.0"));
    SendMessageA(control, MONITOR_MSG_DEVICE_FLAG, 1, 0);
    UpdateWindow(control);
    EXPECT_EQ(monitor_control_drawing(control).paints, paints) << "fields alone do not redraw";

    SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
    const s_monitor_picture picture = repainted(control);
    EXPECT_EQ(monitor_control_drawing(control).paints, paints + 1);
    EXPECT_TRUE(shows(control, "    Square"));
    EXPECT_TRUE(shows(control, "    2.500V"));
    EXPECT_TRUE(shows(control, "     infHz"));
    EXPECT_TRUE(shows(control, "RMS: 883.883mV"));  // 2.5 / sqrt(2) / 2
    EXPECT_TRUE(shows(control, "5.0V"));
    EXPECT_GT(picture.trace_points, 0);

    // The control keeps what it was sent until new values arrive.
    SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
    repainted(control);
    EXPECT_TRUE(shows(control, "    2.500V"));
}

TEST_F(MonitorControl, KeepsItsOwnCopyOfTheConnection)
{
    test_window window;
    const HWND control = window.control();
    s_monitor_values values = reading(1, 1, 1, 1000, 0, 10);

    // Not attached yet: the waveforms are named as on type 9.
    monitor_show(control, values);
    repainted(control);
    EXPECT_TRUE(shows(control, "    Square"));

    const std::unique_ptr<s_connection> conn = instrument(7, 0);
    monitor_attach(control, conn.get());
    conn->instrument_type = 9;  // the control's copy does not follow
    monitor_show(control, values);
    repainted(control);
    EXPECT_TRUE(shows(control, "  Triangle"));

    monitor_attach(control, nullptr);  // no record: the copy held stays
    monitor_show(control, values);
    repainted(control);
    EXPECT_TRUE(shows(control, "  Triangle"));
}

TEST_F(MonitorControl, AttachTakesOverAStaticControlOnce)
{
    test_window window("STATIC");
    const HWND control = window.control();
    EXPECT_EQ(monitor_control_mailbox(control), nullptr);  // not a monitor yet

    const std::unique_ptr<s_connection> conn = instrument(7, 1);
    monitor_attach(control, conn.get());
    monitor_attach(control, conn.get());  // again: the monitor's procedure stays in place once
    EXPECT_NE(monitor_control_mailbox(control), nullptr);
    monitor_show(control, reading(2, 1, 3, 20, 2.5f, 10));
    const s_monitor_picture picture = repainted(control);
    EXPECT_TRUE(shows(control, " DC ON"));
    EXPECT_TRUE(shows(control, "    Square"));
    EXPECT_TRUE(shows(control, "10.0V"));  // 2.5 + 3 reaches beyond 5
    EXPECT_GT(picture.trace_points, 0);

    // What the monitor does not handle still reaches the static control,
    // once: a procedure chained to itself would never return.
    SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("held"));
    EXPECT_EQ(SendMessageA(control, WM_GETTEXTLENGTH, 0, 0), 4);
    char text[16] = {};
    EXPECT_EQ(GetWindowTextA(control, text, sizeof text), 4);
    EXPECT_STREQ(text, "held");
}

TEST_F(MonitorControl, ReadingsFromOtherThreadsArePostedAndOnlyTheLatestIsShown)
{
    const bool ended = as_main_thread([] {
        test_window window;
        const HWND control = window.control();
        auto sink = std::make_shared<monitor_window_sink>(control);
        pump_waiting();
        ASSERT_FALSE(notice_waiting());

        // The monitor's side never waits for this thread: it is done while
        // this thread handles no messages at all.
        auto shown = std::make_shared<std::promise<void>>();
        std::future<void> all_shown = shown->get_future();
        std::thread([sink, shown] {
            for (int i = 1; i <= 3; ++i) {
                sink->show(reading(1, 0, static_cast<float>(i), 1000, 0, 10));
            }
            shown->set_value();
        }).detach();
        ASSERT_EQ(all_shown.wait_for(HANG_LIMIT), std::future_status::ready)
            << "the sink waited for the control's thread";

        EXPECT_TRUE(notice_waiting());
        MSG notice;
        ASSERT_TRUE(
            PeekMessageA(&notice, nullptr, MONITOR_MSG_READING_WAITING, MONITOR_MSG_READING_WAITING, PM_REMOVE));
        EXPECT_FALSE(notice_waiting()) << "one notice for three readings";
        DispatchMessageA(&notice);
        repainted(control);
        EXPECT_TRUE(shows(control, "    3.000V"));

        // A reading after the notice was taken posts a new one.
        sink->show(reading(1, 0, 4, 1000, 0, 10));
        EXPECT_TRUE(pump_until([&] { return shows(control, "    4.000V"); }));
    });
    ASSERT_TRUE(ended) << "the control's thread hung";
}

TEST_F(MonitorControl, ReadingsAfterTheControlHasGoneAreDropped)
{
    test_window window;
    auto sink = std::make_unique<monitor_window_sink>(window.control());
    sink->show(reading(1, 0, 1, 1000, 0, 10));  // its notice is still on its way
    EXPECT_TRUE(notice_waiting());
    window.destroy_control();
    pump_waiting();  // the notice, if still queued, finds no window

    monitor_window_sink no_control(nullptr);
    no_control.show(reading(1, 0, 2, 1000, 0, 10));  // a sink of no control drops everything
    sink->show(reading(1, 0, 3, 1000, 0, 10));
    EXPECT_FALSE(notice_waiting()) << "nothing is posted once the control has gone";

    // A new control never hears of the old one's readings.
    test_window another;
    pump_waiting();
    UpdateWindow(another.control());
    EXPECT_FALSE(shows(another.control(), "    3.000V"));
    sink.reset();  // the sink may outlive its control
}

// The monitor over the fake link: an instrument of type 7 answering every
// generator parameter, optionally taking a little real time for each reply,
// so that stops land in the middle of a pass.
class MonitorStop : public MonitorControl {
protected:
    MonitorStop() : scope(env), conn(instrument(7, 0))
    {
        config_objects_create();
        config_select_for_type(7);
        fake.tcp.wire.respond = [this](const std::string& line) { return reply(line); };
    }
    ~MonitorStop() override { link_close(conn.get()); }

    std::string reply(const std::string& line)
    {
        if (line.rfind("config,", 0) != 0 || line.back() != '?') {
            return "";
        }
        if (slow_replies) {
            Sleep(1);
        }
        static const std::map<int, std::string> values = {{122, "0"},       {7, "1"},        {51, "2"},
                                                          {49, "1.5000E0"}, {48, "1.0000E3"}, {50, "0.0000E0"},
                                                          {56, "9.0000E1"}};
        const auto found = values.find(std::atoi(line.c_str() + 7));
        return found == values.end() ? "" : found->second + "\r\n";
    }

    memory_log_environment env;
    comms_log_scope scope;
    fake_link_backend fake;
    std::unique_ptr<s_connection> conn;
    std::atomic<bool> slow_replies{false};
};

// Stands between the monitor thread and the control's sink: the first time
// it is handed a reading, it says so and waits until the stop has begun (the
// run flag cleared) before it hands the reading on, so the hand-over happens
// while the control's thread is inside monitor_stop.
class stop_overlapping_sink final : public monitor_sink {
public:
    stop_overlapping_sink(const s_monitor_thread& monitor, monitor_sink& next) : monitor_(monitor), next_(next) {}
    ~stop_overlapping_sink() override { CloseHandle(entered); }

    void show(const s_monitor_values& values) override
    {
        if (!first_done_.exchange(true)) {
            SetEvent(entered);
            const auto deadline = std::chrono::steady_clock::now() + HANG_LIMIT;
            while (monitor_.run.load() && std::chrono::steady_clock::now() < deadline) {
                Sleep(1);
            }
            stop_seen_inside = !monitor_.run.load();
        }
        next_.show(values);
    }

    HANDLE entered = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::atomic<bool> stop_seen_inside{false};

private:
    const s_monitor_thread& monitor_;
    monitor_sink& next_;
    std::atomic<bool> first_done_{false};
};

TEST_F(MonitorStop, AStopWhileTheThreadHandsOverAReadingReturns)
{
    struct outcome {
        std::atomic<bool> started{false}, entered{false}, stopped{false}, stop_seen_inside{false};
        std::atomic<bool> shown_after_stop{false}, link_closed{false};
    };
    auto result = std::make_shared<outcome>();
    s_connection* link = conn.get();
    const bool ended = as_main_thread([result, link] {
        test_window window;
        monitor_window_sink control_sink(window.control());
        s_monitor_thread monitor;
        stop_overlapping_sink sink(monitor, control_sink);
        result->started = monitor_start(monitor, {link, monitor_config, &sink});
        if (!result->started) {
            return;
        }
        result->entered = WaitForSingleObject(sink.entered, 30000) == WAIT_OBJECT_0;
        monitor_stop(monitor);
        result->stopped = true;
        result->stop_seen_inside = sink.stop_seen_inside.load();
        result->link_closed = link->open == 0;
        // The reading handed over during the stop is shown once this
        // thread handles its messages again.
        result->shown_after_stop = pump_until([&] { return shows(window.control(), "    1.500V"); });
    });
    ASSERT_TRUE(ended) << "monitor_stop never returned (or the control never drew the reading)";
    ASSERT_TRUE(result->started);
    EXPECT_TRUE(result->entered);
    EXPECT_TRUE(result->stopped);
    EXPECT_TRUE(result->stop_seen_inside) << "the hand-over did not overlap the stop";
    EXPECT_TRUE(result->link_closed);
    EXPECT_TRUE(result->shown_after_stop);
}

TEST_F(MonitorStop, StartsAndStopsManyTimesWithTheControlAndAfterItHasGone)
{
    slow_replies = true;
    struct outcome {
        std::atomic<int> rounds{0}, shown_rounds{0};
        std::atomic<bool> failed_start{false}, link_left_open{false};
    };
    auto result = std::make_shared<outcome>();
    s_connection* link = conn.get();
    constexpr int rounds = 60;
    const bool ended = as_main_thread([result, link] {
        test_window window;
        monitor_window_sink sink(window.control());
        s_monitor_thread monitor;
        for (int round = 0; round < rounds; ++round) {
            if (round == rounds / 2) {
                window.destroy_control();  // the second half hands readings to no control
            }
            if (!monitor_start(monitor, {link, monitor_config, &sink})) {
                result->failed_start = true;
                return;
            }
            // Every third round (with a control) waits for a reading to be
            // drawn; the others stop at once, mostly in the middle of a pass.
            if (window.control() != nullptr && round % 3 == 1) {
                const int paints = monitor_control_drawing(window.control()).paints;
                if (pump_until([&] {
                        return monitor_control_drawing(window.control()).paints > paints &&
                               shows(window.control(), "    1.500V");
                    })) {
                    ++result->shown_rounds;
                }
            }
            monitor_stop(monitor);
            pump_waiting();
            if (link->open != 0) {
                result->link_left_open = true;
            }
            ++result->rounds;
        }
    });
    ASSERT_TRUE(ended) << "the monitor hung after " << result->rounds.load() << " rounds";
    EXPECT_FALSE(result->failed_start);
    EXPECT_FALSE(result->link_left_open);
    EXPECT_EQ(result->rounds.load(), rounds);
    EXPECT_EQ(result->shown_rounds.load(), 10);
}

}  // namespace
