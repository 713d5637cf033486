// Screen downloads against the instrument simulator over loopback TCP, the
// instrument identified as the program does: both forms decoded into the
// simulator's own picture, the screen groups of a type 16 instrument, and
// replies that fail, each checked on the simulator's transcript (the
// recovery bytes, the resume after them, the link closed).
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "capture/capture_download.h"
#include "capture/capture_texts.h"
#include "capture/capture_worker.h"
#include "capture/screen_capture.h"
#include "link/connection.h"
#include "link/identify.h"
#include "link/restored_link_timeout.h"
#include "sim/screen_picture.h"
#include "support/recording_prompt.h"
#include "support/sim_process.h"
#include "support/sweep_fakes.h"
#include "support/temp_folder.h"

namespace {

// The simulator's picture as the capture should show it.
s_pixel_image expected_picture(const hvxsim::screen_picture& p, bool colour, bool negative)
{
    s_pixel_image out = make_pixel_image(p.width, p.height);
    for (std::size_t i = 0; i < p.pixels.size(); ++i) {
        const int pixel = negative ? 0x3F - p.pixels[i] : p.pixels[i];
        if (colour) {
            out.bgr[3 * i] = hvxsim::value_of_level(pixel);
            out.bgr[3 * i + 1] = hvxsim::value_of_level(pixel >> 2);
            out.bgr[3 * i + 2] = hvxsim::value_of_level(pixel >> 4);
        } else {
            std::fill_n(&out.bgr[3 * i], 3, hvxsim::pixel_is_dark(static_cast<std::uint8_t>(pixel)) ? 0 : 255);
        }
    }
    return out;
}

class CaptureSim : public ::testing::Test {
public:
    // A simulator with these arguments and the connection identified (or,
    // for an instrument that never answers, taken as an HVX family A).
    void start(std::vector<std::string> args, bool identify = true)
    {
        sim = std::make_unique<sim_process>(std::move(args), "127.0.0.45");
        conn = std::make_unique<s_connection>();
        conn->interface = LINK_LAN;
        connection_set_ip_address(conn.get(), sim->address().c_str());
        silent_prompt quiet;
        if (identify) {
            ASSERT_TRUE(identify_connection(conn.get(), quiet).identified);
        } else {
            conn->instrument_type = 7;
        }
        conn->connected = 1;
        job = std::make_unique<s_capture_job>();
        job->connection = conn.get();
        job->prompt = &prompt;
        job->progress = &progress;
        job->colour_file = folder.file("dlcap.bmp");
    }

    // The view's Download, the worker run where it is called.
    bool download(bool colour)
    {
        const capture_worker_routine worker = capture_worker_for(colour);
        const capture_runner run = [worker](s_capture_job& j) {
            return s_capture_run{worker(j) != capture_outcome::cancelled, true};
        };
        return download_and_tell(*job, *capture, run, prompt);
    }

