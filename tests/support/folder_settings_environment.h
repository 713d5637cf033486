// A settings environment over real folders that the test chooses: the shell
// folder and the working directory are whatever the test says, folders are
// made for real (and remembered), and the clock stands still.
#pragma once

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "app/settings_environment.h"

class folder_settings_environment final : public settings_environment {
public:
    std::string app_data;
    std::string working;
    s_utc_time now{2019, 11, 3, 9, 5, 7};
    std::vector<std::string> made;

    std::string local_app_data_folder() override { return app_data; }
    std::string documents_folder() override { return {}; }
    std::string temporary_folder() override { return {}; }
    std::string current_directory() override { return working; }
    void make_directory(const std::string& path) override
    {
        made.push_back(path);
        std::error_code ignored;
        std::filesystem::create_directory(path, ignored);
    }
    bool file_exists(const std::string& path) override { return std::filesystem::is_regular_file(path); }
    s_utc_time utc_now() override { return now; }
};
