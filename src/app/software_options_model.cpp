#include "app/software_options_model.h"

#include <ios>
#include <sstream>

#include "app/number_format_locale.h"
#include "app/number_format_settings.h"
#include "app/separator_rules.h"
#include "app/settings.h"

const char* const number_format_choice_names[number_format_choice_count] = {
    "Default", "UK/US (forced)", "France (forced)", "Germany (forced)", "Custom"};

namespace {

constexpr int custom_choice = number_format_choice_count - 1;
constexpr double example_value = 123456.789;
constexpr int example_decimals = 3;

}  // namespace

int number_format_choice_of_type(int type)
{
    if (type == NUMBER_FORMAT_CUSTOM) {
        return custom_choice;
    }
    return type >= 0 && type < custom_choice ? type : 0;
}

int number_format_type_of_choice(int choice)
{
    if (choice == custom_choice) {
        return NUMBER_FORMAT_CUSTOM;
    }
    return choice >= 0 && choice < custom_choice ? choice : NUMBER_FORMAT_DEFAULT;
}

std::string number_format_example(int type, number_conventions& conventions, user_prompt& prompt)
{
    std::ostringstream text;
    apply_number_format(text, type, conventions, prompt);
    text.setf(std::ios::fixed, std::ios::floatfield);
    text.precision(example_decimals);
    text << example_value;
    return text.str();
}

software_options_model::software_options_model(number_conventions& conventions, user_prompt& prompt)
    : conventions_(conventions), prompt_(prompt), choice_(number_format_choice_of_type(number_format_type()))
{
    update_example();
}

bool software_options_model::separators_enabled() const
{
    return choice_ == custom_choice;
}

char software_options_model::separator(separator_field field) const
{
    return field == separator_field::decimal ? decimal_separator() : thousands_separator();
}

void software_options_model::choose(int choice)
{
    choice_ = choice >= 0 && choice < number_format_choice_count ? choice : 0;
    update_example();
}

s_separator_edit software_options_model::edit_separator(separator_field field, const std::string& text)
{
    s_separator_edit outcome;
    outcome.separator = separator(field);
    if (text.empty() || text.front() == outcome.separator) {
        return outcome;
    }
    if (separator_refused(text.front())) {
        outcome.restore = true;
        return outcome;
    }
    outcome.separator = text.front();
    if (field == separator_field::decimal) {
        set_decimal_separator(outcome.separator);
    } else {
        set_thousands_separator(outcome.separator);
    }
    update_example();
    return outcome;
}

bool software_options_model::accept(profile_store& store, const std::string& file)
{
    set_number_format_type(number_format_type_of_choice(choice_));
    return !file.empty() && number_format_write(store, file, current_number_format());
}

void software_options_model::update_example()
{
    example_ = number_format_example(number_format_type_of_choice(choice_), conventions_, prompt_);
}
