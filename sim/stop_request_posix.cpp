#include "sim/stop_request.h"

#include <csignal>
#include <pthread.h>

namespace hvxsim {

namespace {

sigset_t stop_signals()
{
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGINT);
    return set;
}

}  // namespace

void prepare_stop_request()
{
    // Threads inherit the mask, so only sigwait below sees the signals.
    const sigset_t set = stop_signals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    // A client that vanishes mid-write must not kill the simulator.
    std::signal(SIGPIPE, SIG_IGN);
}

void wait_for_stop_request()
{
    const sigset_t set = stop_signals();
    int signal_number = 0;
    while (sigwait(&set, &signal_number) != 0) {
    }
}

}  // namespace hvxsim
