// Runs this build's command-line tool (CORVEXA2_CLI_PATH) as a child process
// with the given words, standard input from nothing, its two outputs caught
// in files of a scratch folder, and waits for it to end.
#pragma once

#include <string>
#include <vector>

#include "support/temp_folder.h"

struct s_tool_run {
    int status = -1;  // the exit code; -1 when it could not start or did not exit normally
    std::string out;  // standard output, the CR of console line ends removed
    std::string err;  // standard error, likewise
};

class tool_runner {
public:
    s_tool_run run(const std::vector<std::string>& words);
    const temp_folder& scratch() const { return scratch_; }

private:
    temp_folder scratch_;
    int runs_ = 0;
};
