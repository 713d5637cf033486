// The simulator as a separate process, reached the way the program reaches
// it: TCP on a loopback address and (POSIX) the pseudo-terminal. The
// Windows build runs the TCP cases against the Windows simulator.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/sim_process.h"
#include "support/temp_folder.h"

#ifndef _WIN32
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>
#endif

namespace {

using namespace std::chrono_literals;

const std::string hvxa_identity = "ZELVORIAN,HVXA1735,10234,2.17";
const std::string idn_tcp("*IDN?\n\0", 7);
const std::string reset_tcp("\x14\0", 2);

// Sends what the client has to say, ends its input and collects everything
// the simulator writes until it closes the connection. The simulator closes
// only after its queued replies are out, so "nothing came" is certain.
std::string conversation(const std::string& address, int port, const std::string& bytes)
{
    sim_client client(address, port);
    client.send(bytes);
    client.shutdown_send();
    return client.read_until("\x01\x02 never", 10s);
}

TEST(HvxsimProcess, AnswersOverTcpAndRecordsTheTranscript)
{
    sim_process sim({}, "127.0.0.40");
    EXPECT_EQ(sim.ready_line(), "hvxsim ready tcp=" + sim.address() + ":10001 serial=-");
    {
        sim_client client(sim.address(), sim.port());
        client.send(reset_tcp + idn_tcp);
        EXPECT_EQ(client.read_until("\r\n"), hvxa_identity + "\r\n");
        client.send("*idn?\r\n" + std::string(1, '\0') + "NOT A COMMAND\n" + std::string(1, '\0'));
        EXPECT_EQ(client.read_until("\r\n"), hvxa_identity + "\r\n");
    }
    ASSERT_TRUE(sim.wait_for_transcript("tcp#1 CLOSE"));
    EXPECT_EQ(sim.commands(), (std::vector<std::string>{"*IDN?", "*idn?", "NOT A COMMAND"}));
    EXPECT_EQ(sim.outputs(), (std::vector<std::string>{hvxa_identity + "\\r\\n", hvxa_identity + "\\r\\n"}));

    // Every record: seconds with three decimals, channel, event.
    const std::string text = sim.transcript();
    EXPECT_NE(text.find(" tcp#1 RESET\n"), std::string::npos);
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        const std::string line = text.substr(start, end - start);
        const auto dot = line.find('.');
        ASSERT_NE(dot, std::string::npos) << line;
        EXPECT_EQ(line.find(" tcp#1 "), dot + 4) << line;
    }
}

TEST(HvxsimProcess, StateSurvivesReconnectsAndClientsAreServedInTurn)
{
    sim_process sim({"--idn-from", "3", "--instrument", "hvxcm"}, "127.0.0.41");
    const std::string identity = "ZELVORIAN,HVXCM1740,12460,3.05";

    // Requests 1 and 2 go unanswered, request 3 (a new connection) is answered.
    EXPECT_EQ(conversation(sim.address(), sim.port(), reset_tcp + idn_tcp + idn_tcp), "");
    sim_client first(sim.address(), sim.port());
    first.send(idn_tcp);
    EXPECT_EQ(first.read_until("\r\n"), identity + "\r\n");

    // A second client waits until the first has gone.
    sim_client second(sim.address(), sim.port());
    second.send(idn_tcp);
    first.send(idn_tcp);
    EXPECT_EQ(first.read_until("\r\n"), identity + "\r\n");
    EXPECT_EQ(sim.transcript().find("tcp#3"), std::string::npos);
    first.shutdown_send();
    EXPECT_TRUE(first.wait_closed());
    EXPECT_EQ(second.read_until("\r\n"), identity + "\r\n");
    EXPECT_TRUE(sim.wait_for_transcript("tcp#3 OUT"));
}

TEST(HvxsimProcess, RefuseClosesEveryConnectionAtOnce)
{
    sim_process sim({"--refuse"}, "127.0.0.43");
    for (int i = 0; i < 2; ++i) {
        sim_client client(sim.address(), sim.port());
        EXPECT_TRUE(client.wait_closed());
    }
    EXPECT_TRUE(sim.wait_for_transcript("tcp#2 CLOSE"));
    EXPECT_TRUE(sim.commands().empty());
}

