// The generator monitor thread: while an instrument is connected and no
// foreground operation uses the link, it holds the link open, reads the
// generator parameters into the monitor's configuration model once a second
// and hands a copy of them to a sink. Every foreground user of the link stops
// it first and starts it again afterwards, so the two never talk to the
// instrument at the same time.
//
// Ownership: the main window owns one s_monitor_thread for the program's
// lifetime and is the only caller of monitor_start and monitor_stop. The run
// flag is shared with the monitor thread (which clears it on a read error);
// the job's connection and model belong to the monitor thread from start to
// the return of stop.
#pragma once

#include <atomic>
#include <thread>

#include "config/monitor_display.h"

struct s_connection;
class instrument_config;

// Where each reading goes. show runs on the monitor thread with a copy of
// the values, so it may keep them; it must not wait for the thread that
// calls monitor_stop (the window layer posts the copy to its control, it
// never sends, or a stop that lands meanwhile would wait forever).
class monitor_sink {
public:
    virtual ~monitor_sink() = default;
    virtual void show(const s_monitor_values& values) = 0;
};

struct s_monitor_job {
    s_connection* connection = nullptr;   // the connection; the thread opens and closes its link
    instrument_config* config = nullptr;  // monitor_config
    monitor_sink* sink = nullptr;
};

struct s_monitor_thread {
    std::atomic<bool> run{false};
    std::thread thread;
    std::atomic<int> read_errors{0};  // transfer errors that ended a run (never shown)
};

inline constexpr int MONITOR_READ_INTERVAL_MS = 1000;
// The longest single wait between two looks at the run flag: a stop is seen
// within this (or within the parameter read under way).
inline constexpr int MONITOR_SLEEP_SLICE_MS = 20;
// The pause after a stop before the link's next user starts talking.
inline constexpr int MONITOR_STOP_PAUSE_MS = 50;

// Starts the thread; false (nothing done) when the job's connection has no
// instrument connected, the job is incomplete, or the thread runs already.
// A thread that ended by itself after a read error is joined first, and only
// then is the run flag set again, so the old thread can never see it set.
bool monitor_start(s_monitor_thread& monitor, const s_monitor_job& job);
// Clears the run flag, joins the thread (which closes the link before it
// ends) and pauses MONITOR_STOP_PAUSE_MS on the link clock. Once it returns
// the link is free. Harmless when nothing runs.
void monitor_stop(s_monitor_thread& monitor);
// Whether the thread is polling (false once a read error ended it).
bool monitor_running(const s_monitor_thread& monitor);
