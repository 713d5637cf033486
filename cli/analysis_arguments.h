// The words of the tool's analysis commands: sweep files named as they are,
// options that take one value ("--smoothing 5"), options that may be given
// several times ("--test 3 --test 4") and flags ("--open-loop").
#pragma once

#include <map>
#include <string>
#include <vector>

#include "cli_context.h"

struct s_analysis_option {
    const char* name;  // "--smoothing"
    bool takes_value;  // false for a flag
    bool repeatable;   // may be given more than once
};

struct s_analysis_words {
    std::vector<std::string> files;                           // the words that are not options
    std::map<std::string, std::vector<std::string>> values;  // option name -> its values, in order
    bool has(const char* option) const { return values.count(option) != 0; }
    // The one value of an option given once, "" when it was not given.
    std::string value(const char* option) const;
};

// Reads the command's words; false with a usage message printed and its exit
// status in status (an unknown option, a value missing, an option that is
// not repeatable given twice, more than max_files files).
bool parse_analysis_words(const cli_context& context, const std::vector<s_analysis_option>& options,
                          std::size_t max_files, s_analysis_words& words, int& status);