TEST(HvxsimProcess, BigReplyIsOneWriteAndBurstDeliversEveryLine)
{
    sim_process sim({"--big-reply", "BIG?=100000", "--burst", "sweep?=2000"}, "127.0.0.44");
    sim_client client(sim.address(), sim.port());

    client.send("BIG?\n" + std::string(1, '\0'));
    const std::string big = client.read_count(100002);
    ASSERT_EQ(big.size(), 100002u);
    EXPECT_TRUE(big.starts_with("000001:ABC"));
    EXPECT_EQ(big.find('\r'), 100000u);

    client.send("SWEEP?\n" + std::string(1, '\0'));
    const std::string burst = client.read_count(2000 * 72);
    ASSERT_EQ(burst.size(), 2000u * 72);
    for (std::size_t i = 0; i < 2000; ++i) {
        const std::string line = burst.substr(i * 72, 72);
        ASSERT_TRUE(line.ends_with("\r\n")) << i;
        ASSERT_EQ(std::stoul(line.substr(0, 6)), i + 1) << line;
    }
    client.shutdown_send();
    EXPECT_TRUE(client.wait_closed());
    const auto outputs = sim.outputs();
    ASSERT_EQ(outputs.size(), 2u);  // one write call each
    EXPECT_EQ(outputs[0].size(), 100000u + 4);  // with the escaped "\r\n"
}

TEST(HvxsimProcess, StreamRunsFlatOutUntilTheClientLeaves)
{
    sim_process sim({"--stream-ms", "0"}, "127.0.0.46");
    {
        sim_client client(sim.address(), sim.port());
        const std::string first = client.read_count(3 * 26);
        EXPECT_EQ(first.substr(0, 3 * 26), "1.00000E+00,-4.50000E+01\r\n"
                                           "2.00000E+00,-4.50000E+01\r\n"
                                           "3.00000E+00,-4.50000E+01\r\n");
    }  // closed mid-stream
    ASSERT_TRUE(sim.wait_for_transcript("tcp#1 CLOSE"));
    sim_client next(sim.address(), sim.port());
    next.send(idn_tcp);
    // The reply arrives between the lines of this connection's own stream.
    const std::string received = next.read_until(hvxa_identity + "\r\n");
    const auto at = received.find(hvxa_identity + "\r\n");
    ASSERT_NE(at, std::string::npos);
    EXPECT_TRUE(at == 0 || received[at - 1] == '\n') << received.substr(0, at);
}

TEST(HvxsimProcess, IdleClientIsDroppedAndTheNextOneServedWhileItWaitsForItsReply)
{
    // The reply delay is longer than the idle time: a client waiting for its
    // reply is not idle.
    sim_process sim({"--idle-timeout-s", "1", "--delay-ms", "1500"}, "127.0.0.170");
    sim_client idle(sim.address(), sim.port());
    sim_client next(sim.address(), sim.port());
    next.send(idn_tcp);
    EXPECT_EQ(next.read_until("\r\n"), hvxa_identity + "\r\n");
    EXPECT_TRUE(idle.wait_closed());
    // Idle again once its reply is out.
    EXPECT_TRUE(next.wait_closed());
    ASSERT_TRUE(sim.wait_for_transcript("tcp#2 CLOSE"));
    const std::string text = sim.transcript();
    const auto drop = text.find(" tcp#1 DROP idle\n");
    ASSERT_NE(drop, std::string::npos) << text;
    const auto after_drop = text.find('\n', drop) + 1;
    EXPECT_TRUE(text.substr(after_drop, text.find('\n', after_drop) - after_drop).ends_with(" tcp#1 CLOSE")) << text;
    EXPECT_LT(drop, text.find(" tcp#2 CONNECT "));
    EXPECT_LT(text.find(" tcp#2 OUT "), text.find(" tcp#2 DROP idle\n"));
}

TEST(HvxsimProcess, ClientThatTakesNoneOfItsRepliesIsDroppedAsNotReading)
{
    // 16 replies of 4 MB are more than the loopback buffers hold.
    sim_process sim({"--idle-timeout-s", "1", "--big-reply", "BIG?=4000000"}, "127.0.0.171");
    sim_client hog(sim.address(), sim.port());
    std::string requests;
    for (int i = 0; i < 16; ++i)
        requests += "BIG?\n" + std::string(1, '\0');
    hog.send(requests);
    EXPECT_EQ(conversation(sim.address(), sim.port(), idn_tcp), hvxa_identity + "\r\n");
    EXPECT_NE(sim.transcript().find(" tcp#1 DROP not-reading\n"), std::string::npos);
}

