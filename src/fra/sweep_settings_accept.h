// "Start Sweep" in a "Test Details" dialog: check the typed settings against
// the limits the configuration model holds now, show the messages of a
// refusal, and otherwise store everything and send the configuration to the
// instrument. The Win32 dialogs call this; it needs no window.
#pragma once

#include <cstdint>
#include <string>

#include "app/user_prompt.h"
#include "db/db_records.h"
#include "fra/sweep_request.h"
#include "fra/sweep_settings_validate.h"

class instrument_config;
struct s_connection;

// What the dialog needs from the views around it. The defaults look the
// session up in the open test database and drop the pending test.
class test_details_host {
public:
    virtual ~test_details_host() = default;
    // The number of the session whose name equals name (case ignored), 0
    // when there is none.
    virtual std::int64_t find_session(const std::string& name);
    // Takes the header of the database test the FRA view stores with the
    // sweep once it completes.
    virtual void set_pending_test(s_db_test&& test);
};

// What one dialog reads and updates. Every pointer but connection and
// cell9a_setup must be set.
struct s_test_details_target {
    test_details_variant variant = test_details_variant::fra;
    instrument_config* config = nullptr;  // the model in use (current_config)
    s_connection* connection = nullptr;   // written with write_all; null sends nothing
    s_sweep_request* request = nullptr;
    s_repeat_settings* repeat = nullptr;
    bool* cell9a_setup = nullptr;         // LCR: "Setup for CELL9A?"
};

// True when the settings were accepted: the configuration (in the model and
// the instrument), the request, the repeat settings and, for a FRA sweep
// saved to the database, the pending test are updated, and the dialog ends
// with texts.sweep_type. False after the refusal's messages have been shown:
// nothing was stored and the dialog stays open.
bool confirm_test_details(const s_test_details_target& target, const s_sweep_settings_texts& texts,
                          user_prompt& prompt, test_details_host& host);
