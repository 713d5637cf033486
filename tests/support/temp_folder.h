// A fresh folder under the system's temporary folder, removed with its
// contents when the fixture ends.
#pragma once

#include <string>

class temp_folder {
public:
    temp_folder();
    ~temp_folder();
    temp_folder(const temp_folder&) = delete;
    temp_folder& operator=(const temp_folder&) = delete;
    const std::string& path() const { return path_; }
    // path() joined with name by the platform's separator.
    std::string file(const std::string& name) const;

private:
    std::string path_;
};