    // The commands of the download's connection (the last one), resets as "RESET".
    std::vector<std::string> download_traffic()
    {
        std::string transcript;
        for (int i = 0; i < 100 && !all_closed(transcript = sim->transcript()); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        std::vector<std::string> traffic;
        const std::size_t last_connect = transcript.rfind(" CONNECT ");
        std::istringstream lines(transcript.substr(last_connect));
        for (std::string line; std::getline(lines, line);) {
            std::istringstream fields(line);
            std::string seconds, channel, event, data;
            fields >> seconds >> channel >> event;
            std::getline(fields, data);
            if (event == "RESET") {
                traffic.push_back("RESET");
            } else if (event == "CMD") {
                traffic.push_back(data.substr(2, data.size() - 3));  // without the quotes
            }
        }
        return traffic;
    }

    static bool all_closed(const std::string& transcript)
    {
        std::size_t connects = 0, closes = 0;
        for (std::size_t at = 0; (at = transcript.find(" CONNECT", at)) != std::string::npos; ++at) {
            ++connects;
        }
        for (std::size_t at = 0; (at = transcript.find(" CLOSE\n", at)) != std::string::npos; ++at) {
            ++closes;
        }
        return connects > 0 && connects == closes;
    }

    hvxsim::screen_picture picture(const char* preset) const
    {
        return hvxsim::test_picture(hvxsim::screen_size_of(preset));
    }

    std::unique_ptr<sim_process> sim;
    std::unique_ptr<s_connection> conn;
    std::unique_ptr<s_capture_job> job;
    std::unique_ptr<s_screen_capture> capture = std::make_unique<s_screen_capture>();
    recording_prompt prompt;
    recording_progress progress;
    temp_folder folder;
};

TEST_F(CaptureSim, BothFormsShowTheSimulatorsPicture)
{
    start({"--instrument", "hvxa"});
    for (bool colour : {false, true}) {
        SCOPED_TRACE(colour ? "colour" : "mono");
        ASSERT_TRUE(download(colour));
        EXPECT_TRUE(capture_picture(*capture).bgr == expected_picture(picture("hvxa"), colour, false).bgr);
        EXPECT_EQ(download_traffic(), (std::vector<std::string>{"RESET", "SUSPEND,ON", colour ? "SCREEN,COLOUR?" : "SCREEN?",
                                                                "SUSPEND,OFF"}));
    }
    EXPECT_TRUE(prompt.messages.empty());
}

TEST_F(CaptureSim, AType16InstrumentShowsTheGroupAskedFor)
{
    start({"--instrument", "wxe5"});
    ASSERT_EQ(conn->instrument_type, 16);
    struct group_case {
        int group;
        bool colour;
        const char* command;
    };
    const group_case cases[] = {{1, false, "SCREEN,GROUP1?"},
                                {2, false, "SCREEN,GROUP2?"},
                                {2, true, "SCREEN,COLOUR,GROUP2?"},
                                {0, false, "SCREEN?"}};
    for (const group_case& c : cases) {
        SCOPED_TRACE(c.command);
        job->group = c.group;
        ASSERT_TRUE(download(c.colour));
        EXPECT_EQ(capture->width, 512);
        EXPECT_EQ(capture->height, 272);
        EXPECT_TRUE(capture_picture(*capture).bgr == expected_picture(picture("wxe5"), c.colour, c.group == 2).bgr);
        EXPECT_EQ(download_traffic()[2], c.command);
    }
}

// A monochrome reply that fails: the recovery bytes go out before the
// front panel is resumed and the link closed.
TEST_F(CaptureSim, AFailedMonochromeReplyIsRecoveredBeforeTheResume)
{
    struct failure_case {
        std::vector<std::string> args;
    };
    const failure_case cases[] = {
        {{"--screen-short-line", "4"}},
        {{"--screen-garble-line", "2"}},
        {{"--screen-stop-after", "6"}},
    };
    for (const failure_case& c : cases) {
        SCOPED_TRACE(c.args[0]);
        start(c.args);
        const restored_link_timeout timeout(conn.get());
        link_set_timeout(conn.get(), 300);
        prompt.messages.clear();
        EXPECT_FALSE(download(false));
        ASSERT_EQ(prompt.messages.size(), 1u);
        EXPECT_EQ(prompt.messages[0].text, CAPTURE_COMMUNICATION_ERROR_TEXT);
        EXPECT_FALSE(capture->valid);
        EXPECT_EQ(download_traffic(),
                  (std::vector<std::string>{"RESET", "SUSPEND,ON", "SCREEN?", "RESET", "\\x19", "SUSPEND,OFF"}));
    }
}

TEST_F(CaptureSim, ASilentInstrumentAndAShortColourLineFail)
{
    struct failure_case {
        std::vector<std::string> args;
        bool colour;
    };
    const failure_case cases[] = {
        {{"--silent"}, false},
        {{"--silent"}, true},
        {{"--screen-short-line", "9"}, true},
    };
    for (const failure_case& c : cases) {
        SCOPED_TRACE(c.args[0] + (c.colour ? " colour" : " mono"));
        start(c.args, c.args[0] != "--silent");
        const restored_link_timeout timeout(conn.get());
        link_set_timeout(conn.get(), 300);
        prompt.messages.clear();
        EXPECT_FALSE(download(c.colour));
        ASSERT_EQ(prompt.messages.size(), 1u);
        EXPECT_EQ(prompt.messages[0].text, CAPTURE_COMMUNICATION_ERROR_TEXT);
        EXPECT_FALSE(capture->valid);
        const std::vector<std::string> traffic = download_traffic();
        EXPECT_EQ(traffic.back(), "SUSPEND,OFF");
        EXPECT_EQ(std::count(traffic.begin(), traffic.end(), "RESET"), c.colour ? 1 : 2);
    }
}

TEST_F(CaptureSim, NothingIsAskedForWhileNoInstrumentIsConnected)
{
    start({});
    conn->connected = 0;
    EXPECT_FALSE(download(false));
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0].text, CAPTURE_COMMUNICATION_ERROR_TEXT);
    EXPECT_EQ(download_traffic(), (std::vector<std::string>{"RESET", "SUSPEND,ON", "SUSPEND,OFF"}));
}

}  // namespace
