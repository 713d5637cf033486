#include "number_format_option.h"

#include <optional>

#include "app/separator_rules.h"

namespace {

struct s_format_name {
    const char* name;
    int type;
};

constexpr s_format_name format_names[] = {
    {"default", NUMBER_FORMAT_DEFAULT}, {"uk", NUMBER_FORMAT_UK_US},    {"france", NUMBER_FORMAT_FRANCE},
    {"germany", NUMBER_FORMAT_GERMANY}, {"custom", NUMBER_FORMAT_CUSTOM},
};

constexpr const char* format_option = "--number-format";
constexpr const char* decimal_option = "--decimal";
constexpr const char* thousands_option = "--thousands";

std::optional<int> type_named(const std::string& name)
{
    for (const s_format_name& entry : format_names) {
        if (name == entry.name) {
            return entry.type;
        }
    }
    return std::nullopt;
}

bool take_separator(const std::string& option, const std::string& value, std::optional<char>* separator,
                    std::string* error)
{
    if (value.size() != 1 || separator_refused(value.front())) {
        *error = option + " takes one character that is not a letter, a digit, a control character or one of "
                 "+ - * \\ / \" ` $ \xA3: \"" + value + "\"";
        return false;
    }
    *separator = value.front();
    return true;
}

}  // namespace

bool take_number_format_option(std::vector<std::string>* words, s_number_format* format, std::string* error)
{
    std::vector<std::string> rest;
    std::optional<int> type;
    std::optional<char> decimal;
    std::optional<char> thousands;
    for (std::size_t i = 0; i < words->size(); ++i) {
        const std::string& word = (*words)[i];
        if (word != format_option && word != decimal_option && word != thousands_option) {
            rest.push_back(word);
            continue;
        }
        if (i + 1 >= words->size() || (*words)[i + 1].empty()) {
            *error = word + " needs a value";
            return false;
        }
        const std::string& value = (*words)[++i];
        const bool repeated = word == format_option ? type.has_value()
                              : word == decimal_option ? decimal.has_value()
                                                       : thousands.has_value();
        if (repeated) {
            *error = word + " is given twice";
            return false;
        }
        if (word == format_option) {
            type = type_named(value);
            if (!type) {
                *error = std::string(format_option) + " takes default, uk, france, germany or custom: " + value;
                return false;
            }
        } else if (!take_separator(word, value, word == decimal_option ? &decimal : &thousands, error)) {
            return false;
        }
    }
    if ((decimal || thousands) && type != NUMBER_FORMAT_CUSTOM) {
        *error = "--decimal and --thousands go with --number-format custom";
        return false;
    }
    if (type) {
        format->type = *type;
    }
    format->decimal = decimal.value_or(format->decimal);
    format->thousands = thousands.value_or(format->thousands);
    *words = rest;
    return true;
}
