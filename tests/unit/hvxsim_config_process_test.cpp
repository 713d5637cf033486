// The simulator's configuration over loopback TCP, as the program reaches
// it: state and knob counts that outlive connections, a mode command on a
// link closed right after it, and a whole bulk read sent in one burst.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "support/sim_process.h"

namespace {

using namespace std::chrono_literals;
using namespace std::string_literals;

// One command as a TCP client sends it: the line, LF and a NUL.
std::string wire(const std::string& line)
{
    return line + "\n" + std::string(1, '\0');
}

// Sends everything, ends the input and returns all the simulator wrote
// before closing (it closes only after its queued replies are out).
std::string conversation(const sim_process& sim, const std::string& bytes)
{
    sim_client client(sim.address(), sim.port());
    client.send(bytes);
    client.shutdown_send();
    return client.read_until("\x01\x02 never", 10s);
}

bool any_contains(const std::vector<std::string>& records, const std::string& part)
{
    for (const auto& r : records) {
        if (r.find(part) != std::string::npos)
            return true;
    }
    return false;
}

TEST(HvxsimConfigProcess, ValuesAndKnobCountsOutliveConnections)
{
    sim_process sim({"--instrument", "hvxc", "--set", "48=2500", "--reject-write", "49:1"}, "127.0.0.140");
    {
        sim_client client(sim.address(), sim.port());
        client.send("\x14\0"s + wire("SUSPEN,ON") + wire("*ESR?"));
        EXPECT_EQ(client.read_until("\r\n"), "0\r\n");
        client.send(wire("config,48?"));
        EXPECT_EQ(client.read_until("\r\n"), "2.5000E3\r\n");
        client.send(wire("config,49,2") + wire("*esr?"));
        EXPECT_EQ(client.read_until("\r\n"), "48\r\n");
    }
    EXPECT_EQ(conversation(sim, wire("config,49,2") + wire("*esr?") + wire("config,49?")), "0\r\n2.0000E0\r\n");
    // The mode command is never answered and the link closes right after.
    EXPECT_EQ(conversation(sim, wire("config,1,3;LCR")), "");
    EXPECT_EQ(conversation(sim, wire("config,1?") + wire("config,25?") + wire("config,26?")), "3\r\n2\r\n2\r\n");

    ASSERT_TRUE(sim.wait_for_transcript("tcp#4 CLOSE"));
    const auto notes = sim.notes();
    EXPECT_TRUE(any_contains(notes, "config 49 (Amplitude): write refused (--reject-write)")) << sim.transcript();
    EXPECT_TRUE(any_contains(notes, "config 1 (Operation Mode) = 3; 25 (Input) 1 -> 2; 26 (Input) 1 -> 2"))
        << sim.transcript();
}

TEST(HvxsimConfigProcess, ABurstOfQueriesIsAnsweredInFullBeforeTheLinkCloses)
{
    sim_process sim({"--instrument", "hvxa"}, "127.0.0.141");
    // Every family A parameter, highest first as a bulk read goes, then the
    // five unanswered resumes.
    const int numbers[] = {195, 194, 193, 192, 190, 188, 186, 181, 180, 179, 178, 177, 175, 174, 173, 152, 151,
                           150, 149, 148, 147, 145, 141, 140, 139, 138, 137, 133, 132, 131, 130, 127, 126, 125,
                           124, 123, 122, 121, 119, 117, 116, 103, 102, 101, 100, 99,  96,  95,  83,  66,  65,
                           64,  59,  58,  57,  56,  55,  54,  53,  52,  51,  50,  49,  48,  39,  38,  37,  36,
                           35,  34,  33,  32,  31,  30,  29,  28,  27,  26,  25,  24,  23,  22,  21,  20,  19,
                           18,  16,  15,  14,  13,  12,  11,  9,   8,   7,   6,   5,   4,   3,   2,   1};
    std::string burst = wire("SUSPEN,ON") + wire("*ESR?");
    for (int n : numbers)
        burst += wire("config," + std::to_string(n) + "?");
    for (int i = 0; i < 5; ++i)
        burst += wire("SUSPEN,OFF");

    std::istringstream reply(conversation(sim, burst));
    std::vector<std::string> lines;
    for (std::string line; std::getline(reply, line);)
        lines.push_back(line);
    static_assert(std::size(numbers) == 101);
    ASSERT_EQ(lines.size(), 1 + std::size(numbers));
    EXPECT_EQ(lines.front(), "0\r");       // the suspend acknowledged
    EXPECT_EQ(lines[1], "0.0000E0\r");     // 195, lower limit
    EXPECT_EQ(lines[64], "1.0000E3\r");    // 48, frequency
    EXPECT_EQ(lines.back(), "1\r");        // 1, operation mode
}

}  // namespace
