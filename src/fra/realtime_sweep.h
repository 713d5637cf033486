// The real-time sweep: the program steps the generator itself through a
// logarithmic list of frequencies, one point worker per frequency, and the
// view takes each point as it arrives. FRA and LCR real-time sweeps share
// this engine; each says how it sets up its block and reads one point.
//
// The view drives it from its own thread: control(REALTIME_START) prepares
// the instrument and starts the first point; each point worker posts
// REALTIME_POINT_COMMAND (245) to the view when it ends, and the view
// answers with point_arrived(), which joins that worker, takes its point and
// starts the next. When the list is empty the sweep finishes (the generator
// is left as the request says). At most one point worker runs at a time.
//
// Pause and cancel both stop the current worker at its next look (it polls
// "DAV?" without a time-out otherwise) and join it; a point it had not
// finished is measured again on resume, so a pause never loses a frequency.
#pragma once

#include <atomic>
#include <deque>
#include <thread>
#include <vector>

#include "fra/sweep_job.h"
#include "fra/sweep_request.h"
#include "fra/sweep_worker_steps.h"

enum realtime_operation : int {
    REALTIME_START = 0,
    REALTIME_NEXT_POINT = 1,
    REALTIME_CANCEL = 2,
    REALTIME_JOIN = 3,
    REALTIME_PAUSE_RESUME = 4,
    REALTIME_FINISH = 5,
};

enum class realtime_phase {
    idle,       // not started
    running,    // a point is being measured, or the next is about to start
    paused,
    finished,   // every frequency measured; the generator was set as asked
    cancelled,  // cancelled (or a point could not be measured): no more points
    gave_up,    // the preparation refused (no link, datalog, step count)
};

// n frequencies from f1 to f2 in equal ratios: f1, f1 r, f1 r^2, ... with
// r = 10^(log10(f2 / f1) / (n - 1)); the last may differ from f2 by rounding.
// Empty when n < 2 or either frequency is not positive and finite.
std::vector<double> realtime_frequencies(int n, double f1, double f2);

// The view's first step of a real-time sweep: the generator output on
// (parameter 7), on a link opened for it. False when the link did not open
// or the write failed.
bool realtime_output_on(const s_sweep_context& context);

class realtime_sweep {
public:
    // mode is the measurement mode the instrument must be in (parameter 1).
    realtime_sweep(s_sweep_flags& flags, const s_sweep_context& context, const s_sweep_request& request, int mode);
    virtual ~realtime_sweep();
    realtime_sweep(const realtime_sweep&) = delete;
    realtime_sweep& operator=(const realtime_sweep&) = delete;

    // One of the view's operations (realtime_operation).
    void control(int operation);
    // The view's answer to 245: joins the worker that ended, takes a point it
    // read into the shown block, and starts the next one. True when a point
    // was added. A 245 that arrives after its worker was joined (by a pause
    // or a cancel) finds nothing and does nothing.
    bool point_arrived();

    realtime_phase phase() const { return phase_; }
    // The frequencies still to measure, front first.
    const std::deque<double>& frequencies() const { return list_; }
    // Call from the destructor of every derived class: a worker still running
    // is cancelled and joined before the derived parts it uses are gone.
    void end_worker();
    // The body of every point worker, on its own thread: open the link, set
    // the generator to f, measure_point, close the link, post 245 to the view.
    void run_point_worker(double f);

protected:
    // Starts the point worker for frequency f on a thread of its own (each
    // kind of sweep names its own worker, which calls run_point_worker).
    virtual std::thread launch_point_worker(double f) = 0;
    // With the link open after the set-up reads: fill the block header.
    virtual void prepare_block(const s_sweep_setup& setup) = 0;
    // After the list was built, before the first point (the FRA sweep sets
    // the generator to the first frequency).
    virtual void list_ready(double first) { (void)first; }
    // On the point worker's thread, with the link open and the generator on
    // frequency f: wait for the point and read it into the worker's buffer.
    // True when a whole point was read; false when stopped first.
    virtual bool measure_point(double f) = 0;
    // On the view's thread, after the worker was joined: the worker's point
    // into the shown block.
    virtual void take_point() = 0;
    // On the view's thread when the last point was taken and the generator set.
    virtual void finished() {}

    // Parameter 48 (the generator frequency) in "%0.4E" form, written on the
    // open link; false when the write failed.
    bool set_generator_frequency(double frequency);
    // The worker should leave: cancelled, or paused.
    bool stopped() const { return flags_.cancel || stop_; }
    // Polls "DAV?" (waiting 200 ms before every poll but the first) until
    // ready(status) holds; false when stopped first.
    bool wait_for_point(bool (*ready)(int status));
    void pause_between_reads();

    s_sweep_flags& flags_;
    s_sweep_context context_;
    s_sweep_request request_;

private:
    void start();
    void next_point();
    void cancel();
    void join();
    void pause_or_resume();
    void finish();
    bool prepare();
    // Joins an ended (or stopped) worker and takes its point; a worker that
    // was stopped before its point was whole gives its frequency back.
    bool collect_worker();

    int mode_;
    realtime_phase phase_ = realtime_phase::idle;
    std::deque<double> list_;
    std::thread worker_;
    double worker_frequency_ = 0;
    std::atomic<bool> stop_{false};
    std::atomic<bool> worker_done_{false};
    std::atomic<bool> point_ready_{false};
};
