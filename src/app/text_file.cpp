#include "app/text_file.h"

#include <cstdio>

#include "app/text_encoding.h"

namespace {

bool write_with_mode(const std::string& path, const std::string& text, const char* mode)
{
    std::FILE* file = open_program_file(path, mode);
    if (!file) {
        return false;
    }
    const std::string bytes = to_crlf(text);
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const bool closed = std::fclose(file) == 0;
    return written && closed;
}

}  // namespace

std::FILE* open_program_file(const std::string& path, const char* mode)
{
    return std::fopen(system_path(path).c_str(), mode);
}

std::string to_crlf(const std::string& text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 16 + 2);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) {
            out += '\r';
        }
        out += text[i];
    }
    return out;
}

bool append_text_file(const std::string& path, const std::string& text)
{
    return write_with_mode(path, text, "ab");
}

bool write_text_file(const std::string& path, const std::string& text)
{
    return write_with_mode(path, text, "wb");
}
