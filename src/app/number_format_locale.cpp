#include "app/number_format_locale.h"

#include <cstdio>

#include "app/number_conventions.h"
#include "app/number_format_settings.h"
#include "app/settings.h"
#include "app/user_prompt.h"

namespace {

// A convention's punctuation, owned by the locale it is put into.
class fixed_number_punctuation final : public std::numpunct<char> {
public:
    explicit fixed_number_punctuation(const s_number_punctuation& punctuation)
        : std::numpunct<char>(std::size_t{0}), punctuation_(punctuation)
    {
    }

protected:
    char do_decimal_point() const override { return punctuation_.decimal; }
    char do_thousands_sep() const override { return punctuation_.thousands; }
    std::string do_grouping() const override { return punctuation_.grouping; }

private:
    s_number_punctuation punctuation_;
};

struct s_convention_choice {
    int type;
    number_convention convention;
    const char* locale_name;  // as the failure message names it
};

const s_convention_choice convention_choices[] = {
    {NUMBER_FORMAT_DEFAULT, number_convention::user_default, "Default"},
    {NUMBER_FORMAT_UK_US, number_convention::uk_us, "English_UK"},
    {NUMBER_FORMAT_FRANCE, number_convention::france, "French_France"},
    {NUMBER_FORMAT_GERMANY, number_convention::germany, "German_germany"},
};

const s_convention_choice& convention_choice_of(int type)
{
    for (const s_convention_choice& choice : convention_choices) {
        if (choice.type == type) {
            return choice;
        }
    }
    return convention_choices[0];
}

bool convention_locale(number_convention convention, number_conventions& conventions, std::locale* locale)
{
    s_number_punctuation punctuation;
    if (!conventions.punctuation(convention, &punctuation)) {
        return false;
    }
    *locale = std::locale(std::locale::classic(), new fixed_number_punctuation(punctuation));
    return true;
}

}  // namespace

char zvr_custom_locale::do_decimal_point() const
{
    return decimal_separator();
}

char zvr_custom_locale::do_thousands_sep() const
{
    return thousands_separator();
}

std::string zvr_custom_locale::do_grouping() const
{
    return "\3";
}

zvr_custom_locale& custom_number_punctuation()
{
    // Never destroyed: a stream imbued late in the program may still use it.
    static zvr_custom_locale* const facet = new zvr_custom_locale();
    return *facet;
}

std::locale number_format_locale(int type, number_conventions& conventions, user_prompt& prompt)
{
    if (type == NUMBER_FORMAT_CUSTOM) {
        // The facet is shared, not owned: its reference count keeps the locale from deleting it.
        return std::locale(std::locale::classic(), &custom_number_punctuation());
    }
    const s_convention_choice& choice = convention_choice_of(type);
    std::locale locale;
    if (convention_locale(choice.convention, conventions, &locale)) {
        return locale;
    }
    char text[128];
    std::snprintf(text, sizeof text, "Unable to set locale to %s, setting to default locale", choice.locale_name);
    prompt.tell(text, "Locale Error", prompt_icon::none);
    set_number_format_type(NUMBER_FORMAT_DEFAULT);
    if (choice.convention != number_convention::user_default &&
        convention_locale(number_convention::user_default, conventions, &locale)) {
        return locale;
    }
    return std::locale::classic();
}

void apply_number_format(std::ostream& stream, int type, number_conventions& conventions, user_prompt& prompt)
{
    stream.imbue(number_format_locale(type, conventions, prompt));
}

void apply_number_format(std::ostream& stream, int type, user_prompt& prompt)
{
    apply_number_format(stream, type, platform_number_conventions(), prompt);
}
