// Waiting for the request to end the simulator: SIGTERM or SIGINT on POSIX,
// Ctrl+C, Ctrl+Break or the console closing on Windows (where the process
// is otherwise simply killed).
#pragma once

namespace hvxsim {

// Call first in main, before any thread starts, so that the request reaches
// the waiting thread and no other.
void prepare_stop_request();

// Blocks until the request comes.
void wait_for_stop_request();

}  // namespace hvxsim
