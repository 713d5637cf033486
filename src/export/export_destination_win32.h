// Where the exports write on Windows: the system's Save As dialog for one
// text file, the folder browser ("Select Export Location", starting in the
// user's documents folder) for a folder of files.
#pragma once

#include <windows.h>

#include "export/text_export_run.h"

class system_export_destination final : public export_destination {
public:
    explicit system_export_destination(HWND owner) : owner_(owner) {}
    std::optional<std::string> text_file() override;
    std::optional<std::string> folder() override;

private:
    HWND owner_;
};
