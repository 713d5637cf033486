// The model's transfers (read_param, write_param, read_all, write_all) and
// the mode commands, with a small model and a small name table against a
// scripted instrument on the fake link: the traffic, what the model holds
// afterwards, the log lines and the messages.
#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <deque>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/debug_output.h"
#include "app/progress_reporter.h"
#include "config/config_transfer.h"
#include "config/instrument_config.h"
#include "link/comms_log.h"
#include "link/connection.h"
#include "support/fake_link.h"
#include "support/memory_log_environment.h"
#include "support/recording_prompt.h"

namespace {

const std::string R(1, LINK_RESET_BYTE);
const std::string NONE = "<no reply>";

// A few parameters of each sort: a mode (1), choices (5; 30 translated by a
// table; 25 translated by the mode), reals with both limits (12), none (20)
// and a lower limit only (21), a plain integer (40) and ones the name table
// does not name (60; 38 a number format). 50 is named but left undefined.
class small_model : public instrument_config {
public:
    explicit small_model(bool logs_to_debug = false) : logs_to_debug_(logs_to_debug)
    {
        define_choice_param(nullptr, 1, 0, 6, 1, {"M0", "FRA", "M2", "LCR", "M4", "M5", "M6"});
        define_choice_param(nullptr, 5, 0, 1, 0, {"Off", "On"});
        define_real_param(nullptr, 12, 0.01, 100, "1.0000E0");
        define_real_param(nullptr, 20, CONFIG_NO_LIMIT, CONFIG_NO_LIMIT, "");
        define_real_param(nullptr, 21, 0, CONFIG_NO_LIMIT, "5");
        define_choice_param(nullptr, 25, 0, 4, 0, {"Disabled", "Input 1", "Input 2"});
        define_choice_param(nullptr, 30, 0, 7, 0, {"A", "B", "C", "D", "E", "F"});
        define_choice_param(nullptr, 40, 2, 2000, 100, {});
        define_choice_param(nullptr, 60, 0, 1, 0, {"No", "Yes"});
        define_choice_param(nullptr, 38, 0, 2, 0, {"Normal", "High", "Binary"});
    }
    bool write_param(int id, s_connection* conn, bool quiet) override
    {
        return write_param_with(id, conn, quiet, !logs_to_debug_);
    }
    void read_param(int id, s_connection* conn, bool quiet, s_config_param* target = nullptr) override
    {
        read_param_with(id, conn, quiet, target, !logs_to_debug_);
    }
    // 30: the instrument numbers options 4 and 5 as 6 and 7. 25: in mode 3
    // the instrument counts two more.
    int to_instrument_value(int id, int v, const s_translation_context& context) const override
    {
        if (id == 30) {
            return v == 4 ? 6 : v == 5 ? 7 : v;
        }
        return id == 25 && context.mode == 3 ? v + 2 : v;
    }
    int to_program_value(int id, int v, const s_translation_context& context) const override
    {
        if (id == 30) {
            return v == 6 ? 4 : v == 7 ? 5 : v;
        }
        return id == 25 && context.mode == 3 ? v - 2 : v;
    }
    bool translation_depends_on_mode(int id) const override { return id == 25; }

private:
    bool logs_to_debug_;
};

std::array<const char*, 256> make_names()
{
    std::array<const char*, 256> names;
    names.fill("Unused");
    names[1] = "Operation Mode";
    names[5] = "Beep";
    names[12] = "Window";
    names[20] = "Start";
    names[21] = "Level";
    names[25] = "Input";
    names[30] = "Coupling";
    names[40] = "Steps";
    names[50] = "Spare";
    return names;
}
const std::array<const char*, 256> names = make_names();

// The instrument side: values in its own numbering, as it sends them.
class small_instrument {
public:
    std::map<int, std::string> values{{1, "1"},  {5, "0"},  {12, "1.0000E0"}, {20, "1.0000E3"}, {21, "5"},
                                      {25, "2"}, {30, "6"}, {40, "100"},      {50, "abc"},      {60, "1"}};
    std::map<int, std::deque<std::string>> query_faults;  // replies given instead, in order
    std::map<int, int> refused_writes;                    // writes answered with ESR 33
    std::string suspend_status = "0";
    std::vector<int> query_timeouts;  // the link timeout at each query

