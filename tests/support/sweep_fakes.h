// Stand-ins for the sweep workers' surroundings: a scripted instrument for
// the fake link, reply lines in the instrument's number form, and recorders
// for the progress window's commands and a view's commands.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/progress_reporter.h"
#include "config/instrument_config.h"
#include "fra/sweep_job.h"
#include <gtest/gtest.h>

#include "link/connection.h"
#include "support/fake_link.h"
#include "support/recording_prompt.h"

// The parameters a sweep reads and writes.
class sweep_model : public instrument_config {
public:
    sweep_model()
    {
        define_choice_param(nullptr, 1, 0, 6, 1, {"M0", "FRA", "M2", "LCR", "M4", "M5", "M6"});
        define_choice_param(nullptr, 6, 0, 2, 0, {"-180 to 180", "0 to -360", "0 to 360"});
        define_choice_param(nullptr, 18, 0, 5000, 100, {});
        define_choice_param(nullptr, 58, 0, 2, 0, {"Disabled", "On", "Auto"});
        define_choice_param(nullptr, 84, 0, 1, 0, {"Off", "On"});
        define_choice_param(nullptr, 137, 0, 4, 0, {"Q0", "Q1", "Q2", "Impedance", "Admittance"});
        define_choice_param(nullptr, 138, 0, 1, 0, {"Series", "Parallel"});
        define_choice_param(nullptr, 7, 0, 1, 1, {"Off", "On"});
        define_real_param(nullptr, 19, 0.001, 1e6, "1.0000E+001");
        define_real_param(nullptr, 20, 0.001, 1e6, "1.0000E+003");
        define_real_param(nullptr, 48, 0.001, 1e6, "1.0000E+003");
        define_choice_param(nullptr, 25, 0, 3, 2, {"R0", "R1", "R2", "R3"});
        define_real_param(nullptr, 37, 0, 100, "2.5");
        define_real_param(nullptr, 40, 0, 100, "0.8");
    }
};

// An instrument that answers the configuration queries from its table,
// holds writes, says "data ready" after a number of polls, and answers
// either download with the lines it is given.
struct scripted_instrument {
    std::map<int, std::string> config = {{1, "1"}, {6, "0"}, {18, "3"}, {58, "0"}, {84, "0"}, {137, "0"}};
    int polls_before_ready = 1;
    int ready_status = 4;  // what "DAV?" says once ready
    std::vector<std::string> sweep_lines;
    // The reply to a reading ("fra?", "*wai;fra?", "lcr?"), given the
    // generator frequency the instrument was last set to (parameter 48).
    std::function<std::string(double generator)> reading;
    std::function<void(const std::string&)> on_line;  // sees every line first
    std::vector<int> refused_writes;  // parameters whose writes the status check refuses
    int polls = 0;
    bool last_write_refused = false;

    std::string answer(const std::string& line)
    {
        if (on_line) {
            on_line(line);
        }
        int number = 0;
        char tail = 0;
        if (std::sscanf(line.c_str(), "config,%d%c", &number, &tail) == 2 && tail == '?') {
            auto found = config.find(number);
            return found == config.end() ? "" : found->second + "\r\n";
        }
        if (const auto comma = line.find(',', 7); line.rfind("config,", 0) == 0 && comma != std::string::npos) {
            const int id = std::stoi(line.substr(7, comma - 7));
            last_write_refused = std::find(refused_writes.begin(), refused_writes.end(), id) != refused_writes.end();
            if (!last_write_refused) {
                config[id] = line.substr(comma + 1);
            }
            return "";
        }
        if (line == "*esr?") {
            return last_write_refused ? "48\r\n" : "0\r\n";
        }
        if (line == "DAV?") {
            return ++polls > polls_before_ready ? std::to_string(ready_status) + "\r\n" : "0\r\n";
        }
        if (line == "fra?" || line == "*wai;fra?" || line == "lcr?") {
            return reading ? reading(std::atof(config[48].c_str())) + "\r\n" : "";
        }
        if (line == "gainph,sweep?" || line == "LCR,SWEEP?") {
            std::string all;
            for (const std::string& l : sweep_lines) {
                all += l + "\r\n";
            }
            return all;
        }
        return "";
    }
};

// "1.0000E+01,..." : n values in the instrument's exponent form, value i = base + i.
inline std::string point_line(double base, int values)
{
    std::string line;
    for (int i = 0; i < values; ++i) {
        char field[32];
        std::snprintf(field, sizeof field, "%.4E", base + i);
        line += (i ? "," : "") + std::string(field);
    }
    return line;
}

struct recorded_report {
    int command;
    std::intptr_t value;
    std::string text;
    bool operator==(const recorded_report&) const = default;
};

class recording_progress final : public progress_reporter {
public:
    void report(int command, std::intptr_t value, const char* text) override
    {
        reports.push_back({command, value, text ? text : ""});
    }
    int count(int command) const
    {
        int n = 0;
        for (const recorded_report& r : reports) {
            n += r.command == command;
        }
        return n;
    }
    std::vector<recorded_report> reports;
};

// A window that notes each command and whether the link was still open then.
class recording_view final : public command_sink {
public:
    explicit recording_view(const fake_tcp& tcp) : tcp_(tcp) {}
    void post(int command) override
    {
        commands.push_back(command);
        link_open_when_posted = link_open_when_posted || tcp_.is_open;
    }
    std::vector<int> commands;
    bool link_open_when_posted = false;

private:
    const fake_tcp& tcp_;
};


// A sweep worker's world on the fake link: the scripted instrument answering
// over TCP, the model, the recorders, the job of type Job (its view set) and
// the context that ties them together. The cases' set-ups reach into it.
template <typename Job>
class sweep_worker_fixture : public ::testing::Test {
public:
    void SetUp() override
    {
        conn.interface = LINK_LAN;
        connection_set_ip_address(&conn, "127.0.0.1");
        answer_from_instrument();
        job.view = &view;
        context.connection = &conn;
        context.config = &model;
        context.progress = &progress;
        context.prompt = &prompt;
    }
    // The instrument answers every line sent (again after a wire reset).
    void answer_from_instrument()
    {
        fake.tcp.wire.respond = [this](const std::string& line) { return instrument.answer(line); };
    }
    // The lines sent after the open's reset byte, without the reset bytes.
    std::vector<std::string> traffic() const
    {
        std::vector<std::string> lines;
        for (const std::string& line : fake.tcp.wire.sent_lines) {
            if (line != std::string(1, LINK_RESET_BYTE)) {
                lines.push_back(line);
            }
        }
        return lines;
    }

    fake_link_backend fake;
    scripted_instrument instrument;
    s_connection conn;
    sweep_model model;
    recording_progress progress;
    recording_prompt prompt;
    recording_view view{fake.tcp};
    Job job;
    s_sweep_context context;
};
