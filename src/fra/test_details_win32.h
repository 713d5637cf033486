// The two modal "Test Details" dialogs: the FRA view's (which also collects
// where the sweep is stored in the test database) and the LCR, EIS and Piezo
// views'. They fill their fields from the configuration model, keep the
// visibility rules, and on "Start Sweep" hand the typed texts to
// confirm_test_details (sweep_settings_accept.h), which checks, stores and
// writes the configuration.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "fra/sweep_request.h"
#include "fra/sweep_settings_accept.h"

class instrument_config;
struct s_connection;
class user_prompt;

// What the dialogs need from features around them, with defaults for a
// program without them: the session lookup and pending test of
// test_details_host, plus the session list and the new-session dialog.
class test_details_dialog_host : public test_details_host {
public:
    // True while a test database is open ("Save Sweep to Database" is then
    // checked and enabled). Default: false.
    virtual bool database_open();
    // The session names for the session combo, in list order. Default: none.
    virtual std::vector<std::string> session_names();
    // Runs the "Session Details" dialog for a new session; true with the new
    // session's name when one was stored. Default: nothing, false.
    virtual bool create_session(HWND owner, std::string& name);
};

// Which view opens the LCR variant.
enum class lcr_test_origin { lcr, eis, piezo };

struct s_test_details_setup {
    instrument_config* config = nullptr;  // the model in use (current_config)
    s_connection* connection = nullptr;   // written with write_all; null sends nothing
    test_details_dialog_host* host = nullptr;  // null: the defaults
    user_prompt* prompt = nullptr;        // null: message boxes owned by the dialog
};

// Each returns -1 when the user cancels, else the chosen sweep type; only
// then are the request, the repeat settings, the configuration and the
// pending test (FRA) or cell9a_setup (LCR) updated.
int open_fra_test_details(HWND owner, s_sweep_request& request, s_repeat_settings& repeat,
                          const s_test_details_setup& setup);
// From the EIS or Piezo view only "Single Sweep" is offered; "Setup for
// CELL9A?" is shown only from the EIS view with a type-9 instrument.
int open_lcr_test_details(HWND owner, s_sweep_request& request, s_repeat_settings& repeat, lcr_test_origin origin,
                          int instrument_type, bool& cell9a_setup, const s_test_details_setup& setup);