    std::string operator()(const std::string& line)
    {
        if (line == "*ESR?") {
            return suspend_status + "\r\n";
        }
        if (line == "*esr?") {
            return std::to_string(esr_) + "\r\n";
        }
        if (line.rfind("config,", 0) != 0) {
            return "";
        }
        const std::string rest = line.substr(7);
        const int number = std::atoi(rest.c_str());
        if (rest.back() == '?') {
            query_timeouts.push_back(link_tcp_timeout_ms());
            std::deque<std::string>& faults = query_faults[number];
            if (!faults.empty()) {
                const std::string reply = faults.front();
                faults.pop_front();
                return reply == NONE ? "" : reply + "\r\n";
            }
            return values.count(number) ? values[number] + "\r\n" : "";
        }
        std::string value = rest.substr(rest.find(',') + 1);
        value = value.substr(0, value.find(';'));  // a mode command's display word
        if (refused_writes[number] > 0) {
            --refused_writes[number];
            esr_ = 33;
        } else {
            values[number] = value;
            esr_ = 0;
        }
        return "";
    }

private:
    int esr_ = 0;
};

std::vector<std::string> debug_lines;
void record_debug(const char* text)
{
    debug_lines.emplace_back(text);
}

class recording_progress final : public progress_reporter {
public:
    void report(int command, std::intptr_t value, const char* text) override
    {
        reports.push_back({command, value, text ? text : ""});
    }
    struct entry {
        int command;
        std::intptr_t value;
        std::string text;
        bool operator==(const entry&) const = default;
    };
    std::vector<entry> reports;
};

class ConfigTransferModel : public ::testing::Test {
protected:
    ConfigTransferModel() : scope(env), conn(std::make_unique<s_connection>())
    {
        comms_log_start_in_folder("/logs", true);
        debug_lines.clear();
        debug_output_redirect(record_debug);
        config_transfer_use_prompt(&prompt);
        conn->interface = LINK_LAN;
        connection_set_ip_address(conn.get(), "127.0.0.1");
        wire().respond = [this](const std::string& line) { return instrument(line); };
    }
    ~ConfigTransferModel() override
    {
        link_close(conn.get());
        config_transfer_use_prompt(nullptr);
        debug_output_redirect(nullptr);
    }

    fake_wire& wire() { return fake.tcp.wire; }
    // Opens the link and forgets the traffic so far.
    void open()
    {
        ASSERT_EQ(link_open(conn.get()), 0);
        wire().sent_lines.clear();
    }
    // The lines sent that start with prefix.
    std::vector<std::string> sent(const std::string& prefix = "") const
    {
        std::vector<std::string> out;
        for (const std::string& line : fake.tcp.wire.sent_lines) {
            if (line.rfind(prefix, 0) == 0) {
                out.push_back(line);
            }
        }
        return out;
    }
    // The comms log's own entries (not link traffic), without time stamps.
    std::vector<std::string> log_entries() const
    {
        std::vector<std::string> out;
        std::istringstream in(env.files.count(comms_log_path()) ? env.files.at(comms_log_path()) : "");
        for (std::string line; std::getline(in, line);) {
            if (line.rfind("[", 0) == 0 && line.find("[serial:") == std::string::npos &&
                line.find("LOG FILE OPENED") == std::string::npos) {
                out.push_back(line.substr(line.find("] ") + 2));
            }
        }
        return out;
    }
    // Whether the comms log has entry, from its first-th own entry on.
    bool logged(const std::string& entry, std::size_t first = 0) const
    {
        const std::vector<std::string> entries = log_entries();
        for (std::size_t i = first; i < entries.size(); ++i) {
            if (entries[i] == entry) {
                return true;
            }
        }
        return false;
    }
    bool read_all(bool open_link = true, progress_reporter* progress = nullptr)
    {
        return config_read_all_named(model, conn.get(), open_link, names.data(), progress);
    }
    void write_all() { config_write_all_named(model, conn.get(), true, names.data()); }

