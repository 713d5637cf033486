// An in-process simulator's state from its command-line words, as hvxsim
// sets itself up: options, configuration, measurement, screen. A word it refuses
// fails the test that gave it.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/config_setup.h"
#include "sim/screen_setup.h"
#include "sim/instrument_state.h"
#include "sim/sim_options.h"
#include "sim/sweep_setup.h"

inline hvxsim::instrument_state sim_state_from_words(const std::vector<std::string>& words)
{
    hvxsim::sim_options options;
    std::string error;
    EXPECT_TRUE(hvxsim::parse_options(words, options, error)) << error;
    hvxsim::instrument_state state;
    EXPECT_TRUE(hvxsim::set_up_configuration(options, state, error)) << error;
    hvxsim::set_up_measurement(options, state);
    EXPECT_TRUE(hvxsim::set_up_screen(options, state, error)) << error;
    return state;
}
