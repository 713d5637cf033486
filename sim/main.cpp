// hvxsim: stands in for an HVX instrument on the far side of a TCP or
// serial link, for demos, training and end-to-end tests. See --help.
#include <cstdio>
#include <string>
#include <vector>

#include "sim/config_setup.h"
#include "sim/screen_setup.h"
#include "sim/sim_options.h"
#include "sim/simulator.h"
#include "sim/stop_request.h"

namespace {

constexpr int exit_error = 2;

int fail(const std::string& message)
{
    std::fprintf(stderr, "hvxsim: %s\n", message.c_str());
    return exit_error;
}

}  // namespace

int main(int argc, char** argv)
{
    hvxsim::prepare_stop_request();

    hvxsim::sim_options options;
    std::string error;
    if (!hvxsim::parse_options(std::vector<std::string>(argv + 1, argv + argc), options, error))
        return fail(error);
    if (options.help) {
        std::fputs(hvxsim::usage_text().c_str(), stdout);
        return 0;
    }
    if (options.list_config) {
        hvxsim::instrument_state state;
        if (!hvxsim::set_up_configuration(options, state, error))
            return fail(error);
        std::fputs(hvxsim::configuration_listing(options.instrument_key, state).c_str(), stdout);
        return 0;
    }

    if (!options.write_screen_path.empty() || !options.write_screen_mono_path.empty()) {
        hvxsim::instrument_state state;
        if (!hvxsim::set_up_screen(options, state, error) || !hvxsim::write_screen_files(options, state, error))
            return fail(error);
        return 0;
    }

    hvxsim::simulator sim;
    if (!sim.start(options, error))
        return fail(error);
    std::printf("%s\n", sim.ready_line().c_str());
    std::fflush(stdout);

    hvxsim::wait_for_stop_request();
    sim.stop();
    return 0;
}
