// The impedance views' real-time sweep: points read with "lcr?" at each
// frequency once "DAV?" says anything is ready, each turned into the next
// point of the shown LCR block by its reading kind. No database save.
#pragma once

#include <memory>

#include "fra/realtime_sweep.h"
#include "impedance/lcr_sweep_worker.h"

class lcr_realtime_sweep final : public realtime_sweep {
public:
    lcr_realtime_sweep(s_lcr_sweep_job& job, const s_sweep_context& context, const s_sweep_request& request);
    ~lcr_realtime_sweep() override;

    // The points taken so far and the layout their kind gave.
    const s_lcr_sweep& shown() const { return *shown_; }
    s_lcr_sweep& shown() { return *shown_; }  // the view stamps it when it writes its file
    int shown_layout() const { return shown_layout_; }

private:
    std::thread launch_point_worker(double f) override;
    void prepare_block(const s_sweep_setup& setup) override;
    bool measure_point(double f) override;
    void take_point() override;

    s_lcr_sweep_job& job_;
    std::unique_ptr<s_lcr_sweep> shown_ = make_lcr_sweep();
    int shown_layout_ = 3;
    double reading_[LCR_READING_VALUES] = {};  // the worker's until it is joined
};

// One real-time point at frequency f, on the point worker's thread.
void lcr_point_worker(lcr_realtime_sweep& sweep, double f);

// The views' real-time operations (REALTIME_START ... REALTIME_FINISH).
void lcr_realtime_control(lcr_realtime_sweep& sweep, int operation);

// The impedance views' live reading: "lcr?" into job.reading; a reading of
// a known kind sets lcr_reading_kind(), posts LCR_RESULTS_REDRAW_COMMAND (with
// value 1) to the job's results window and LCR_LIVE_READING_COMMAND to its
// owner; any other count asks again. Instruments other than types 7 and 9
// are asked once and then left alone.
void lcr_live_worker(s_lcr_sweep_job& job, const s_sweep_context& context);
