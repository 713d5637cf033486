// The conventions from Windows' locale information: the decimal separator,
// thousands separator and grouping (LOCALE_SDECIMAL, LOCALE_STHOUSAND,
// LOCALE_SGROUPING) of the user's default locale and of English (United
// Kingdom) 0x0809, French (France) 0x040C and German (Germany) 0x0407.
//
// The texts are asked for in the system's code page. A separator that code
// page has no byte for comes back as '?'; when the character behind it is a
// space (recent systems group French numbers with the narrow no-break
// space), the no-break space stands for it. Any other unusable answer means
// the convention cannot be had.
#include "app/number_conventions.h"

#include <windows.h>

#include "app/system_number_punctuation.h"

namespace {

struct s_convention_locale {
    number_convention convention;
    LCID locale;
};

const s_convention_locale convention_locales[] = {
    {number_convention::user_default, LOCALE_USER_DEFAULT},
    {number_convention::uk_us, 0x0809},
    {number_convention::france, 0x040C},
    {number_convention::germany, 0x0407},
};

// Longer than any of the three items may be (4, 4 and 10 characters with
// the terminating NUL); a longer answer fails the call.
constexpr int info_text_size = 32;

bool locale_text(LCID locale, LCTYPE item, std::string* text)
{
    char buffer[info_text_size] = {};
    if (GetLocaleInfoA(locale, item, buffer, info_text_size) <= 0) {
        return false;
    }
    buffer[info_text_size - 1] = '\0';
    *text = buffer;
    return true;
}

// A one-character "?" the system put for a character of its own: the
// stand-in for that character, or "?" left as it is when the character
// really is a question mark or has no stand-in.
std::string separator_text(LCID locale, LCTYPE item, const std::string& text)
{
    if (text != "?") {
        return text;
    }
    wchar_t wide[info_text_size] = {};
    if (GetLocaleInfoW(locale, item, wide, info_text_size) != 2) {
        return text;
    }
    const char stand_in = separator_stand_in(static_cast<std::uint32_t>(wide[0]));
    return stand_in != '\0' ? std::string(1, stand_in) : text;
}

class locale_info_conventions final : public number_conventions {
public:
    bool punctuation(number_convention convention, s_number_punctuation* out) override
    {
        for (const s_convention_locale& row : convention_locales) {
            if (row.convention == convention) {
                return read(row.locale, out);
            }
        }
        return false;
    }

private:
    static bool read(LCID locale, s_number_punctuation* out)
    {
        std::string decimal;
        std::string thousands;
        std::string grouping;
        if (!locale_text(locale, LOCALE_SDECIMAL, &decimal) || !locale_text(locale, LOCALE_STHOUSAND, &thousands) ||
            !locale_text(locale, LOCALE_SGROUPING, &grouping)) {
            return false;
        }
        return punctuation_from_system_texts(separator_text(locale, LOCALE_SDECIMAL, decimal),
                                             separator_text(locale, LOCALE_STHOUSAND, thousands), grouping, out);
    }
};

}  // namespace

number_conventions& platform_number_conventions()
{
    static locale_info_conventions conventions;
    return conventions;
}
