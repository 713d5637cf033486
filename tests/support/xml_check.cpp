#include "support/xml_check.h"

#include <cstdint>

namespace {

bool name_start(unsigned char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == ':' || c >= 0x80;
}

bool name_char(unsigned char c)
{
    return name_start(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
}

bool space(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// A code point XML 1.0 allows as a character.
bool xml_char(std::uint32_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) ||
           (c >= 0x10000 && c <= 0x10FFFF);
}

void append_utf8(std::string& out, std::uint32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

class reader {
public:
    explicit reader(const std::string& text) : text_(text) {}

    s_xml_document read()
    {
        s_xml_document document;
        if (!check_encoding()) {
            document.error = error_;
            return document;
        }
        if (text_.compare(0, 5, "<?xml") == 0 && !skip_past("?>")) {
            document.error = error_;
            return document;
        }
        skip_misc();
        if (at_ >= text_.size() || text_[at_] != '<') {
            document.error = fail("no root element");
            return document;
        }
        document.root = element();
        if (document.root) {
            skip_misc();
            if (at_ != text_.size()) {
                document.root.reset();
                fail("content after the root element");
            }
        }
        document.error = error_;
        return document;
    }

private:
    std::string fail(const std::string& what)
    {
        if (error_.empty()) {
            error_ = what + " at byte " + std::to_string(at_);
        }
        return error_;
    }

    // Well-formed UTF-8 of characters XML allows.
    bool check_encoding()
    {
        for (std::size_t i = 0; i < text_.size();) {
            const auto lead = static_cast<unsigned char>(text_[i]);
            int extra = lead < 0x80 ? 0 : (lead >> 5) == 0x6 ? 1 : (lead >> 4) == 0xE ? 2 : (lead >> 3) == 0x1E ? 3 : -1;
            if (extra < 0 || (extra > 0 && i + static_cast<std::size_t>(extra) >= text_.size())) {
                at_ = i;
                fail("not UTF-8");
                return false;
            }
            std::uint32_t c = extra == 0 ? lead : lead & (0x3F >> extra);
            for (int k = 1; k <= extra; ++k) {
                const auto next = static_cast<unsigned char>(text_[i + static_cast<std::size_t>(k)]);
                if ((next & 0xC0) != 0x80) {
                    at_ = i;
                    fail("not UTF-8");
                    return false;
                }
                c = (c << 6) | (next & 0x3F);
            }
            const std::uint32_t lowest[] = {0, 0x80, 0x800, 0x10000};
            if (c < lowest[extra] || !xml_char(c)) {
                at_ = i;
                fail("a character XML does not allow");
                return false;
            }
            i += static_cast<std::size_t>(extra) + 1;
        }
        return true;
    }

    bool skip_past(const char* end)
    {
        const std::size_t found = text_.find(end, at_);
        if (found == std::string::npos) {
            fail(std::string("no closing ") + end);
            return false;
        }
        at_ = found + std::char_traits<char>::length(end);
        return true;
    }

    // Spaces, comments and processing instructions between elements.
    void skip_misc()
    {
        for (;;) {
            while (at_ < text_.size() && space(text_[at_])) {
                ++at_;
            }
            if (text_.compare(at_, 4, "<!--") == 0) {
                if (!skip_past("-->")) {
                    return;
                }
            } else if (text_.compare(at_, 2, "<?") == 0) {
                if (!skip_past("?>")) {
                    return;
                }
            } else {
                return;
            }
        }
    }

    std::string name()
    {
        const std::size_t start = at_;
        if (at_ >= text_.size() || !name_start(static_cast<unsigned char>(text_[at_]))) {
            fail("a name expected");
            return "";
        }
        while (at_ < text_.size() && name_char(static_cast<unsigned char>(text_[at_]))) {
            ++at_;
        }
        return text_.substr(start, at_ - start);
    }

    // Character data up to one of the stop characters, references resolved.
    bool characters(std::string& out, const std::string& stops)
    {
        while (at_ < text_.size() && stops.find(text_[at_]) == std::string::npos) {
            const char c = text_[at_];
            if (c == '<') {
                fail("'<' in a value");
                return false;
            }
            if (c != '&') {
                if (c == '>' && text_.compare(at_ - (at_ >= 2 ? 2 : at_), 3, "]]>") == 0) {
                    fail("']]>' in text");
                    return false;
                }
                out += c;
                ++at_;
                continue;
            }
            const std::size_t end = text_.find(';', at_);
            if (end == std::string::npos || end - at_ > 12) {
                fail("an unterminated reference");
                return false;
            }
            const std::string reference = text_.substr(at_ + 1, end - at_ - 1);
            static const std::map<std::string, char> predefined = {
                {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
            if (const auto found = predefined.find(reference); found != predefined.end()) {
                out += found->second;
            } else if (reference.size() > 1 && reference[0] == '#') {
                const bool hex = reference[1] == 'x';
                const std::string digits = reference.substr(hex ? 2 : 1);
                if (digits.empty() || digits.find_first_not_of(hex ? "0123456789abcdefABCDEF" : "0123456789") !=
                                          std::string::npos) {
                    fail("a bad character reference");
                    return false;
                }
                const unsigned long code = std::stoul(digits, nullptr, hex ? 16 : 10);
                if (!xml_char(static_cast<std::uint32_t>(code))) {
                    fail("a reference to a character XML does not allow");
                    return false;
                }
                append_utf8(out, static_cast<std::uint32_t>(code));
            } else {
                fail("an unknown entity &" + reference + ";");
                return false;
            }
            at_ = end + 1;
        }
        return true;
    }

    std::unique_ptr<s_xml_element> element()
    {
        if (++depth_ > 200) {
            fail("elements nested too deep");
            return nullptr;
        }
        ++at_;  // '<'
        auto node = std::make_unique<s_xml_element>();
        node->name = name();
        if (!error_.empty()) {
            return nullptr;
        }
        for (;;) {
            const std::size_t before = at_;
            while (at_ < text_.size() && space(text_[at_])) {
                ++at_;
            }
            if (at_ >= text_.size()) {
                fail("an unterminated tag");
                return nullptr;
            }
            if (text_.compare(at_, 2, "/>") == 0) {
                at_ += 2;
                --depth_;
                return node;
            }
            if (text_[at_] == '>') {
                ++at_;
                break;
            }
            if (at_ == before) {
                fail("no space before an attribute");
                return nullptr;
            }
            const std::string key = name();
            if (!error_.empty()) {
                return nullptr;
            }
            if (at_ >= text_.size() || text_[at_] != '=') {
                fail("'=' expected after " + key);
                return nullptr;
            }
            ++at_;
            if (at_ >= text_.size() || (text_[at_] != '"' && text_[at_] != '\'')) {
                fail("a quoted value expected for " + key);
                return nullptr;
            }
            const char quote = text_[at_++];
            std::string value;
            if (!characters(value, std::string(1, quote))) {
                return nullptr;
            }
            if (at_ >= text_.size()) {
                fail("an unterminated value");
                return nullptr;
            }
            ++at_;
            if (!node->attributes.emplace(key, value).second) {
                fail("attribute " + key + " given twice");
                return nullptr;
            }
        }
        // Content up to the matching end tag.
        for (;;) {
            if (!characters(node->text, "<")) {
                return nullptr;
            }
            if (at_ >= text_.size()) {
                fail("no end tag for " + node->name);
                return nullptr;
            }
            if (text_.compare(at_, 4, "<!--") == 0) {
                if (!skip_past("-->")) {
                    return nullptr;
                }
            } else if (text_.compare(at_, 2, "</") == 0) {
                at_ += 2;
                const std::string end = name();
                while (at_ < text_.size() && space(text_[at_])) {
                    ++at_;
                }
                if (end != node->name || at_ >= text_.size() || text_[at_] != '>') {
                    fail("end tag " + end + " does not close " + node->name);
                    return nullptr;
                }
                ++at_;
                --depth_;
                return node;
            } else {
                auto child = element();
                if (!child) {
                    return nullptr;
                }
                node->children.push_back(std::move(child));
            }
        }
    }

    const std::string& text_;
    std::size_t at_ = 0;
    int depth_ = 0;
    std::string error_;
};

void collect(const s_xml_element& element, const std::string& name, std::vector<const s_xml_element*>& found)
{
    if (element.name == name) {
        found.push_back(&element);
    }
    for (const auto& child : element.children) {
        collect(*child, name, found);
    }
}

}  // namespace

s_xml_document parse_xml(const std::string& text)
{
    return reader(text).read();
}

std::vector<const s_xml_element*> xml_elements_named(const s_xml_element& element, const std::string& name)
{
    std::vector<const s_xml_element*> found;
    collect(element, name, found);
    return found;
}