TEST(HvxsimProcess, FiftyClientsConnectingAtOnceAreAllServedInTheOrderTheyCame)
{
    sim_process sim({}, "127.0.0.172");
    // The first client holds the simulator while 49 more connect. Each
    // connect completes at once only if the listen queue has room for them
    // all; otherwise it waits until the simulator drops the first client
    // for idleness (30 s), whose own request then goes unanswered.
    sim_client first(sim.address(), sim.port());
    constexpr int clients = 50;
    std::vector<std::unique_ptr<sim_client>> queue;
    std::vector<std::string> expected_commands = {"client 1", "*IDN?"};
    for (int i = 2; i <= clients; ++i) {
        queue.push_back(std::make_unique<sim_client>(sim.address(), sim.port()));
        const std::string name = "client " + std::to_string(i);
        queue.back()->send(name + "\n" + std::string(1, '\0') + idn_tcp);
        queue.back()->shutdown_send();
        expected_commands.push_back(name);
        expected_commands.push_back("*IDN?");
    }
    first.send("client 1\n" + std::string(1, '\0') + idn_tcp);
    EXPECT_EQ(first.read_until("\r\n"), hvxa_identity + "\r\n");
    first.shutdown_send();
    EXPECT_TRUE(first.wait_closed());

    for (std::size_t i = 0; i < queue.size(); ++i)
        EXPECT_EQ(queue[i]->read_until("\x01\x02 never", 10s), hvxa_identity + "\r\n") << "client " << i + 2;
    ASSERT_TRUE(sim.wait_for_transcript("tcp#50 CLOSE"));
    EXPECT_EQ(sim.commands(), expected_commands);
}

TEST(HvxsimProcess, EndlessReplyRunsUntilTheClientLeavesAndOverlongLinesAreDiscarded)
{
    sim_process sim({"--endless-reply", "ENDLESS?"}, "127.0.0.173");
    {
        sim_client client(sim.address(), sim.port());
        client.send("ENDLESS?\n" + std::string(1, '\0'));
        constexpr std::size_t amount = 1 << 20;
        const std::string got = client.read_count(amount);
        ASSERT_GE(got.size(), amount);
        for (std::size_t i = 0; i < got.size(); ++i)
            ASSERT_EQ(got[i], static_cast<char>('A' + i % 26)) << i;
    }  // closed while it streams
    ASSERT_TRUE(sim.wait_for_transcript("tcp#1 CLOSE"));
    EXPECT_NE(sim.transcript().find("tcp#1 NOTE \"endless reply ended after "), std::string::npos);

    // Megabytes without a line end are discarded, not run and not kept.
    sim_client next(sim.address(), sim.port());
    next.send(std::string(2 << 20, 'x') + "\n" + idn_tcp);
    EXPECT_EQ(next.read_until("\r\n"), hvxa_identity + "\r\n");
    EXPECT_EQ(sim.commands(), (std::vector<std::string>{"ENDLESS?", "*IDN?"}));
    EXPECT_NE(sim.transcript().find("tcp#2 NOTE \"line longer than 65536 bytes"), std::string::npos);
}

TEST(HvxsimProcess, TrickledExactReplyCarriesNulAndHighBytesAndNoLineEnd)
{
    sim_process sim({"--exact-reply", "X?=AB\\x00\\x80\\xFF", "--trickle-ms", "5"}, "127.0.0.174");
    EXPECT_EQ(conversation(sim.address(), sim.port(), "X?\n" + std::string(1, '\0')), std::string("AB\0\x80\xFF", 5));
    EXPECT_EQ(sim.outputs(), (std::vector<std::string>{"A", "B", "\\0", "\\x80", "\\xFF"}));
}

