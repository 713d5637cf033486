// Transfer error codes and the texts that show them.
#include <cstdio>

#include "config/config_transfer.h"
#include "config/instrument_config.h"
#include "graph/exponent_text.h"

namespace {

std::string code_what(std::int32_t code)
{
    char text[64];
    std::snprintf(text, sizeof text, "configuration transfer failed (Id:%d ret:%d)", config_error_id(code),
                  config_error_ret(code));
    return text;
}

// The value of a record as the limits line shows it: the text, or the
// integer's decimal digits.
std::string value_text(const s_config_param& record)
{
    if (record.kind == CONFIG_KIND_CHOICE) {
        return std::to_string(config_int_of(record.value));
    }
    if (config_value_not_set(record)) {
        return {};
    }
    const char* text = record.value;
    std::size_t length = 0;
    while (length < sizeof record.value && text[length] != '\0') {
        ++length;
    }
    return std::string(text, length);
}

}  // namespace

std::int32_t config_error_code(int command_number, std::int64_t value)
{
    const std::uint64_t sum = static_cast<std::uint64_t>(static_cast<std::int64_t>(command_number)) +
                              (static_cast<std::uint64_t>(value) << 16);
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(sum));
}

int config_error_id(std::int32_t code)
{
    return code & 0xFFFF;
}

int config_error_ret(std::int32_t code)
{
    return (code >> 16) & 0xFFFF;
}

config_transfer_error::config_transfer_error(std::int32_t code) : std::runtime_error(code_what(code)), code_(code) {}

std::string config_read_error_text(std::int32_t code, const char* name, bool too_many)
{
    char text[256];
    std::snprintf(text, sizeof text,
                  "An error occurred reading the config from the instrument \n(Id:%d [%s] ret:%d)%s",
                  config_error_id(code), name ? name : "", config_error_ret(code),
                  too_many ? "\nToo many read errors, stopping instrument config read" : "");
    return text;
}

std::string config_bulk_write_error_text(std::int32_t code, const char* name)
{
    char text[192];
    std::snprintf(text, sizeof text, "An error occurred writing the config to the instrument \n(Id:%d [%s] ret:%d)",
                  config_error_id(code), name ? name : "", config_error_ret(code));
    return text;
}

std::string config_write_error_text(std::int32_t code)
{
    char text[128];
    std::snprintf(text, sizeof text, "An error occurred writing the config to the Instrument \n(Id:%d ret:%d)",
                  config_error_id(code), config_error_ret(code));
    return text;
}

std::string config_limits_text(const char* name, int command_number, const s_config_param& record)
{
    return std::string(name ? name : "") + " (id:" + std::to_string(command_number) + " val:" + value_text(record) +
           ") can only be set between " + general_number_text(record.min, 2) + " and " +
           general_number_text(record.max, 2);
}

std::string config_outside_limits_text(const char* name, int command_number, const s_config_param& record)
{
    const auto limit = [](double value) { return value == CONFIG_NO_LIMIT ? std::string("-") : general_number_text(value, 2); };
    return std::string(name ? name : "") + " (id:" + std::to_string(command_number) + " val:" + value_text(record) +
           ") lies outside its limits " + limit(record.min) + " to " + limit(record.max);
}

std::string config_binary_format_text(const char* name, int command_number)
{
    return std::string(name ? name : "") + " (id:" + std::to_string(command_number) +
           ") is not set to Binary: the program reads the instrument's replies as text";
}
