#include "graph/graph_settings_file.h"

#include <string>

#include "app/profile_store.h"
#include "app/settings.h"
#include "graph/graph_settings_keys.h"
#include "graph/number_format.h"

namespace {

// Text values are read into a 255-character buffer: at most 254 characters.
constexpr std::size_t text_read_length = 254;

std::int32_t read_integer(profile_store& store, const std::string& file, const s_graph_setting_key& key)
{
    return key.read ? store.read_int(file, key.section, key.key, key.fallback) : key.fallback;
}

double read_number(profile_store& store, const std::string& file, const s_graph_setting_key& key)
{
    const std::string text = key.read ? store.read_string(file, key.section, key.key, key.fallback_text,
                                                          text_read_length)
                                      : std::string(key.fallback_text);
    return parse_eng(text.c_str());
}

std::string text_of(const s_graph_setting_key& key)
{
    switch (key.type) {
    case graph_setting_type::integer:
        return std::to_string(*key.integer);
    case graph_setting_type::boolean:
        return *key.boolean ? "1" : "0";
    case graph_setting_type::number:
        return format_si_fixed(*key.number);
    }
    return {};
}

}  // namespace

void load_graph_settings(s_graph_settings& record, int kind, profile_store& store, const std::string& file)
{
    for (const s_graph_setting_key& key : graph_setting_keys(record, kind)) {
        switch (key.type) {
        case graph_setting_type::integer:
            *key.integer = read_integer(store, file, key);
            break;
        case graph_setting_type::boolean:
            *key.boolean = read_integer(store, file, key) != 0;
            break;
        case graph_setting_type::number:
            *key.number = read_number(store, file, key);
            break;
        }
    }
}

void save_graph_settings(const s_graph_settings& record, int kind, profile_store& store,
                         const std::string& file)
{
    s_graph_settings written = record;
    for (const s_graph_setting_key& key : graph_setting_keys(written, kind)) {
        // Failures are not reported: the live record stays as it is.
        store.write_string(file, key.section, key.key, text_of(key).c_str());
    }
}

void load_graph_settings(s_graph_settings& record, int kind)
{
    load_graph_settings(record, kind, platform_profile_store(), graph_settings_file(kind));
}

void save_graph_settings(const s_graph_settings& record, int kind)
{
    const std::string& file = graph_settings_file(kind);
    if (!file.empty()) {
        save_graph_settings(record, kind, platform_profile_store(), file);
    }
}
