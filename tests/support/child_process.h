// Runs a program as a child process with the given words, standard input
// from the null device and each output into a file (the null device when no
// file is named), and waits for it to end. Shared by the tests that run the
// command-line tool and by the benchmarks that time it from start to exit.
#pragma once

#include <string>
#include <vector>

// The exit code; -1 when the program did not start or did not exit normally.
int run_child_process(const std::string& program, const std::vector<std::string>& words,
                      const char* out_path = nullptr, const char* err_path = nullptr);
