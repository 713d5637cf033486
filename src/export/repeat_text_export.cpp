#include "export/repeat_text_export.h"

#include <cstdlib>
#include <vector>

#include "export/export_columns.h"
#include "export/export_preamble.h"

namespace {

constexpr std::size_t first_line_max = 1023;
constexpr std::size_t three_channel_fields = 11;

// The file's lines, without their line ends (LF, CR LF or a lone CR).
std::vector<std::string> lines_of(const std::string& text)
{
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(line);
            line.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
        } else {
            line += c;
        }
    }
    if (!line.empty()) {
        lines.push_back(line);
    }
    return lines;
}

// The fields between tabs, empty ones kept.
std::vector<std::string> fields_of(const std::string& line)
{
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos) {
            return fields;
        }
        start = tab + 1;
    }
}

bool blank(const std::string& line)
{
    return line.find_first_not_of(" \t") == std::string::npos;
}

}  // namespace

std::string sweep_file_first_line(const std::string& file_text)
{
    const std::vector<std::string> lines = lines_of(file_text);
    return lines.empty() ? std::string() : lines.front().substr(0, first_line_max);
}

std::string repeat_export_text(const std::string& file_text, bool fra, int layout, const std::string& preamble,
                               const s_export_punctuation& punctuation)
{
    std::vector<std::string> rows = lines_of(file_text);
    if (!rows.empty()) {
        rows.erase(rows.begin());  // the time stamp
    }
    std::erase_if(rows, blank);
    const std::size_t first_fields = rows.empty() ? 0 : fields_of(rows.front()).size();
    const char* header = fra ? fra_export_header(first_fields == three_channel_fields)
                             : lcr_export_header(layout, false);
    std::string text = preamble + EXPORT_DATA_START + header + "\r\n";
    for (std::size_t r = 0; r < rows.size(); ++r) {
        if (r > 0) {
            text += "\r\n";
        }
        const std::vector<std::string> fields = fields_of(rows[r]);
        text += export_step_text(std::atoll(fields.front().c_str()), punctuation);
        for (std::size_t k = 1; k < fields.size(); ++k) {
            text += '\t';
            text += export_cell_text(std::atof(fields[k].c_str()), punctuation);
        }
    }
    return text;
}
