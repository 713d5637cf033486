// One settings file in memory, read and rewritten the way the Win32
// private-profile functions do it: each line is trimmed; "[name]" opens a
// section (the name trimmed too, anything after ']' ignored); any other line
// is a key, split at its first '=' into a trimmed name and a trimmed value (a
// line without '=', such as a comment, is a key with no value); blank lines
// are dropped; lines before the first section belong to an unnamed section.
// Writing back gives "[name]" and "key=value" lines with CRLF.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

class profile_document {
public:
    // Any bytes: CR, LF or both end a line.
    static profile_document parse(std::string_view text);

    // The value of key in the first section named section; nullptr when the
    // section or key is missing or the key line had no '='.
    const std::string* find_value(std::string_view section, std::string_view key) const;

    // Sets the value (leading white space dropped), adding the key at the end
    // of its section or the section at the end of the file. Returns false when
    // the stored value was already the same.
    bool set_value(std::string_view section, std::string_view key, std::string_view value);

    std::string text() const;

private:
    struct s_entry {
        std::string name;
        std::optional<std::string> value;
    };
    struct s_section {
        std::string name;
        std::vector<s_entry> entries;
    };

    s_section* find_section(std::string_view name);
    const s_section* find_section(std::string_view name) const;

    std::vector<s_section> sections_{s_section{}};
};
