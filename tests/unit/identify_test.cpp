// Identification against a scripted instrument: accepted makers, the model
// rules and the fields they set, retries, messages and the comms log markers.
#include <gtest/gtest.h>

#include <string>

#include "link/comms_log.h"
#include "link/connection.h"
#include "link/identify.h"
#include "support/fake_link.h"
#include "support/memory_log_environment.h"
#include "support/recording_prompt.h"

namespace {

class Identify : public ::testing::Test {
protected:
    Identify() : scope(env)
    {
        conn.interface = LINK_LAN;
        connection_set_ip_address(&conn, "127.0.0.2");
    }
    void answer(const std::string& reply) { fake.tcp.wire.answer("*IDN?\n", reply + "\r\n"); }
    int idn_requests() const
    {
        int n = 0;
        for (std::size_t at = 0; (at = fake.tcp.wire.sent.find("*IDN?\n", at)) != std::string::npos; ++at) {
            ++n;
        }
        return n;
    }

    memory_log_environment env;
    comms_log_scope scope;
    fake_link_backend fake;
    recording_prompt prompt;
    s_connection conn;
};

TEST_F(Identify, ModelCodesGiveTypesAndTheirExtraFields)
{
    struct model_case {
        const char* reply;
        int type;
        int sub_model;
        int current_option;
    };
    const model_case cases[] = {
        {"ZELVORIAN,HVXCM2,20001,3.01", 9, 3, -1},
        {"ZELVORIAN,HVXC50,20002,3.01", 9, 2, -1},
        {"ZELVORIAN,HVXAB1735,10001,2.17", 7, -1, 0},
        {"ZELVORIAN,HVXA1735,10234,2.17", 7, -1, 2},
        {"ZELVORIAN,HVXB1735,10235,2.17", 7, -1, -1},
        {"ZELVORIAN,TRXA100,1,1.0", 10, -1, -1},
        {"OKTAVEN,TRXB200,1,1.0", 11, -1, -1},
        {"Quelvar,AXP3,1,1.0", 13, -1, -1},
        {"Quelvar,AXP5,1,1.0", 15, -1, -1},
        {"Quelvar,WXE5,1,1.0", 16, -1, -1},
        {"Quelvar,WXD1,1,1.0", 5, -1, -1},
        {"Quelvar,TQM interface,1,1.0", 3, -1, -1},
        {"Quelvar,QCAX-9,1,1.0", 12, -1, -1},
        {"ZELVORIAN,VOLMERQ,QLM7,1", 0, -1, -1},  // model code "VOLMERQ" has no rule
    };
    for (const model_case& c : cases) {
        SCOPED_TRACE(c.reply);
        s_connection record = conn;
        record.sub_model = -1;
        record.current_option = -1;
        fake.tcp.wire.reset();
        fake.tcp.wire.answer("*IDN?\n", std::string(c.reply) + "\r\n");
        const identify_result result = identify_connection(&record, prompt);
        EXPECT_EQ(result.identified, c.type != 0);
        EXPECT_EQ(record.instrument_type, c.type);
        EXPECT_EQ(record.sub_model, c.sub_model);
        EXPECT_EQ(record.current_option, c.current_option);
        EXPECT_EQ(record.open, 0);
        EXPECT_FALSE(fake.tcp.is_open);
        if (c.type != 0) {
            EXPECT_STREQ(record.identity, c.reply);
            EXPECT_EQ(result.message, std::string("The connection was successful\n") + c.reply);
        } else {
            EXPECT_STREQ(record.identity, "");
            EXPECT_EQ(result.message, "The connection failed");
        }
    }
}

TEST_F(Identify, AnInstrumentThatAnswersLateIsStillIdentified)
{
    comms_log_start_in_folder("/logs", true);
    // Silent for the first two requests (each read times out after 500 ms).
    fake.tcp.wire.answer("*IDN?\n*IDN?\n*IDN?\n", "ZELVORIAN,HVXA1735,10234,2.17\r\n");
    EXPECT_TRUE(identify_instrument(prompt, &conn));
    EXPECT_EQ(idn_requests(), 3);
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0].caption, "Test Connection");
    EXPECT_EQ(prompt.messages[0].icon, prompt_icon::information);
    EXPECT_EQ(prompt.busy_changes, (std::vector<bool>{true, false}));
    const std::string& log = env.files.at(comms_log_path());
    const auto count = [&](const std::string& what) {
        int n = 0;
        for (std::size_t at = 0; (at = log.find(what, at)) != std::string::npos; ++at) {
            ++n;
        }
        return n;
    };
    EXPECT_EQ(count(">>\t*IDN?\n"), 3);
    EXPECT_EQ(count("<<\t"), 3);
    EXPECT_NE(log.find("***\tCONNECTING\t***\n"), std::string::npos);
    EXPECT_NE(log.find("***\tCONNECTED\t***\n"), std::string::npos);
    EXPECT_NE(log.find("***\tIDENTIFIED: ZELVORIAN,HVXA1735,10234,2.17 (7)\t***\n"), std::string::npos);
    // The reset byte goes out after the open and once more before asking.
    EXPECT_EQ(count(">>\t\\024\n"), 2);
    EXPECT_EQ(link_tcp_timeout_ms(), LINK_DEFAULT_TIMEOUT_MS);
}

