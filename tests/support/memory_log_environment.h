// A comms log environment that keeps files in memory, with a settable clock,
// and a scope that installs it together with a clean logging state.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "link/comms_log.h"

class memory_log_environment final : public comms_log_environment {
public:
    log_clock_time local_time() override { return time; }
    bool file_exists(const std::string& path) override { return files.count(path) || folders.count(path); }
    bool make_directory(const std::string& path) override
    {
        made_folders.push_back(path);
        if (read_only) {
            return false;
        }
        folders.insert(path);
        return true;
    }
    bool append_text(const std::string& path, const std::string& text) override
    {
        if (read_only) {
            return false;
        }
        files[path] += text;
        return true;
    }
    bool remove_file(const std::string& path) override { return files.erase(path) > 0; }

    log_clock_time time{14, 3, 7, 45};
    bool read_only = false;
    std::map<std::string, std::string> files;
    std::set<std::string> folders;
    std::vector<std::string> made_folders;
};

// Logging off, no path, this environment and prompt installed; all undone at the end.
class comms_log_scope {
public:
    explicit comms_log_scope(comms_log_environment& env, user_prompt* prompt = nullptr)
    {
        comms_log_use_environment(&env);
        comms_log_use_prompt(prompt);
        comms_log_set_enabled(false);
        comms_log_set_path("");
    }
    ~comms_log_scope()
    {
        comms_log_set_enabled(false);
        comms_log_set_path("");
        comms_log_use_environment(nullptr);
        comms_log_use_prompt(nullptr);
    }
};
