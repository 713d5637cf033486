// save_stream and load_stream of the configuration model, and the names of
// the target check.
#include "config/config_stream.h"

#include <array>
#include <cstdint>
#include <istream>
#include <ostream>
#include <string_view>

#include "app/user_prompt.h"
#include "config/instrument_config.h"
#include "link/identify.h"

namespace {

constexpr const char* LINE_END = "\r\n";
constexpr int RECORD_COUNT = 2 * CONFIG_BANK_SIZE;
// Longer than any line a stream holds; a longer line is refused whole.
constexpr std::size_t LINE_LIMIT = 64;
constexpr int NAMELESS_TYPE = 16;

int id_of_record(int index)
{
    return index < CONFIG_BANK_SIZE ? index : CONFIG_SECOND_BANK_FIRST_ID + (index - CONFIG_BANK_SIZE);
}

// The stream's lines one by one, without their line ends, counted from 1.
class line_reader {
public:
    explicit line_reader(std::istream& in) : buffer_(in.rdbuf()) {}

    // False at the end of input. A line longer than LINE_LIMIT comes back
    // cut, with too_long set.
    bool next(std::string& line, bool& too_long)
    {
        line.clear();
        too_long = false;
        if (buffer_ == nullptr) {
            return false;
        }
        bool any = false;
        for (;;) {
            const int c = buffer_->sbumpc();
            if (c == std::char_traits<char>::eof()) {
                break;
            }
            any = true;
            if (c == '\n') {
                break;
            }
            if (line.size() < LINE_LIMIT) {
                line += static_cast<char>(c);
            } else {
                too_long = true;
            }
        }
        if (any) {
            ++number_;
        }
        return any;
    }
    int number() const { return number_; }

private:
    std::streambuf* buffer_;
    int number_ = 0;
};

std::string_view trimmed(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// A whole number: an optional sign and decimal digits, in the int32 range.
bool parse_whole_number(std::string_view text, std::int32_t* value)
{
    text = trimmed(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty() || text.size() > 10) {
        return false;
    }
    std::int64_t n = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
        n = n * 10 + (c - '0');
    }
    n = negative ? -n : n;
    if (n < INT32_MIN || n > INT32_MAX) {
        return false;
    }
    *value = static_cast<std::int32_t>(n);
    return true;
}

struct s_stream_record {
    std::int32_t command = 0;  // 0: the record is left as it is
    std::int32_t number = 0;   // a choice's value
    std::string text;          // any other record's value
};

struct s_parsed_stream {
    std::int32_t instrument_type = -1;
    std::int32_t current_option = -1;
    std::array<s_stream_record, RECORD_COUNT> records;
};

std::string line_text(int number)
{
    return "line " + std::to_string(number);
}

// Reads the whole stream; "" when it can be loaded into model, otherwise
// the reason it cannot.
std::string parse_stream(std::istream& in, const instrument_config& model, s_parsed_stream& parsed)
{
    line_reader lines(in);
    std::string line;
    bool too_long = false;
    const auto ended = [&] { return "it ends after " + line_text(lines.number()) + ", before its last record"; };
    const auto not_whole = [&] { return line_text(lines.number()) + " is not a whole number"; };

    std::int32_t version = 0;
    if (!lines.next(line, too_long) || too_long || !parse_whole_number(line, &version) ||
        version != CONFIG_STREAM_VERSION) {
        return "it is not a configuration file (line 1 is not the format version 1)";
    }
    for (std::int32_t* field : {&parsed.instrument_type, &parsed.current_option}) {
        if (!lines.next(line, too_long)) {
            return ended();
        }
        if (too_long || !parse_whole_number(line, field)) {
            return not_whole();
        }
    }
    for (int index = 0; index < RECORD_COUNT; ++index) {
        const int id = id_of_record(index);
        s_stream_record& record = parsed.records[static_cast<std::size_t>(index)];
        if (!lines.next(line, too_long)) {
            return ended();
        }
        if (too_long || !parse_whole_number(line, &record.command)) {
            return not_whole();
        }
        if (record.command == 0) {
            continue;
        }
        const int own = instrument_config::command_number_of(id);
        if (record.command != own) {
            return line_text(lines.number()) + " holds command number " + std::to_string(record.command) +
                   " where " + std::to_string(own) + " belongs";
        }
        if (!lines.next(line, too_long)) {
            return ended();
        }
        if (model.record(id)->kind == CONFIG_KIND_CHOICE) {
            if (too_long || !parse_whole_number(line, &record.number)) {
                return not_whole() + " (parameter " + std::to_string(own) + " is a choice)";
            }
            continue;
        }
        const std::string_view text = trimmed(line);
        if (too_long || text.size() >= CONFIG_VALUE_SIZE) {
            return line_text(lines.number()) + " holds a value of more than " + std::to_string(CONFIG_VALUE_SIZE - 1) +
                   " characters";
        }
        record.text = text;
    }
    return {};
}

// A value text on one line: a line end inside it would break the stream.
std::string one_line(std::string text)
{
    for (char& c : text) {
        if (c == '\r' || c == '\n') {
            c = ' ';
        }
    }
    return text.empty() ? " " : text;
}

}  // namespace

