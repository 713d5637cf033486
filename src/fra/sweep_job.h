// What a view shares with the workers that measure for it, and the ways the
// workers report without knowing about windows.
//
// A view owns its job and sets it up before each run (sinks, saving, the
// pending test). The workers run on threads of their own; the flags they
// share with the view are atomics, and a worker publishes the block (or a
// reading) before it posts the command that announces it, so the view that
// answers the command sees whole data. The Win32 layer adapts a sink to
// PostMessage(WM_COMMAND) on a window; the command-line tool to its terminal.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

#include "app/progress_reporter.h"
#include "db/db_records.h"
#include "fra/sweep_records.h"

class instrument_config;
class user_prompt;
struct s_connection;

// Where a worker's commands to a window go (one WM_COMMAND each).
class command_sink {
public:
    virtual ~command_sink() = default;
    // May be called from a worker thread.
    virtual void post(int command) = 0;
    // A command with a value (the message's other parameter); sinks that
    // have no use for the value take it as the bare command.
    virtual void post_value(int command, std::intptr_t value)
    {
        (void)value;
        post(command);
    }
};

// Commands the workers post to their view and owner.
inline constexpr int SWEEP_DOWNLOADED_COMMAND = 130;  // the block is complete
inline constexpr int LIVE_READING_COMMAND = 129;      // a new live reading
inline constexpr int REALTIME_POINT_COMMAND = 245;    // one real-time point read

// What every job shares with its workers, FRA or LCR.
struct s_sweep_flags {
    command_sink* owner = nullptr;  // live readings
    command_sink* view = nullptr;   // sweep downloaded, real-time points
    std::atomic<bool> running{false};
    std::atomic<bool> cancel{false};
    std::atomic<bool> download_failed{false};
    std::atomic<int> received{0};
};

struct s_sweep_job : s_sweep_flags {
    // The view's "save to the database" choice for this run, and the test
    // record to store the sweep as (the save worker keeps its own copy).
    bool save_to_database = false;
    s_db_test pending_test{};
    s_fra_result reading{};
    std::unique_ptr<s_fra_sweep> block = make_fra_sweep();
};

// Program-wide: 0 idle, 1 a measurement of the FRA view is active, 2 results
// of an impedance sweep or import are shown.
std::atomic<int>& activity_state();

// What a worker works through: the link and model it uses, where progress
// and the user's questions go. start_save runs the save worker on a thread
// of its own (the Win32 layer keeps the thread); when it is empty the sweep
// worker saves before it returns.
struct s_sweep_context {
    s_connection* connection = nullptr;
    instrument_config* config = nullptr;
    progress_reporter* progress = nullptr;
    user_prompt* prompt = nullptr;
    // The messages the view owns rather than the progress window (an
    // impedance sweep's download error); null: prompt.
    user_prompt* view_prompt = nullptr;
    std::function<void(s_sweep_job&)> start_save;
};

// The texts a sweep shows, exactly.
inline constexpr const char* SWEEP_NO_CONNECTION_TEXT =
    "Unable to establish a connection with the instrument, sweep cancelled";
inline constexpr const char* SWEEP_NO_CONNECTION_CAPTION = "No Connection";
inline constexpr const char* SWEEP_DATALOG_QUESTION =
    "Sweeps cannot be performed while the instrument is set to Datalog\n"
    "Datalogging will be disabled before the sweep, continue?";
inline constexpr const char* SWEEP_DATALOG_CAPTION = "Error: Datalog";
inline constexpr const char* SWEEP_WAITING_TEXT = "Waiting for sweep data...";
inline constexpr const char* SWEEP_DOWNLOADING_TEXT = "Downloading sweep data";
inline constexpr const char* SWEEP_CANCELLING_TEXT = "Cancelling sweep";
inline constexpr const char* SWEEP_SAVING_TEXT = "Saving to Database";

// Lines in a row that give no point, before the first point has arrived,
// after which a download gives up as failed (an instrument that answers
// with nothing usable would otherwise hold the link for ever).
inline constexpr int SWEEP_UNUSABLE_LINES_BEFORE_FIRST_POINT = 5;