    memory_log_environment env;
    comms_log_scope scope;
    recording_prompt prompt;
    fake_link_backend fake;
    std::unique_ptr<s_connection> conn;
    small_instrument instrument;
    small_model model;
};

TEST_F(ConfigTransferModel, ReadParamStoresTheReplyInTheProgramsTerms)
{
    struct read_case {
        int id;
        const char* reply;
        const char* display;
        const char* logged;  // the value line
    };
    const read_case cases[] = {
        {12, "2.5000E1", "2.5000E1", "2.5000E1"},
        {12, "1234567890123456789012", "123456789012345678", "123456789012345678"},
        {30, "6", "E", "E"},       // instrument 6 is option 4
        {30, "3", "D", "D"},
        {40, "150", "150", "--"},  // a plain integer has no option name
        {50, "abc", "abc", "abc"}, // undefined: queried by its own number
    };
    for (bool model_logs_to_debug : {false, true}) {
        small_model m(model_logs_to_debug);
        for (const read_case& c : cases) {
            SCOPED_TRACE(std::to_string(c.id) + " " + c.reply + (model_logs_to_debug ? " (debug)" : ""));
            open();
            instrument.values[c.id] = c.reply;
            debug_lines.clear();
            const std::size_t entries = log_entries().size();
            m.read_param(c.id, conn.get(), true);
            EXPECT_EQ(m.get_display_string(c.id), c.display);
            EXPECT_EQ(sent(), std::vector<std::string>{"config," + std::to_string(c.id) + "?"});
            const std::string line = std::string(c.logged) + "\n";
            if (model_logs_to_debug) {
                EXPECT_EQ(debug_lines, std::vector<std::string>{line});
                EXPECT_EQ(log_entries().size(), entries);
            } else {
                EXPECT_EQ(log_entries().back(), c.logged);
            }
        }
    }
}

TEST_F(ConfigTransferModel, FailedReadKeepsTheValueAndClosesTheLinkItOpened)
{
    instrument.query_faults[12] = {NONE, NONE, NONE};
    instrument.values[5] = "9";  // above the limit 1
    const int connects = fake.tcp.connects;
    try {
        model.read_param(12, conn.get(), false);
        FAIL() << "no error";
    } catch (const config_transfer_error& error) {
        EXPECT_EQ(error.code(), 12);
    }
    EXPECT_STREQ(model.record(12)->value, "1.0000E0");
    EXPECT_EQ(fake.tcp.connects, connects + 1);
    EXPECT_FALSE(fake.tcp.is_open);
    EXPECT_EQ(conn->open, 0);

    try {
        model.read_param(5, conn.get(), false);
        FAIL() << "no error";
    } catch (const config_transfer_error& error) {
        EXPECT_EQ(error.id(), 5);
        EXPECT_EQ(error.ret(), 9);
    }
    EXPECT_EQ(model.get_value_int(5), 0);
}

TEST_F(ConfigTransferModel, IdsOutsideTheFirstBankAreNeverTransferred)
{
    for (int id : {-1, 256, 300, 500, 755}) {
        SCOPED_TRACE(id);
        model.set_value_int(id, 1);
        EXPECT_NO_THROW(model.read_param(id, conn.get(), false));
        EXPECT_FALSE(model.write_param(id, conn.get(), false));
    }
    EXPECT_EQ(fake.tcp.connects, 0);
    EXPECT_TRUE(wire().sent_lines.empty());
}

TEST_F(ConfigTransferModel, WriteParamSendsTheInstrumentsValueAndClearsChanged)
{
    struct write_case {
        int id;
        const char* value;  // set with set_value_text
        const char* sent;
        const char* logged;
    };
    const write_case cases[] = {
        {12, "2.5E1", "config,12,2.5E1", "2.5E1"},
        {30, "4", "config,30,6", "E"},
        {5, "1", "config,5,1", "On"},
        {40, "150", "config,40,150", "--"},
        {50, "7", "config,50,7", "7"},  // an undefined record, once it holds a text
    };
    for (const write_case& c : cases) {
        SCOPED_TRACE(c.id);
        open();
        model.set_value_text(c.id, c.value);
        EXPECT_TRUE(model.write_param(c.id, conn.get(), true));
        EXPECT_EQ(sent(), (std::vector<std::string>{c.sent, "*esr?"}));
        EXPECT_FALSE(model.record(c.id)->changed);
        EXPECT_FALSE(config_last_write_error());
        EXPECT_EQ(log_entries().back(), c.logged);
    }

    // The family models' write_param logs the value nowhere.
    small_model family(true);
    open();
    debug_lines.clear();
    const std::size_t entries = log_entries().size();
    family.set_value_text(5, "1");
    EXPECT_TRUE(family.write_param(5, conn.get(), true));
    EXPECT_TRUE(debug_lines.empty());
    EXPECT_EQ(log_entries().size(), entries);
}

TEST_F(ConfigTransferModel, WriteParamSendsNothingItCannotStand)
{
    struct refusal_case {
        int id;
        const char* value;  // nullptr: left as the model holds it
        config_write_refusal why;
    };
    const refusal_case cases[] = {
        {12, "1.0000E3", config_write_refusal::out_of_limits},
        {12, "1.0000E-3", config_write_refusal::out_of_limits},
        {5, "3", config_write_refusal::out_of_limits},
        {21, "-1", config_write_refusal::out_of_limits},
        {20, "", config_write_refusal::no_value},
        {50, nullptr, config_write_refusal::no_value},  // never the "not set" marker
        {38, "2", config_write_refusal::binary_format},  // within its limits, but never sent
    };
    for (const refusal_case& c : cases) {
        SCOPED_TRACE(c.id);
        open();
        if (c.value) {
            model.set_value_text(c.id, c.value);
        }
        EXPECT_EQ(config_check_writable(*model.record(c.id)), c.why);
        EXPECT_FALSE(model.write_param(c.id, conn.get(), true));
        EXPECT_TRUE(sent().empty());
        EXPECT_EQ(model.record(c.id)->changed, c.value != nullptr);
        EXPECT_FALSE(config_last_write_error());
    }
}

TEST_F(ConfigTransferModel, RefusedWriteKeepsChangedAndTellsTheCode)
{
    instrument.refused_writes[5] = 3;
    model.set_value_int(5, 1);
    EXPECT_FALSE(model.write_param(5, conn.get(), false));
    EXPECT_TRUE(model.record(5)->changed);
    ASSERT_TRUE(config_last_write_error());
    EXPECT_EQ(*config_last_write_error(), config_error_code(5, 33));
    EXPECT_EQ(config_write_error_text(*config_last_write_error()),
              "An error occurred writing the config to the Instrument \n(Id:5 ret:33)");
    EXPECT_FALSE(fake.tcp.is_open);
    EXPECT_EQ(conn->open, 0);

    EXPECT_TRUE(model.write_param(5, conn.get(), false));
    EXPECT_FALSE(config_last_write_error());
    EXPECT_FALSE(model.record(5)->changed);
    EXPECT_EQ(instrument.values[5], "1");
}

TEST_F(ConfigTransferModel, ReadAllMovesEveryNamedParameterWithTheInstrumentSuspended)
{
    instrument.values[12] = "2.0000E1";
    instrument.values[30] = "7";
    EXPECT_TRUE(read_all());
    const std::vector<std::string> expected = {
        R, R, "SUSPEN,ON", "*ESR?", "config,50?", "config,40?", "config,30?", "config,25?", "config,21?",
        "config,20?", "config,12?", "config,5?", "config,1?", "SUSPEN,OFF", "SUSPEN,OFF", "SUSPEN,OFF",
        "SUSPEN,OFF", "SUSPEN,OFF"};
    EXPECT_EQ(wire().sent_lines, expected);
    EXPECT_EQ(model.get_display_string(12), "2.0000E1");
    EXPECT_EQ(model.get_value_int(30), 5);
    EXPECT_EQ(model.get_display_string(50), "abc");
    EXPECT_EQ(conn->open, 0);
    EXPECT_EQ(instrument.query_timeouts, std::vector<int>(9, 300));
    EXPECT_EQ(link_tcp_timeout_ms(), LINK_DEFAULT_TIMEOUT_MS);
    EXPECT_TRUE(logged("Read::Spare (50)"));
    EXPECT_TRUE(logged("Read::Operation Mode (1)"));
    EXPECT_EQ(prompt.busy_changes, (std::vector<bool>{true, false}));
    EXPECT_TRUE(prompt.messages.empty());
}

TEST_F(ConfigTransferModel, ReadAllCarriesOnWhenTheInstrumentWillNotSuspend)
{
    instrument.suspend_status = "1";
    open();
    EXPECT_TRUE(read_all(false));
    EXPECT_EQ(sent("SUSPEN,ON").size(), 5u);
    EXPECT_EQ(sent("*ESR?").size(), 5u);
    EXPECT_EQ(sent("config,").size(), 9u);
    EXPECT_EQ(conn->open, 1);  // the caller's link stays open
}

TEST_F(ConfigTransferModel, ReadAllToleratesTwoErrorsAndStopsAtTheThird)
{
    instrument.query_faults[40] = {"-1", "-1", "-1"};
    instrument.query_faults[12] = {NONE, NONE, NONE};
    EXPECT_TRUE(read_all());
    ASSERT_EQ(prompt.messages.size(), 2u);
    EXPECT_EQ(prompt.messages[0].text,
              "An error occurred reading the config from the instrument \n(Id:40 [Steps] ret:65534)");
    EXPECT_EQ(prompt.messages[0].caption, "Read Instrument Setup");
    EXPECT_EQ(prompt.messages[0].icon, prompt_icon::warning);
    EXPECT_EQ(prompt.messages[1].text,
              "An error occurred reading the config from the instrument \n(Id:12 [Window] ret:0)");
    EXPECT_EQ(sent("config,1?").size(), 1u);

    prompt.messages.clear();
    wire().sent_lines.clear();
    instrument.query_faults[50] = {NONE, NONE, NONE};
    instrument.query_faults[40] = {"abc", "abc", "abc"};
    instrument.values[30] = "8";  // above the limit 7
    EXPECT_FALSE(read_all());
    ASSERT_EQ(prompt.messages.size(), 3u);
    EXPECT_EQ(prompt.messages[2].text,
              "An error occurred reading the config from the instrument \n(Id:30 [Coupling] ret:8)\n"
              "Too many read errors, stopping instrument config read");
    EXPECT_TRUE(sent("config,25?").empty());
    EXPECT_EQ(sent("SUSPEN,OFF").size(), 5u);
    EXPECT_EQ(conn->open, 0);
}

TEST_F(ConfigTransferModel, BulkTransfersNeedATableAndAnOpenLink)
{
    EXPECT_FALSE(config_read_all_named(model, conn.get(), true, nullptr));
    config_write_all_named(model, conn.get(), true, nullptr);
    EXPECT_EQ(fake.tcp.connects, 0);
    EXPECT_TRUE(prompt.messages.empty());

    EXPECT_FALSE(read_all(false));  // the caller was to open it, and did not
    fake.tcp.connect_ok = false;
    EXPECT_FALSE(read_all());
    write_all();
    EXPECT_TRUE(wire().sent_lines.empty());
    ASSERT_EQ(prompt.messages.size(), 3u);
    EXPECT_EQ(prompt.messages[1].text, "Failed to connect to IP address 127.0.0.1");
    EXPECT_EQ(prompt.messages[2].caption, "Read Instrument Setup");
}

TEST_F(ConfigTransferModel, ReadAllTranslatesModeDependentRepliesWithTheModeItReads)
{
    // The model still believes mode 1; the instrument is in mode 3, where
    // its input 4 is the program's 2. Parameter 25 comes before parameter 1.
    instrument.values[1] = "3";
    instrument.values[25] = "4";
    EXPECT_TRUE(read_all());
    EXPECT_EQ(model.get_value_int(1), 3);
    EXPECT_EQ(model.get_value_int(25), 2);
    EXPECT_EQ(sent("config,25?").size(), 1u);
}

TEST_F(ConfigTransferModel, ReadAllReportsItsProgress)
{
    recording_progress progress;
    EXPECT_TRUE(read_all(true, &progress));
    ASSERT_EQ(progress.reports.size(), 2u + 255u + 1u);
    EXPECT_EQ(progress.reports[0], (recording_progress::entry{PROGRESS_SET_TEXT, 0, "Reading Configuration from WXE"}));
    EXPECT_EQ(progress.reports[1], (recording_progress::entry{PROGRESS_SET_RANGE, 255, ""}));
    EXPECT_EQ(progress.reports[2], (recording_progress::entry{PROGRESS_SET_POSITION, 1, ""}));
    EXPECT_EQ(progress.reports[256], (recording_progress::entry{PROGRESS_SET_POSITION, 255, ""}));
    EXPECT_EQ(progress.reports.back().command, PROGRESS_DONE);
    EXPECT_TRUE(prompt.busy_changes.empty());  // a worker shows no wait cursor

    progress.reports.clear();
    for (int id : {50, 40, 30}) {
        instrument.query_faults[id] = {NONE, NONE, NONE};
    }
    EXPECT_FALSE(read_all(true, &progress));
    EXPECT_EQ(progress.reports[progress.reports.size() - 2],
              (recording_progress::entry{PROGRESS_SET_POSITION, 256 - 30, ""}));
    EXPECT_EQ(progress.reports.back().command, PROGRESS_FAILED);
}

TEST_F(ConfigTransferModel, WriteAllOnAMatchingModelOnlyReads)
{
    ASSERT_TRUE(read_all());
    wire().sent_lines.clear();
    instrument.values[20] = "1.0000e3";  // the same value in other letters
    write_all();
    EXPECT_EQ(sent("config,").size(), 9u);
    for (const std::string& line : sent("config,")) {
        EXPECT_EQ(line.back(), '?') << line;
    }
    EXPECT_EQ(sent("SUSPEN,OFF").size(), 5u);
    EXPECT_EQ(conn->open, 0);
}

TEST_F(ConfigTransferModel, WriteAllSendsChangedAndDifferingValues)
{
    ASSERT_TRUE(read_all());
    wire().sent_lines.clear();
    model.set_value_int(5, 1);             // changed by the user: written without a comparison read
    instrument.values[12] = "3.0000E1";   // changed behind the model's back: written back
    instrument.values[30] = "7";          // likewise, in the instrument's numbering
    const std::size_t first = log_entries().size();
    write_all();
    EXPECT_EQ(sent("config,5,"), std::vector<std::string>{"config,5,1"});
    EXPECT_TRUE(sent("config,5?").empty());
    EXPECT_EQ(sent("config,12"), (std::vector<std::string>{"config,12?", "config,12,1.0000E0"}));
    EXPECT_EQ(sent("config,30"), (std::vector<std::string>{"config,30?", "config,30,6"}));
    EXPECT_EQ(instrument.values[12], "1.0000E0");
    EXPECT_FALSE(model.record(5)->changed);
    EXPECT_TRUE(logged("Write::Beep (5)", first));
    EXPECT_FALSE(logged("Read::Beep (5)", first));
    EXPECT_TRUE(logged("Read::Window (12)", first));
    EXPECT_TRUE(logged("Write::Window (12)", first));
}

TEST_F(ConfigTransferModel, WriteAllGoesOnPastRefusedValuesAndLogsOnlyRealLimits)
{
    ASSERT_TRUE(read_all());
    wire().sent_lines.clear();
    model.set_value_text(12, "1.0000E3");  // above 100
    model.set_value_text(21, "-5");        // below a lower limit, no upper one
    model.set_value_int(5, 1);
    model.set_value_text(20, "");          // nothing to send
    model.set_value_int(50, 0);            // undefined, but now holding the text "0"
    instrument.refused_writes[5] = 3;
    instrument.values[50] = "zzz";
    write_all();
    EXPECT_TRUE(logged("Window (id:12 val:1.0000E3) can only be set between 0.01 and 1e+002"));
    for (const std::string& entry : log_entries()) {
        EXPECT_EQ(entry.find("Level (id"), std::string::npos) << entry;
        EXPECT_EQ(entry.find("Beep (id"), std::string::npos) << entry;
    }
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0].text, "An error occurred writing the config to the Instrument \n(Id:5 ret:33)");
    EXPECT_TRUE(sent("config,12,").empty());
    EXPECT_TRUE(sent("config,21,").empty());
    EXPECT_TRUE(sent("config,20,").empty());
    EXPECT_EQ(sent("config,50,"), std::vector<std::string>{"config,50,0"});
    EXPECT_EQ(sent("config,1?").size(), 1u);  // the loop went on after parameter 5
    EXPECT_TRUE(model.record(5)->changed);
}

