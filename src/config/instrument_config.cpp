// The local operations of the configuration model: record lookup, the kind
// conversions between a record's value field and texts or numbers, and the
// setters. None of them fails or throws; an invalid id (anything outside
// 0-255 and 500-755) is ignored by the setters and reads as a record that
// holds the "not set" marker.
//
// Text form and integer form: a choice record (kind 0) holds an integer;
// every other record (real parameters, and undefined records) is read and
// written as text. An undefined record that still holds the marker has the
// empty text: its bytes are never shown or sent. Its integer and number
// readings give the marker itself (-99).
#include "config/instrument_config.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <sstream>
#include <string_view>
#include <utility>

#include "graph/bounded_text.h"
#include "graph/leading_number.h"
#include "graph/number_format.h"
#include "link/connection.h"

namespace {

// The characters a display text keeps (its buffer holds 19 bytes).
constexpr std::size_t DISPLAY_TEXT_LIMIT = 18;
// The characters a value text keeps.
constexpr std::size_t VALUE_TEXT_LIMIT = CONFIG_VALUE_SIZE - 1;

void reset_record(s_config_param& record)
{
    record = s_config_param{};
    config_set_int(record.value, CONFIG_NOT_SET);
}

const s_config_param& not_set_record()
{
    static const s_config_param record = [] {
        s_config_param r;
        reset_record(r);
        return r;
    }();
    return record;
}

bool integer_form(const s_config_param& record)
{
    return record.kind == CONFIG_KIND_CHOICE;
}

// The text of a record in text form, never past its field.
std::string_view text_of(const s_config_param& record)
{
    if (config_value_not_set(record)) {
        return "";
    }
    const char* end = std::find(record.value, record.value + CONFIG_VALUE_SIZE, '\0');
    return std::string_view(record.value, static_cast<std::size_t>(end - record.value));
}

void set_text(s_config_param& record, std::string_view text)
{
    std::memset(record.value, 0, sizeof record.value);
    copy_bounded(record.value, sizeof record.value, text, VALUE_TEXT_LIMIT);
}

// The option a choice value names, or nullptr when there is none.
const std::string* option_at(const s_config_param& record, std::int32_t index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= record.options.size()) {
        return nullptr;
    }
    return &record.options[static_cast<std::size_t>(index)];
}

// A number truncated toward zero and held to the int range (NaN gives 0).
std::int32_t truncated_int(double value)
{
    if (std::isnan(value)) {
        return 0;
    }
    if (value >= 2147483647.0) {
        return 2147483647;
    }
    if (value <= -2147483648.0) {
        return -2147483647 - 1;
    }
    return static_cast<std::int32_t>(value);
}

}  // namespace

instrument_config::instrument_config()
{
    for (s_config_param& record : first_bank_) {
        reset_record(record);
    }
    for (s_config_param& record : second_bank_) {
        reset_record(record);
    }
}

instrument_config::~instrument_config() = default;

bool instrument_config::valid_id(int id)
{
    return (id >= 0 && id < CONFIG_BANK_SIZE) ||
           (id >= CONFIG_SECOND_BANK_FIRST_ID && id < CONFIG_SECOND_BANK_FIRST_ID + CONFIG_BANK_SIZE);
}

int instrument_config::command_number_of(int id)
{
    if (!valid_id(id)) {
        return 0;
    }
    return id < CONFIG_BANK_SIZE ? id : id - CONFIG_SECOND_BANK_FIRST_ID;
}

s_config_param* instrument_config::record(int id)
{
    if (!valid_id(id)) {
        return nullptr;
    }
    return id < CONFIG_BANK_SIZE ? &first_bank_[id] : &second_bank_[id - CONFIG_SECOND_BANK_FIRST_ID];
}

const s_config_param* instrument_config::record(int id) const
{
    return const_cast<instrument_config*>(this)->record(id);
}

void instrument_config::define_real_param(s_config_param* target, int id, double min, double max,
                                          const char* default_text)
{
    if (target == nullptr) {
        target = record(id);
    }
    if (target == nullptr) {
        return;
    }
    target->command_number = command_number_of(id);
    target->min = min;
    target->max = max;
    target->kind = CONFIG_KIND_REAL;
    target->options.clear();
    set_text(*target, default_text ? default_text : "");
}

void instrument_config::define_choice_param(s_config_param* target, int id, int min, int max, int default_value,
                                            const std::vector<std::string>& options)
{
    if (target == nullptr) {
        target = record(id);
    }
    if (target == nullptr) {
        return;
    }
    target->command_number = command_number_of(id);
    target->min = min;
    target->max = max;
    target->kind = CONFIG_KIND_CHOICE;
    config_set_int(target->value, default_value);
    target->options = options;
}

std::string instrument_config::get_value_string(int id) const
{
    const s_config_param* r = record(id);
    const s_config_param& rec = r ? *r : not_set_record();
    if (integer_form(rec)) {
        return std::to_string(config_int_of(rec.value));
    }
    return std::string(text_of(rec));
}

void instrument_config::get_value_text(int id, char* buffer) const
{
    if (buffer == nullptr) {
        return;
    }
    const s_config_param* r = record(id);
    const s_config_param& rec = r ? *r : not_set_record();
    if (integer_form(rec)) {
        std::snprintf(buffer, CONFIG_VALUE_SIZE, "%d", static_cast<int>(config_int_of(rec.value)));
    } else {
        copy_bounded(buffer, CONFIG_VALUE_SIZE, text_of(rec), VALUE_TEXT_LIMIT);
    }
}

