// The parameter layer against a scripted instrument on the fake link: what
// goes on the wire (queries, retries, reset bytes), the transfer error codes
// and how they split, and that every wait runs on the link clock.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "config/config_transfer.h"
#include "link/connection.h"
#include "support/fake_link.h"

namespace {

const std::string R(1, LINK_RESET_BYTE);  // a reset byte in the sent lines
const std::string NONE = "<no reply>";    // a scripted reply that never comes

// Replies per command line, taken in order; a line without (more) replies
// gets none. Each reply is sent as a line with CR LF.
class scripted_replies {
public:
    void add(const std::string& line, std::vector<std::string> replies)
    {
        for (std::string& r : replies) {
            replies_[line].push_back(std::move(r));
        }
    }
    std::string operator()(const std::string& line)
    {
        auto it = replies_.find(line);
        if (it == replies_.end() || it->second.empty()) {
            return "";
        }
        const std::string reply = it->second.front();
        it->second.pop_front();
        return reply == NONE ? "" : reply + "\r\n";
    }

private:
    std::map<std::string, std::deque<std::string>> replies_;
};

class ConfigTransferParams : public ::testing::Test {
protected:
    ConfigTransferParams() : conn(std::make_unique<s_connection>())
    {
        conn->interface = LINK_LAN;
        connection_set_ip_address(conn.get(), "127.0.0.1");
        link_open(conn.get());
        wire().sent_lines.clear();
        wire().respond = [this](const std::string& line) { return script(line); };
    }
    ~ConfigTransferParams() override { link_close(conn.get()); }

    fake_wire& wire() { return fake.tcp.wire; }
    const std::vector<std::string>& sent() { return wire().sent_lines; }

    // The code a failing call throws (or INT_MIN when it does not throw).
    template <typename F>
    std::int32_t code_of(F&& call)
    {
        try {
            call();
        } catch (const config_transfer_error& error) {
            return error.code();
        }
        return INT_MIN;
    }

