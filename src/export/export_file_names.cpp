#include "export/export_file_names.h"

#include <cstdio>
#include <cstring>

#include "app/path_text.h"

namespace {

constexpr int last_number = 98;
constexpr std::size_t stamp_field_size = 8;

bool refused_in_names(unsigned char c)
{
    return c < 0x20 || std::strchr("\\/:?\"<>|*", c) != nullptr;
}

}  // namespace

std::string export_name_part(const std::string& text)
{
    std::string part = text.substr(0, EXPORT_NAME_PART_MAX);
    for (char& c : part) {
        if (refused_in_names(static_cast<unsigned char>(c))) {
            c = ' ';
        }
    }
    return part;
}

std::string test_export_path(const std::string& folder, const std::string& test_name,
                             const std::function<bool(const std::string&)>& exists)
{
    const std::string name = export_name_part(test_name);
    std::string path = path_join(folder, name + ".txt");
    for (int number = 1; exists(path) && number <= last_number; ++number) {
        path = path_join(folder, name + " (" + std::to_string(number) + ").txt");
    }
    return path;
}

std::string repeat_export_file_name(bool fra, int number, const std::string& first_line)
{
    char day[stamp_field_size] = {}, month[stamp_field_size] = {}, year[stamp_field_size] = {};
    char hour[stamp_field_size] = {}, minute[stamp_field_size] = {}, second[stamp_field_size] = {};
    std::string part;
    if (std::sscanf(first_line.c_str(), "%2s-%2s-%4s - %2s:%2s:%2s", day, month, year, hour, minute, second) == 6) {
        part = std::string(year) + "_" + month + "_" + day + "-" + hour + "_" + minute + "_" + second;
    } else {
        part = first_line;
    }
    return std::string(fra ? "FRA" : "LCR") + " sweep " + std::to_string(number) + " " + export_name_part(part) +
           ".txt";
}
