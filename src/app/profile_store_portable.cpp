// The portable profile_store: reads the whole file, looks the value up in a
// profile_document, and for a write rewrites the whole file (binary mode).
#include <cstdio>
#include <optional>
#include <string>

#include "app/path_text.h"
#include "app/profile_document.h"
#include "app/profile_rules.h"
#include "app/profile_store.h"
#include "app/text_file.h"

namespace {

std::optional<std::string> read_file(const std::string& path)
{
    if (!path_fits_system(path)) {
        return std::nullopt;
    }
    std::FILE* file = open_program_file(path, "rb");
    if (file == nullptr) {
        return std::nullopt;
    }
    std::string bytes;
    char chunk[4096];
    std::size_t count = 0;
    while ((count = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
        bytes.append(chunk, count);
    }
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) {
        return std::nullopt;
    }
    return bytes;
}

class portable_store final : public profile_store {
public:
    std::string read_string(const std::string& file, const char* section, const char* key,
                            const char* fallback, std::size_t max_length) override
    {
        const std::string* value = nullptr;
        const std::optional<std::string> bytes = read_file(file);
        profile_document document;
        if (bytes && section != nullptr && key != nullptr) {
            document = profile_document::parse(*bytes);
            value = document.find_value(section, key);
        }
        if (value != nullptr) {
            return profile_cut(profile_unquote(*value), max_length);
        }
        return profile_cut(fallback != nullptr ? fallback : "", max_length);
    }

    int read_int(const std::string& file, const char* section, const char* key, int fallback) override
    {
        const std::string text = read_string(file, section, key, "", profile_integer_text_length);
        return text.empty() ? fallback : profile_leading_integer(text);
    }

    bool write_string(const std::string& file, const char* section, const char* key,
                      const char* value) override
    {
        if (!path_fits_system(file) || !profile_text_writable(section, key, value)) {
            return false;
        }
        const std::optional<std::string> bytes = read_file(file);
        profile_document document = bytes ? profile_document::parse(*bytes) : profile_document{};
        if (!document.set_value(section, key, value) && bytes) {
            return true;
        }
        return write_text_file(file, document.text());
    }
};

}  // namespace

profile_store& portable_profile_store()
{
    static portable_store store;
    return store;
}

#ifndef _WIN32
profile_store& platform_profile_store()
{
    return portable_profile_store();
}
#endif