TEST(HvxsimProcess, StartFailuresExitWithAMessage)
{
    sim_process holder({}, "127.0.0.47");
    struct failure_case {
        std::vector<std::string> args;
        std::string message;
    };
    std::vector<failure_case> cases = {
        {{}, "cannot listen on " + holder.address() + ":10001"},
        {{"--bogus"}, "unknown option \"--bogus\""},
        {{"--burst", "X"}, "expected CMD="},
    };
#ifdef _WIN32
    cases.push_back({{"--serial", "--port", "0"}, "not available in the Windows build"});
#endif
    for (const auto& c : cases) {
        try {
            sim_process failing(c.args, holder.address(), sim_process::address_choice::exactly);
            ADD_FAILURE() << "started with " << c.message;
        } catch (const std::runtime_error& e) {
            const std::string what = e.what();
            EXPECT_NE(what.find(c.message), std::string::npos) << what;
            EXPECT_NE(what.find("exit status 2"), std::string::npos) << what;
        }
    }
}

#ifndef _WIN32

// The pty slave as a client opens it: raw, no controlling terminal.
class serial_client {
public:
    explicit serial_client(const std::string& path) : fd_(::open(path.c_str(), O_RDWR | O_NOCTTY))
    {
        if (fd_ < 0)
            throw std::runtime_error("cannot open " + path);
        termios t{};
        ::tcgetattr(fd_, &t);
        ::cfmakeraw(&t);
        ::tcsetattr(fd_, TCSANOW, &t);
    }
    ~serial_client() { ::close(fd_); }
    serial_client(const serial_client&) = delete;
    serial_client& operator=(const serial_client&) = delete;

    void send(const std::string& bytes) { ASSERT_EQ(::write(fd_, bytes.data(), bytes.size()), ssize_t(bytes.size())); }

    std::string read_line()
    {
        std::string got;
        const auto give_up = std::chrono::steady_clock::now() + 10s;
        while (!got.ends_with("\n") && std::chrono::steady_clock::now() < give_up) {
            pollfd p{fd_, POLLIN, 0};
            char c;
            if (::poll(&p, 1, 100) > 0 && ::read(fd_, &c, 1) == 1)
                got += c;
        }
        return got;
    }

private:
    int fd_;
};

TEST(HvxsimProcess, SerialPortSurvivesClientsComingAndGoingAndSharesStateWithTcp)
{
    temp_folder folder;
    const std::string link = folder.file("com5");
    sim_process sim({"--serial-link", link, "--idn-from", "2"}, "127.0.0.49");
    ASSERT_FALSE(sim.serial_device().empty());
    EXPECT_EQ(sim.ready_line(), "hvxsim ready tcp=" + sim.address() + ":10001 serial=" + sim.serial_device());
    char target[256] = "";
    ASSERT_GT(::readlink(link.c_str(), target, sizeof target - 1), 0);
    EXPECT_EQ(std::string(target), sim.serial_device());

    // Port enumeration opens and closes the port without a word.
    for (int i = 0; i < 5; ++i)
        serial_client probe(link);

    // Request 1 over TCP is not answered; request 2 over serial is.
    EXPECT_EQ(conversation(sim.address(), sim.port(), idn_tcp), "");
    {
        serial_client port(link);
        port.send("\x14*ID");
        port.send("\x14*IDN?\n");
        EXPECT_EQ(port.read_line(), hvxa_identity + "\r\n");
    }
    serial_client again(link);
    again.send("*idn?\r\n");
    EXPECT_EQ(again.read_line(), hvxa_identity + "\r\n");

    EXPECT_TRUE(sim.wait_for_transcript("serial OUT"));
    EXPECT_EQ(sim.commands(), (std::vector<std::string>{"*IDN?", "*IDN?", "*idn?"}));
    EXPECT_NE(sim.transcript().find("serial RESET\n"), std::string::npos);
}

TEST(HvxsimProcess, StopsCleanlyOnSigtermAndRemovesItsLink)
{
    temp_folder folder;
    const std::string link = folder.file("com7");
    sim_process sim({"--serial-link", link, "--no-tcp"}, "127.0.0.48");
    EXPECT_EQ(sim.ready_line(), "hvxsim ready tcp=- serial=" + sim.serial_device());
    EXPECT_EQ(sim.stop(), 0);
    char target[256];
    EXPECT_LT(::readlink(link.c_str(), target, sizeof target), 0);
}

#endif

}  // namespace
