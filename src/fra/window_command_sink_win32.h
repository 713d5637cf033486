// command_sink for the window layer: each command a worker gives is posted
// to a window as WM_COMMAND (the command in the low word of wParam, lParam
// 0). Posted, never sent: a worker must not wait for the window's thread,
// which may itself be waiting for the worker.
#pragma once

#include <windows.h>

#include "fra/sweep_job.h"

class window_command_sink final : public command_sink {
public:
    // window may be nullptr: the commands are then dropped (a null window
    // would post them to the worker's own thread instead).
    explicit window_command_sink(HWND window) : window_(window) {}
    // Any thread.
    void post(int command) override;
    HWND window() const { return window_; }

private:
    HWND window_;
};
