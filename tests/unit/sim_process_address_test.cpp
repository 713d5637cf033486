// Tests that listen on loopback never fail because something else holds
// their address: the simulator fixture and the refused endpoint move on to
// the next address, and a refused endpoint really refuses. Runs natively and,
// with the Windows simulator and Winsock, under Wine.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "link/connection.h"
#include "support/sim_process.h"

namespace {

const std::string idn_tcp("*IDN?\n\0", 7);

TEST(SimProcessAddress, SimulatorMovesOnFromAHeldAddressAndAnswersThere)
{
    refused_endpoint held("127.0.0.190", LINK_TCP_PORT);
    sim_process sim({}, held.address());
    EXPECT_NE(sim.address(), held.address());
    EXPECT_EQ(sim.ready_line(), "hvxsim ready tcp=" + sim.address() + ":10001 serial=-");
    sim_client client(sim.address(), sim.port());
    client.send(idn_tcp);
    EXPECT_EQ(client.read_until("\r\n"), "ZELVORIAN,HVXA1735,10234,2.17\r\n");
    EXPECT_EQ(sim.commands(), std::vector<std::string>{"*IDN?"});
}

TEST(SimProcessAddress, RefusedEndpointsRefuseAndNeverShareAnAddress)
{
    refused_endpoint first("127.0.0.190", LINK_TCP_PORT);
    refused_endpoint second(first.address(), LINK_TCP_PORT);
    EXPECT_NE(second.address(), first.address());
    for (const refused_endpoint* e : {&first, &second}) {
        SCOPED_TRACE(e->address());
        EXPECT_THROW(sim_client(e->address(), e->port()), std::runtime_error);
    }
}

}  // namespace
