#include "app/profile_document.h"

#include <algorithm>
#include <utility>

#include "app/profile_rules.h"

namespace {

char lower_ascii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool same_name(std::string_view a, std::string_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](char x, char y) { return lower_ascii(x) == lower_ascii(y); });
}

bool is_line_end(char c)
{
    return c == '\r' || c == '\n';
}

}  // namespace

profile_document profile_document::parse(std::string_view text)
{
    profile_document document;
    std::size_t position = 0;
    while (position < text.size()) {
        std::size_t end = position;
        while (end < text.size() && !is_line_end(text[end])) {
            ++end;
        }
        const std::string_view line = profile_trim(text.substr(position, end - position));
        position = end;
        while (position < text.size() && is_line_end(text[position])) {
            ++position;
        }
        if (line.empty()) {
            continue;
        }
        if (line.front() == '[') {
            const std::size_t close = line.find(']');
            if (close != std::string_view::npos) {
                document.sections_.push_back({std::string(profile_trim(line.substr(1, close - 1))), {}});
                continue;
            }
        }
        s_entry entry;
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            entry.name = std::string(line);
        } else {
            entry.name = std::string(profile_trim(line.substr(0, equals)));
            entry.value = std::string(profile_trim(line.substr(equals + 1)));
        }
        document.sections_.back().entries.push_back(std::move(entry));
    }
    return document;
}

const profile_document::s_section* profile_document::find_section(std::string_view name) const
{
    name = profile_trim(name);
    const auto found = std::find_if(sections_.begin(), sections_.end(),
                                    [&](const s_section& s) { return same_name(s.name, name); });
    return found == sections_.end() ? nullptr : &*found;
}

profile_document::s_section* profile_document::find_section(std::string_view name)
{
    return const_cast<s_section*>(std::as_const(*this).find_section(name));
}

const std::string* profile_document::find_value(std::string_view section, std::string_view key) const
{
    const s_section* found_section = find_section(section);
    if (found_section == nullptr) {
        return nullptr;
    }
    key = profile_trim(key);
    for (const s_entry& entry : found_section->entries) {
        if (same_name(entry.name, key)) {
            return entry.value ? &*entry.value : nullptr;
        }
    }
    return nullptr;
}

bool profile_document::set_value(std::string_view section, std::string_view key, std::string_view value)
{
    while (!value.empty() && profile_is_space(value.front())) {
        value.remove_prefix(1);
    }
    s_section* target = find_section(section);
    if (target == nullptr) {
        sections_.push_back({std::string(profile_trim(section)), {}});
        target = &sections_.back();
    }
    key = profile_trim(key);
    for (s_entry& entry : target->entries) {
        if (same_name(entry.name, key)) {
            if (entry.value && *entry.value == value) {
                return false;
            }
            entry.value = std::string(value);
            return true;
        }
    }
    target->entries.push_back({std::string(key), std::string(value)});
    return true;
}

std::string profile_document::text() const
{
    std::string out;
    for (const s_section& section : sections_) {
        if (!section.name.empty()) {
            out += '[' + section.name + "]\r\n";
        }
        for (const s_entry& entry : section.entries) {
            out += entry.name;
            if (entry.value) {
                out += '=' + *entry.value;
            }
            out += "\r\n";
        }
    }
    return out;
}