double instrument_config::get_value_double(int id) const
{
    const s_config_param* r = record(id);
    const s_config_param& rec = r ? *r : not_set_record();
    if (integer_form(rec) || config_value_not_set(rec)) {
        return config_int_of(rec.value);
    }
    const std::string_view text = text_of(rec);
    return leading_number(text.data(), text.data() + text.size());
}

int instrument_config::get_value_int(int id) const
{
    const s_config_param* r = record(id);
    const s_config_param& rec = r ? *r : not_set_record();
    if (integer_form(rec) || config_value_not_set(rec)) {
        return config_int_of(rec.value);
    }
    return config_leading_int(std::string(text_of(rec)).c_str());
}

s_config_value instrument_config::get_value(int id) const
{
    const s_config_param* r = record(id);
    const s_config_param& rec = r ? *r : not_set_record();
    s_config_value snapshot;
    snapshot.is_choice = rec.kind == CONFIG_KIND_CHOICE;
    if (rec.kind == CONFIG_KIND_REAL) {
        copy_bounded(snapshot.value, sizeof snapshot.value, text_of(rec), VALUE_TEXT_LIMIT);
    } else {
        config_set_int(snapshot.value, config_int_of(rec.value));
    }
    snapshot.min = rec.min;
    snapshot.max = rec.max;
    return snapshot;
}

std::string instrument_config::get_display_string(int id) const
{
    const s_config_param* r = record(id);
    const s_config_param& rec = r ? *r : not_set_record();
    if (!integer_form(rec)) {
        return std::string(text_of(rec));
    }
    const std::int32_t value = config_int_of(rec.value);
    if (rec.options.empty()) {
        return std::to_string(value);
    }
    const std::string* option = option_at(rec, value);
    return option ? *option : std::string();
}

void instrument_config::get_display_text(int id, char* buffer) const
{
    if (buffer == nullptr) {
        return;
    }
    const s_config_param* r = record(id);
    const s_config_param& rec = r ? *r : not_set_record();
    constexpr std::size_t size = DISPLAY_TEXT_LIMIT + 1;
    if (!integer_form(rec)) {
        copy_bounded(buffer, size, text_of(rec), DISPLAY_TEXT_LIMIT);
        return;
    }
    // A plain integer (no option names) has no display text.
    const std::string* option = option_at(rec, config_int_of(rec.value));
    copy_bounded(buffer, size, option ? std::string_view(*option) : std::string_view(""), DISPLAY_TEXT_LIMIT);
}

int instrument_config::set_value_text(int id, const char* text)
{
    s_config_param* rec = record(id);
    if (rec == nullptr) {
        return 0;
    }
    if (text == nullptr) {
        text = "";
    }
    if (integer_form(*rec)) {
        config_set_int(rec->value, config_leading_int(text));
    } else {
        set_text(*rec, text);
    }
    rec->changed = true;
    return 0;
}

int instrument_config::set_value_double(int id, double value)
{
    s_config_param* rec = record(id);
    if (rec == nullptr) {
        return 0;
    }
    if (integer_form(*rec)) {
        config_set_int(rec->value, truncated_int(value));
    } else {
        char text[CONFIG_VALUE_SIZE] = {};
        format_exp_compact(text, sizeof text, value, 4);
        set_text(*rec, text);
    }
    rec->changed = true;
    return 0;
}

int instrument_config::set_value_int(int id, int value)
{
    s_config_param* rec = record(id);
    if (rec == nullptr) {
        return 0;
    }
    if (integer_form(*rec)) {
        config_set_int(rec->value, value);
    } else {
        char text[CONFIG_VALUE_SIZE] = {};
        std::snprintf(text, sizeof text, "%d", value);
        set_text(*rec, text);
    }
    rec->changed = true;
    return 0;
}

void instrument_config::set_value(int id, const s_config_value& value)
{
    s_config_param* rec = record(id);
    if (rec == nullptr) {
        return;
    }
    if (rec->kind == CONFIG_KIND_CHOICE) {
        config_set_int(rec->value, config_int_of(value.value));
    } else if (rec->kind == CONFIG_KIND_REAL) {
        const char* end = std::find(value.value, value.value + CONFIG_VALUE_SIZE, '\0');
        set_text(*rec, std::string_view(value.value, static_cast<std::size_t>(end - value.value)));
    }
    // An undefined record keeps its value, but is still marked.
    rec->changed = true;
}

void instrument_config::set_min(int id, double min)
{
    if (s_config_param* rec = record(id)) {
        rec->min = min;
    }
}

void instrument_config::set_max(int id, double max)
{
    if (s_config_param* rec = record(id)) {
        rec->max = max;
    }
}

void instrument_config::set_options(int id, const std::vector<std::string>& options)
{
    if (s_config_param* rec = record(id)) {
        rec->options = options;
    }
}

int instrument_config::to_instrument_value(int, int program_value, const s_translation_context&) const
{
    return program_value;
}

int instrument_config::to_program_value(int, int instrument_value, const s_translation_context&) const
{
    return instrument_value;
}

bool instrument_config::translation_depends_on_mode(int) const
{
    return false;
}

s_translation_context instrument_config::translation_context(const s_connection* conn) const
{
    s_translation_context context;
    context.mode = get_value_int(1);
    context.current_option = conn ? conn->current_option : 0;
    return context;
}

void instrument_config::write_report(std::ostream&) const {}

void instrument_config::write_report(std::iostream* stream) const
{
    if (stream != nullptr) {
        write_report(static_cast<std::ostream&>(*stream));
    }
}

// Through fwrite, never a format string: a "%" in a value stays as it is.
void instrument_config::write_report(std::FILE* file) const
{
    if (file == nullptr) {
        return;
    }
    std::ostringstream out;
    write_report(out);
    const std::string text = std::move(out).str();
    std::fwrite(text.data(), 1, text.size(), file);
}