    fake_link_backend fake;
    std::unique_ptr<s_connection> conn;
    scripted_replies script;
};

TEST(ConfigTransferErrorCode, ComposesWithoutOverflowAndSplitsArithmetically)
{
    struct code_case {
        int number;
        std::int64_t value;
        int id;
        int ret;
    };
    const code_case cases[] = {
        {12, 0, 12, 0},                              // missing reply
        {12, CONFIG_EMPTY_REPLY, 12, 65535},         // n - 0x10000
        {12, CONFIG_NON_NUMERIC_REPLY, 12, 65534},   // n - 0x20000
        {200, 33, 200, 33},                          // refused write
        {200, 40000, 200, 40000},                    // value << 16 leaves the int range
        {5, 70000, 5, 70000 & 0xFFFF},               // only the low 16 bits of the value show
        {255, INT_MAX, 255, 0xFFFF},
    };
    for (const code_case& c : cases) {
        SCOPED_TRACE(c.value);
        const std::int32_t code = config_error_code(c.number, c.value);
        EXPECT_EQ(config_error_id(code), c.id);
        EXPECT_EQ(config_error_ret(code), c.ret);
        const config_transfer_error error(code);
        EXPECT_EQ(error.code(), code);
        EXPECT_EQ(error.ret(), c.ret);
    }
    EXPECT_EQ(config_error_code(12, CONFIG_EMPTY_REPLY), 12 - 0x10000);
    EXPECT_EQ(config_error_code(12, CONFIG_NON_NUMERIC_REPLY), 12 - 0x20000);
}

TEST_F(ConfigTransferParams, TextQueryRetriesAfterResetAndKeepsTheCallersTextOnFailure)
{
    script.add("config,12?", {NONE, "", "1.2345E3"});  // nothing, an empty line, then the value
    char out[19] = "keep";
    config_query_text(12, out, sizeof out, conn.get());
    EXPECT_STREQ(out, "1.2345E3");
    EXPECT_EQ(sent(), (std::vector<std::string>{"config,12?", R, "config,12?", R, "config,12?"}));

    wire().sent_lines.clear();
    std::strcpy(out, "keep");
    EXPECT_EQ(code_of([&] { config_query_text(12, out, sizeof out, conn.get()); }), 12);
    EXPECT_STREQ(out, "keep");
    EXPECT_EQ(sent(), (std::vector<std::string>{"config,12?", R, "config,12?", R, "config,12?", R}));
}

TEST_F(ConfigTransferParams, TextQueryCutsTheReplyToTheDestination)
{
    script.add("config,7?", {"1234567890123456789012345"});
    char out[19];
    std::memset(out, 'x', sizeof out);
    config_query_text(7, out, sizeof out, conn.get());
    EXPECT_STREQ(out, "123456789012345678");
}

TEST_F(ConfigTransferParams, IntegerQueryCountsEmptyAndNonNumericRepliesTogether)
{
    struct int_case {
        std::vector<std::string> replies;
        int value;            // when it succeeds
        std::int32_t code;    // when it throws (INT_MIN: it succeeds)
        std::size_t queries;  // "config,30?" lines sent
    };
    const std::string nul("\0", 1);  // a line whose text is empty
    const int_case cases[] = {
        {{"5"}, 5, INT_MIN, 1},
        {{"12abc"}, 12, INT_MIN, 1},
        {{"99999999999"}, INT_MAX, INT_MIN, 1},
        {{"abc", "7"}, 7, INT_MIN, 2},
        {{"-1", " 1", "+1"}, 0, 30 - 0x20000, 3},  // a sign or a space is not a digit
        {{nul, nul, nul}, 0, 30 - 0x10000, 3},
        {{"abc", nul, "-1"}, 0, 30 - 0x20000, 3},  // the third failure decides the code
        {{"abc", "-1", nul}, 0, 30 - 0x10000, 3},
        {{"abc", NONE, NONE, NONE}, 0, 30, 4},      // a missing reply passes through at once
    };
    for (const int_case& c : cases) {
        SCOPED_TRACE(c.replies.front());
        wire().sent_lines.clear();
        script = scripted_replies();
        script.add("config,30?", c.replies);
        int value = -1;
        EXPECT_EQ(code_of([&] { value = config_query_int(30, conn.get()); }), c.code);
        if (c.code == INT_MIN) {
            EXPECT_EQ(value, c.value);
        }
        std::size_t queries = 0;
        for (const std::string& line : sent()) {
            queries += line == "config,30?";
        }
        EXPECT_EQ(queries, c.queries);
        // Every failed reply is followed by the reset byte.
        EXPECT_EQ(sent().size(), c.code == INT_MIN ? 2 * c.queries - 1 : 2 * c.queries);
    }
}

TEST_F(ConfigTransferParams, CheckedQueryRejectsAValueOutsideTheLimits)
{
    script.add("config,40?", {"6", "9", "40000"});
    EXPECT_EQ(config_query_int_checked(40, 0, 6, conn.get()), 6);
    EXPECT_EQ(code_of([&] { config_query_int_checked(40, 0, 6, conn.get()); }), config_error_code(40, 9));
    const std::int32_t code = code_of([&] { config_query_int_checked(40, 0, 6, conn.get()); });
    EXPECT_EQ(config_error_id(code), 40);
    EXPECT_EQ(config_error_ret(code), 40000);
    EXPECT_EQ(sent(), (std::vector<std::string>{"config,40?", "config,40?", R, "config,40?", R}));
}

TEST_F(ConfigTransferParams, WriteIsVerifiedThroughTheStatusRegister)
{
    struct write_case {
        std::vector<std::string> esr_replies;
        std::int32_t code;  // INT_MIN: accepted
        std::vector<std::string> traffic;
    };
    const std::string cmd = "config,12,1.5000E1";
    const write_case cases[] = {
        {{"0"}, INT_MIN, {cmd, "*esr?"}},
        {{"32"}, INT_MIN, {cmd, "*esr?"}},
        {{"33", NONE, "4"}, INT_MIN, {cmd, "*esr?", R, cmd, "*esr?", R, cmd, "*esr?"}},
        {{"33", "33", "200"}, config_error_code(12, 200 & 0x7F), {cmd, "*esr?", R, cmd, "*esr?", R, cmd, "*esr?"}},
        {{"", NONE, ""}, 12, {cmd, "*esr?", R, cmd, "*esr?", R, cmd, "*esr?"}},  // ret 0: nothing accepted
    };
    for (const write_case& c : cases) {
        SCOPED_TRACE(c.esr_replies.front());
        wire().sent_lines.clear();
        script = scripted_replies();
        script.add("*esr?", c.esr_replies);
        EXPECT_EQ(code_of([&] { config_send_text(12, "1.5000E1", conn.get()); }), c.code);
        EXPECT_EQ(sent(), c.traffic);
    }
}

TEST_F(ConfigTransferParams, WriteWaitsRunOnTheLinkClock)
{
    script.add("*esr?", {"0", "64", "0"});
    const std::uint64_t start = fake.clock.now;
    config_send_int(3, -2, conn.get());
    EXPECT_GE(fake.clock.now - start, 200u);  // the settle time before "*esr?"
    EXPECT_LT(fake.clock.now - start, 300u);

    const std::uint64_t retry = fake.clock.now;
    config_send_int(3, 4, conn.get());
    // 200 ms, then reset, 100 ms drain, resend, 500 ms and 200 ms again.
    EXPECT_GE(fake.clock.now - retry, 1000u);
    EXPECT_EQ(sent(), (std::vector<std::string>{"config,3,-2", "*esr?", "config,3,4", "*esr?", R, "config,3,4",
                                                "*esr?"}));
}

}  // namespace
