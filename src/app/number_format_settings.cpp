#include "app/number_format_settings.h"

#include <cstdio>

#include "app/profile_rules.h"
#include "app/profile_store.h"
#include "app/separator_rules.h"
#include "app/settings.h"
#include "app/settings_keys.h"

namespace {

// How much of a stored separator value is read: only its first character
// is used, the rest is read so that a long value is not an error.
constexpr std::size_t separator_read_length = 127;

constexpr int known_types[] = {NUMBER_FORMAT_DEFAULT, NUMBER_FORMAT_UK_US, NUMBER_FORMAT_FRANCE,
                               NUMBER_FORMAT_GERMANY, NUMBER_FORMAT_CUSTOM};

char stored_separator(profile_store& store, const std::string& file, const s_setting_key& key, char fallback)
{
    const char fallback_text[2] = {fallback, '\0'};
    const std::string text = store.read_string(file, key.section, key.key, fallback_text, separator_read_length);
    if (text.empty() || separator_refused(text.front())) {
        return fallback;
    }
    return text.front();
}

// A space is written in quotes: reading trims the white space around a
// value, which would leave nothing of it.
bool write_separator(profile_store& store, const std::string& file, const s_setting_key& key, char separator)
{
    const char plain[2] = {separator, '\0'};
    const char quoted[4] = {'"', separator, '"', '\0'};
    return store.write_string(file, key.section, key.key, profile_is_space(separator) ? quoted : plain);
}

}  // namespace

bool number_format_type_known(int type)
{
    for (int known : known_types) {
        if (type == known) {
            return true;
        }
    }
    return false;
}

s_number_format number_format_read(profile_store& store, const std::string& file)
{
    s_number_format format;
    const s_setting_key& type_key = setting_number_format_type;
    const int type = store.read_int(file, type_key.section, type_key.key, NUMBER_FORMAT_DEFAULT);
    format.type = number_format_type_known(type) ? type : NUMBER_FORMAT_DEFAULT;
    format.decimal = stored_separator(store, file, setting_decimal_separator, default_decimal_separator);
    format.thousands = stored_separator(store, file, setting_thousands_separator, default_thousands_separator);
    return format;
}

bool number_format_write(profile_store& store, const std::string& file, const s_number_format& format)
{
    char type_text[16];
    std::snprintf(type_text, sizeof type_text, "%d", format.type);
    const s_setting_key& type_key = setting_number_format_type;
    // Each key is written even when one before it failed, as the dialog
    // writes them one after another.
    const bool type_written = store.write_string(file, type_key.section, type_key.key, type_text);
    const bool decimal_written = write_separator(store, file, setting_decimal_separator, format.decimal);
    const bool thousands_written = write_separator(store, file, setting_thousands_separator, format.thousands);
    return type_written && decimal_written && thousands_written;
}

s_number_format current_number_format()
{
    return {number_format_type(), decimal_separator(), thousands_separator()};
}

void set_current_number_format(const s_number_format& format)
{
    set_number_format_type(format.type);
    set_decimal_separator(format.decimal);
    set_thousands_separator(format.thousands);
}
