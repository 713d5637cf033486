// A small XML reader for the tests of the pictures the program writes: it
// checks that a document is well-formed (one root element, tags nested and
// matched, attributes quoted and not repeated, only the predefined and
// numeric character references, well-formed UTF-8, no characters XML
// forbids) and gives the elements with their attributes and text, for the
// tests to look into.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

struct s_xml_element {
    std::string name;
    std::map<std::string, std::string> attributes;  // values with references resolved
    std::string text;                               // character data directly inside, resolved
    std::vector<std::unique_ptr<s_xml_element>> children;

    std::string attribute(const std::string& key) const
    {
        const auto found = attributes.find(key);
        return found == attributes.end() ? std::string() : found->second;
    }
};

struct s_xml_document {
    std::unique_ptr<s_xml_element> root;
    std::string error;  // "" when the document is well-formed; else what is wrong and where
};

s_xml_document parse_xml(const std::string& text);

// Every element named name under (and including) element, in document order.
std::vector<const s_xml_element*> xml_elements_named(const s_xml_element& element, const std::string& name);