TEST_F(ConfigTransferModel, WriteAllNeverSendsTheNotSetMarker)
{
    instrument.values[50] = "abc";
    write_all();
    EXPECT_EQ(sent("config,50"), std::vector<std::string>{"config,50?"});
    EXPECT_TRUE(prompt.messages.empty());
}

TEST_F(ConfigTransferModel, WriteAllStopsAtAFailedComparisonRead)
{
    instrument.query_faults[30] = {NONE, NONE, NONE};
    write_all();
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0].text,
              "An error occurred writing the config to the instrument \n(Id:30 [Coupling] ret:0)");
    EXPECT_TRUE(sent("config,25").empty());
    EXPECT_EQ(sent("SUSPEN,OFF").size(), 5u);
    EXPECT_EQ(conn->open, 0);
}

TEST_F(ConfigTransferModel, NoDriftAfterRepeatedReadsOfTheMode)
{
    instrument.values[1] = "3";
    instrument.values[25] = "3";
    ASSERT_TRUE(read_all());
    EXPECT_EQ(model.get_value_int(25), 1);
    open();
    for (int i = 0; i < 3; ++i) {
        model.read_param(1, conn.get(), true);
    }
    link_close(conn.get());
    wire().sent_lines.clear();
    write_all();
    for (const std::string& line : sent("config,")) {
        EXPECT_EQ(line.back(), '?') << line;
    }
    EXPECT_EQ(model.get_value_int(25), 1);
}

TEST_F(ConfigTransferModel, ModeCommandsSetTheModeAndLeaveTheLinkClosed)
{
    EXPECT_STREQ(config_mode_command(instrument_mode_view::fra), "config,1,1;FRA\n");
    EXPECT_TRUE(config_send_mode_command(conn.get(), instrument_mode_view::lcr));
    EXPECT_EQ(wire().sent_lines, (std::vector<std::string>{R, "config,1,3;LCR"}));
    EXPECT_EQ(instrument.values[1], "3");
    EXPECT_EQ(conn->open, 0);

    fake.tcp.connect_ok = false;
    wire().sent_lines.clear();
    EXPECT_FALSE(config_send_mode_command(conn.get(), instrument_mode_view::fra));
    EXPECT_TRUE(wire().sent_lines.empty());
}

}  // namespace
