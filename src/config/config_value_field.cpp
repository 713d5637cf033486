// The value field of a configuration record: a choice's integer in its first
// four bytes, or a real parameter's text; and the atoi/atof readings of texts.
#include <cctype>
#include <climits>
#include <cstdint>
#include <cstring>

#include "config/instrument_config.h"
#include "graph/leading_number.h"

std::int32_t config_int_of(const char (&value)[CONFIG_VALUE_SIZE])
{
    std::int32_t n = 0;
    std::memcpy(&n, value, sizeof n);
    return n;
}

void config_set_int(char (&value)[CONFIG_VALUE_SIZE], std::int32_t n)
{
    std::memset(value, 0, sizeof value);
    std::memcpy(value, &n, sizeof n);
}

bool config_value_not_set(const s_config_param& record)
{
    return record.kind == CONFIG_KIND_UNDEFINED && config_int_of(record.value) == CONFIG_NOT_SET;
}

int config_leading_int(const char* text)
{
    if (text == nullptr) {
        return 0;
    }
    while (std::isspace(static_cast<unsigned char>(*text))) {
        ++text;
    }
    bool negative = false;
    if (*text == '+' || *text == '-') {
        negative = *text == '-';
        ++text;
    }
    // Accumulate in 64 bits and stop growing past the int range, so a long
    // run of digits saturates instead of overflowing.
    long long total = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        if (total <= static_cast<long long>(INT_MAX) + 1) {
            total = total * 10 + (*text - '0');
        }
    }
    if (negative) {
        total = -total;
    }
    if (total > INT_MAX) {
        return INT_MAX;
    }
    if (total < INT_MIN) {
        return INT_MIN;
    }
    return static_cast<int>(total);
}

double config_leading_double(const char* text)
{
    if (text == nullptr) {
        return 0.0;
    }
    return leading_number(text, text + std::strlen(text));
}
