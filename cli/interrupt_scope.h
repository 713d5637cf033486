// Ctrl+C while a measurement runs: the tool's Cancel button. While a scope
// lives, SIGINT sets its flag (and the job's cancel flag, when given) instead
// of ending the process; the previous handler comes back with the scope.
#pragma once

#include <atomic>

class interrupt_scope {
public:
    explicit interrupt_scope(std::atomic<bool>* cancel = nullptr);
    ~interrupt_scope();
    interrupt_scope(const interrupt_scope&) = delete;
    interrupt_scope& operator=(const interrupt_scope&) = delete;

    // Whether Ctrl+C was pressed since the scope began.
    static bool interrupted();
};
