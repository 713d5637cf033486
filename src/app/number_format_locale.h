// Gives an export's text stream the number format the user chose: the
// punctuation (decimal mark, thousands separator, grouping) of the type's
// convention, or the custom separators. Only the stream's locale changes:
// the program's global C and C++ locales are never touched, because the
// number reading everywhere else (atof) and the runtime's printf depend on
// them. Named locales are never asked for either: the punctuation of each
// convention comes from number_conventions.h.
//
// Main thread only: the custom separators are the ones settings.h holds.
#pragma once

#include <cstddef>
#include <locale>
#include <ostream>
#include <string>

class number_conventions;
class user_prompt;

// The number punctuation of the custom format: the decimal and thousands
// separators held in memory at the moment of each call (so a change takes
// effect in every locale built afterwards), in groups of three. One
// instance for the whole process, never deleted by the locales that use it.
class zvr_custom_locale final : public std::numpunct<char> {
public:
    zvr_custom_locale() : std::numpunct<char>(std::size_t{1}) {}
    ~zvr_custom_locale() override = default;

protected:
    char do_decimal_point() const override;
    char do_thousands_sep() const override;
    std::string do_grouping() const override;
};

// The process's one instance, made on first use.
zvr_custom_locale& custom_number_punctuation();

// The locale exported numbers of this type are written with: the classic
// locale with the type's number punctuation. When the convention of type 0
// to 3 cannot be had, tells the user
//   "Unable to set locale to %s, setting to default locale" (caption "Locale Error")
// with the locale's name, sets the type held in memory to 0 and uses the
// user's default convention (or, should that fail too, the classic locale's
// punctuation). A type the program does not know is taken as 0.
std::locale number_format_locale(int type, number_conventions& conventions, user_prompt& prompt);

// Imbues the stream with number_format_locale(type, ...).
void apply_number_format(std::ostream& stream, int type, number_conventions& conventions, user_prompt& prompt);
// The same with the system's conventions.
void apply_number_format(std::ostream& stream, int type, user_prompt& prompt);