const char* config_stream_type_name(int instrument_type)
{
    if (instrument_type == NAMELESS_TYPE) {
        return "";
    }
    const char* name = instrument_type_name(instrument_type);
    return name != nullptr ? name : "Unknown";
}

const char* config_stream_option_name(int current_option)
{
    constexpr const char* names[] = {"Unknown", "Standard Current", "Low Current", "High Current"};
    if (current_option < -1 || current_option > 2) {
        return "";
    }
    return names[current_option + 1];
}

bool config_stream_types_equivalent(int a, int b)
{
    const auto family = [](int type) { return type == 6 ? 1 : type == 3 ? 2 : type; };
    return family(a) == family(b);
}

std::string config_stream_mismatch_text(int file_type, int file_option, int instrument_type, int current_option)
{
    return std::string("The selected configuration file is for a ") + config_stream_type_name(file_type) + " " +
           config_stream_option_name(file_option) + ", and you are importing to a " +
           config_stream_type_name(instrument_type) + " " + config_stream_option_name(current_option) +
           ".\n\nLoading a config from the wrong instrument may cause some settings to be wrong\nContinue anyway?";
}

std::string config_stream_damaged_text(const std::string& reason)
{
    return "The configuration file cannot be loaded: " + reason + ".\nNothing was changed.";
}

void instrument_config::save_stream(std::iostream& stream, int instrument_type, int current_option) const
{
    std::ostream& out = stream;
    out << std::to_string(CONFIG_STREAM_VERSION) << LINE_END << std::to_string(instrument_type) << LINE_END
        << std::to_string(current_option) << LINE_END;
    for (int index = 0; index < RECORD_COUNT && out; ++index) {
        const int id = id_of_record(index);
        const s_config_param& record = *this->record(id);
        out << std::to_string(record.command_number) << LINE_END;
        if (record.command_number == 0) {
            continue;
        }
        if (record.kind == CONFIG_KIND_CHOICE) {
            out << std::to_string(config_int_of(record.value)) << LINE_END;
        } else {
            out << one_line(get_value_string(id)) << LINE_END;
        }
    }
}

bool instrument_config::load_stream(std::iostream& stream, user_prompt& prompt, int instrument_type,
                                    int current_option, bool quiet)
{
    s_parsed_stream parsed;
    const std::string damage = parse_stream(stream, *this, parsed);
    if (!damage.empty()) {
        if (!quiet) {
            prompt.tell(config_stream_damaged_text(damage).c_str(), CONFIG_STREAM_DAMAGED_CAPTION,
                        prompt_icon::warning);
        }
        return false;
    }
    const bool other_type =
        parsed.instrument_type != -1 && !config_stream_types_equivalent(parsed.instrument_type, instrument_type);
    const bool other_option = parsed.current_option != -1 && parsed.current_option != current_option;
    if (!quiet && (other_type || other_option)) {
        const std::string question = config_stream_mismatch_text(parsed.instrument_type, parsed.current_option,
                                                                 instrument_type, current_option);
        if (!prompt.ask_ok_cancel(question.c_str(), CONFIG_STREAM_MISMATCH_CAPTION, prompt_icon::warning)) {
            return false;
        }
    }
    for (int index = 0; index < RECORD_COUNT; ++index) {
        const s_stream_record& loaded = parsed.records[static_cast<std::size_t>(index)];
        if (loaded.command == 0) {
            continue;
        }
        const int id = id_of_record(index);
        if (record(id)->kind == CONFIG_KIND_CHOICE) {
            set_value_int(id, loaded.number);
        } else {
            set_value_text(id, loaded.text.c_str());
        }
        record(id)->command_number = loaded.command;
    }
    return true;
}
