#include "app/settings.h"

#include <cstdio>
#include <string>
#include <vector>

#include "app/connect_values.h"
#include "app/user_prompt.h"
#include "app/debug_output.h"
#include "app/path_text.h"
#include "app/profile_store.h"
#include "app/number_format_settings.h"
#include "app/settings_environment.h"
#include "app/settings_keys.h"
#include "link/connection.h"

namespace {

constexpr const char* vendor_folder_name = "Zelvorian";
constexpr const char* program_folder_name = "Corvexa";
constexpr const char* settings_file_name = "Corvexa.ini";
constexpr const char* graph_settings_file_names[graph_settings_kind_count] = {
    "lcr_bode_settings.ini", "lcr_nyquist_settings.ini", "lcr_eis_settings.ini"};

struct s_settings_state {
    std::string folder;
    std::string file;
    std::string graph_files[graph_settings_kind_count];
    std::string database_file;
    std::vector<std::string> problems;
    int number_format_type = 0;
    char decimal_separator = default_decimal_separator;
    char thousands_separator = default_thousands_separator;
};

s_settings_state& state()
{
    static s_settings_state settings;
    return settings;
}

// True for a path that starts from a root: a relative one would put the
// settings wherever the program happens to be started.
bool absolute_path(const std::string& path)
{
#ifdef _WIN32
    const bool drive = path.size() >= 3 && path[1] == ':' && (path[2] == '\\' || path[2] == '/');
    return drive || path.rfind("\\\\", 0) == 0;
#else
    return !path.empty() && path[0] == '/';
#endif
}

// True when every file the folder holds can be named to the system.
bool folder_usable(const std::string& folder)
{
    if (!absolute_path(folder) || !path_fits_system(path_join(folder, settings_file_name))) {
        return false;
    }
    for (const char* name : graph_settings_file_names) {
        if (!path_fits_system(path_join(folder, name))) {
            return false;
        }
    }
    return true;
}

void set_folder(s_settings_state& settings, const std::string& folder)
{
    settings.folder = folder;
    settings.file = folder.empty() ? std::string() : path_join(folder, settings_file_name);
    for (int kind = 0; kind < graph_settings_kind_count; ++kind) {
        settings.graph_files[kind] =
            folder.empty() ? std::string() : path_join(folder, graph_settings_file_names[kind]);
    }
}

std::string read_text(profile_store& store, const std::string& file, const s_setting_key& key,
                      const char* fallback, std::size_t max_length)
{
    return store.read_string(file, key.section, key.key, fallback, max_length);
}

int read_number(profile_store& store, const std::string& file, const s_setting_key& key, int fallback)
{
    return store.read_int(file, key.section, key.key, fallback);
}

std::string created_stamp(const s_utc_time& t)
{
    char text[64];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d %d/%d/%d", t.hour, t.minute, t.second, t.day,
                  t.month, t.year);
    return text;
}

// The folder to use and the folders to create, parent first, should the main
// settings file be missing: the application-data folder's settings folder,
// or none.
struct s_folder_choice {
    std::string folder;
    std::vector<std::string> folders_to_create;
};

s_folder_choice choose_folder(settings_environment& environment)
{
    const std::string app_data = environment.local_app_data_folder();
    if (!app_data.empty()) {
        const std::string vendor_folder = path_join(app_data, vendor_folder_name);
        const std::string folder = path_join(vendor_folder, program_folder_name);
        if (folder_usable(folder)) {
            return {folder, {vendor_folder, folder}};
        }
    }
    debug_output("Settings folder unavailable: no settings file\n");
    return {};
}

// Keeps a refused value's message for the caller and the debugger.
void refuse(s_settings_state& settings, const std::string& problem)
{
    settings.problems.push_back(problem);
    debug_output((problem + "\n").c_str());
}

// The "Connect" values into the record, each only when the record can take
// it whole.
void read_connect_values(s_settings_state& settings, profile_store& store, s_connection& connection)
{
    const std::string& file = settings.file;
    const std::string where = " in the settings file " + file;
    const int interface = read_number(store, file, setting_interface, LINK_NONE);
    const std::string bad_interface = connect_interface_problem(setting_interface.key, interface, where);
    connection.interface = bad_interface.empty() ? interface : LINK_NONE;
    const std::string port = read_text(store, file, setting_com_port, "", profile_max_value_length);
    const std::string bad_port = connect_com_port_problem(setting_com_port.key, port, where);
    connection_set_com_port(&connection, bad_port.empty() ? port.c_str() : "");
    connection.baud_rate = read_number(store, file, setting_baud_rate, 0);
    const std::string address = read_text(store, file, setting_ip_address, "", profile_max_value_length);
    const std::string bad_address = connect_ip_address_problem(setting_ip_address.key, address, where);
    connection_set_ip_address(&connection, bad_address.empty() ? address.c_str() : "");
    for (const std::string* problem : {&bad_interface, &bad_port, &bad_address}) {
        if (!problem->empty()) {
            refuse(settings, *problem);
        }
    }
}

}  // namespace

void settings_load(settings_environment& environment, profile_store& store)
{
    s_settings_state& settings = state();
    settings = s_settings_state{};
    const s_folder_choice choice = choose_folder(environment);
    set_folder(settings, choice.folder);
    const std::string& file = settings.file;

    if (!file.empty() && !environment.file_exists(file)) {
        for (const std::string& folder : choice.folders_to_create) {
            environment.make_directory(folder);
        }
        const std::string stamp = created_stamp(environment.utc_now());
        store.write_string(file, setting_created.section, setting_created.key, stamp.c_str());
    }

    read_connect_values(settings, store, the_connection());

    // Held whole: a path too long for the system is refused where it is used, never cut.
    settings.database_file =
        read_text(store, file, setting_database_file, "", profile_max_value_length);

    const s_number_format format = number_format_read(store, file);
    settings.number_format_type = format.type;
    settings.decimal_separator = format.decimal;
    settings.thousands_separator = format.thousands;
}

void settings_load()
{
    settings_load(platform_settings_environment(), platform_profile_store());
}

const std::vector<std::string>& settings_problems()
{
    return state().problems;
}

void settings_tell_problems(user_prompt& prompt)
{
    std::string text;
    for (const std::string& problem : state().problems) {
        text += (text.empty() ? "" : "\n") + problem;
    }
    if (!text.empty()) {
        prompt.tell(text.c_str(), "Corvexa2", prompt_icon::warning);
    }
}

const std::string& settings_folder()
{
    return state().folder;
}

const std::string& settings_file()
{
    return state().file;
}

const std::string& graph_settings_file(int kind)
{
    static const std::string none;
    if (kind < 0 || kind >= graph_settings_kind_count) {
        return none;
    }
    return state().graph_files[kind];
}

const std::string& database_file_path()
{
    return state().database_file;
}

void set_database_file_path(const std::string& path)
{
    state().database_file = path;
}

int number_format_type()
{
    return state().number_format_type;
}

void set_number_format_type(int type)
{
    state().number_format_type = type;
}

char decimal_separator()
{
    return state().decimal_separator;
}

void set_decimal_separator(char separator)
{
    state().decimal_separator = separator;
}

char thousands_separator()
{
    return state().thousands_separator;
}

void set_thousands_separator(char separator)
{
    state().thousands_separator = separator;
}

std::string user_documents_folder()
{
    return platform_settings_environment().documents_folder();
}

std::string temporary_folder()
{
    return platform_settings_environment().temporary_folder();
}