TEST_F(Identify, RejectedRepliesAndUnknownModels)
{
    comms_log_start_in_folder("/logs", true);
    answer("zelvorian,HVXA1735,10234,2.17");  // maker in the wrong case
    EXPECT_FALSE(identify_instrument(prompt, &conn));
    EXPECT_EQ(idn_requests(), 5);
    EXPECT_EQ(prompt.messages.back().text, "The connection failed");

    // An accepted maker with a model code no rule knows.
    fake.tcp.wire.reset();
    answer("ZELVORIAN,HVX9000,1,1");
    connection_set_identity(&conn, "ZELVORIAN,HVXA1735,10234,2.17");
    conn.instrument_type = 7;
    EXPECT_FALSE(identify_instrument(prompt, &conn));
    EXPECT_EQ(conn.instrument_type, 0);
    EXPECT_STREQ(conn.identity, "ZELVORIAN,HVXA1735,10234,2.17");
    EXPECT_EQ(prompt.messages.back().text, "The connection failed");
    EXPECT_NE(env.files.at(comms_log_path()).find("***\tUNIDENTIFIED INSTRUMENT\t***\n"),
              std::string::npos);

    // Test pressed after an earlier Connect: the type is still set.
    fake.tcp.wire.reset();
    answer("SOMEONE,ELSE,1,1");
    conn.instrument_type = 7;
    EXPECT_FALSE(identify_instrument(prompt, &conn));
    EXPECT_EQ(conn.instrument_type, 7);
    EXPECT_EQ(prompt.messages.back().text, "Incompatable instrument");
}

TEST_F(Identify, LinksThatCannotOpen)
{
    conn.interface = LINK_NONE;
    EXPECT_FALSE(identify_instrument(prompt, &conn));
    EXPECT_TRUE(prompt.messages.empty());
    EXPECT_EQ(fake.tcp.connects, 0);

    conn.interface = LINK_LAN;
    fake.tcp.connect_ok = false;
    EXPECT_FALSE(identify_instrument(prompt, &conn));
    EXPECT_EQ(prompt.messages.back().text, "Failed to connect to IP address 127.0.0.2");

    conn.interface = LINK_USB;
    connection_set_com_port(&conn, "COM12");
    fake.serial.open_ok = false;
    EXPECT_FALSE(identify_instrument(prompt, &conn));
    EXPECT_EQ(prompt.messages.back().text, "Unable to open port COM12");
    EXPECT_EQ(prompt.messages.back().caption, "Test Connection");
}

TEST_F(Identify, BareLineFeedOverSerialStaysInTheIdentity)
{
    conn.interface = LINK_SERIAL;
    connection_set_com_port(&conn, "COM5");
    fake.serial.wire.answer("*IDN?\n", "ZELVORIAN,HVXC50,20002,3.01\n");
    EXPECT_TRUE(identify_instrument(prompt, &conn));
    EXPECT_STREQ(conn.identity, "ZELVORIAN,HVXC50,20002,3.01\n");
}

TEST(InstrumentTypeNames, KnownCodesOnly)
{
    EXPECT_STREQ(instrument_type_name(0), "Unknown");
    EXPECT_STREQ(instrument_type_name(7), "HVXA");
    EXPECT_STREQ(instrument_type_name(9), "HVXC");
    EXPECT_STREQ(instrument_type_name(13), "AXP1/AXP2/AXP3");
    EXPECT_STREQ(instrument_type_name(15), "AXP4/AXP5/AXP6");
    EXPECT_EQ(instrument_type_name(16), nullptr);
    EXPECT_EQ(instrument_type_name(-1), nullptr);
}

}  // namespace
