#include "export/export_destination_win32.h"

#include "app/folder_browser_win32.h"
#include "app/save_file_chooser_win32.h"
#include "app/settings.h"

std::optional<std::string> system_export_destination::text_file()
{
    s_save_file_request request;
    request.owner = owner_;
    request.filter = "Text File *.txt\0*.txt\0";
    request.default_extension = "txt";
    request.path_must_exist = false;
    request.overwrite_prompt = true;
    std::string path;
    if (!choose_save_file(request, &path)) {
        return std::nullopt;
    }
    return path;
}

std::optional<std::string> system_export_destination::folder()
{
    return browse_for_folder(owner_, "Select Export Location", user_documents_folder()).path;
}
