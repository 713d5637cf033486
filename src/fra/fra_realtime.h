// The FRA view's real-time sweep: points read with "fra?" at each frequency
// once both point-ready bits of "DAV?" are set, shown in a two-channel
// block of their own; saved as a test after the last point when the view
// saves to the database.
#pragma once

#include <memory>

#include "fra/realtime_sweep.h"

class fra_realtime_sweep final : public realtime_sweep {
public:
    fra_realtime_sweep(s_sweep_job& job, const s_sweep_context& context, const s_sweep_request& request);
    ~fra_realtime_sweep() override;

    // The points taken so far (the view's shown sweep).
    const s_fra_sweep& shown() const { return *shown_; }
    s_fra_sweep& shown() { return *shown_; }  // the view stamps it when it writes its file

private:
    std::thread launch_point_worker(double f) override;
    void prepare_block(const s_sweep_setup& setup) override;
    void list_ready(double first) override;
    bool measure_point(double f) override;
    void take_point() override;
    void finished() override;

    s_sweep_job& job_;
    std::unique_ptr<s_fra_sweep> shown_ = make_fra_sweep();
    s_fra_result point_{};  // the point being read, the worker's until it is joined
    bool third_channel_ = false;
};

// One real-time point at frequency f, on the point worker's thread.
void fra_point_worker(fra_realtime_sweep& sweep, double f);

// The view's real-time operations (REALTIME_START ... REALTIME_FINISH).
void fra_realtime_control(fra_realtime_sweep& sweep, int operation);
