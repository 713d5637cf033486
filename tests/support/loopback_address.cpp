#include "support/loopback_address.h"

#include <charconv>

namespace {

constexpr const char* prefix = "127.0.0.";
constexpr int first_host = 2;
constexpr int last_host = 254;

}  // namespace

std::string next_loopback_address(const std::string& address)
{
    const std::string p = prefix;
    if (address.rfind(p, 0) != 0)
        return "";
    int host = 0;
    const char* begin = address.data() + p.size();
    const char* end = address.data() + address.size();
    const auto [stop, error] = std::from_chars(begin, end, host);
    if (error != std::errc() || stop != end || begin == end || host < 0 || host > 255)
        return "";
    return p + std::to_string(host >= first_host && host < last_host ? host + 1 : first_host);
}
