// The rules of the "Software Options" dialog, apart from its window: which
// locale choice is selected, when the separator edits are enabled, which
// typed separators are taken, the example text and what "OK" stores. The
// Win32 dialog moves texts between these and its controls.
//
// A separator typed into an edit takes effect in memory at once (settings.h),
// so the example shows it; "OK" stores the type and both separators in the
// settings file, "Cancel" stores nothing and leaves the separators taken so
// far in effect until the program ends.
#pragma once

#include <string>

class number_conventions;
class profile_store;
class user_prompt;

// The entries of the locale list, in list order; the last is the custom format.
inline constexpr int number_format_choice_count = 5;
extern const char* const number_format_choice_names[number_format_choice_count];

// The list position of a type (999 the last entry; a type the program does
// not know the first) and the type of a position (the last gives 999).
int number_format_choice_of_type(int type);
int number_format_type_of_choice(int choice);

// The dialog's example: 123456.789 in fixed notation with 3 decimals in the
// number format of the type (through apply_number_format, with its failure
// message and fallback).
std::string number_format_example(int type, number_conventions& conventions, user_prompt& prompt);

enum class separator_field { decimal, thousands };

// What the edit must do after its text changed.
struct s_separator_edit {
    bool restore = false;  // put `separator` back into the edit and select it
    char separator = '\0'; // the separator in effect for the field afterwards
};

class software_options_model {
public:
    // Opens on the type and separators held in memory; the example is made.
    software_options_model(number_conventions& conventions, user_prompt& prompt);

    int choice() const { return choice_; }
    // True only while the custom format is selected.
    bool separators_enabled() const;
    const std::string& example() const { return example_; }
    char separator(separator_field field) const;

    // The list's selection changed (a position outside the list selects the first).
    void choose(int choice);
    // The edit of a field now holds text. Its one character becomes the
    // field's separator unless it is refused (separator_rules.h): then the
    // previous one is put back. An emptied edit changes nothing: the
    // previous separator stays in effect, and the edit stays empty.
    s_separator_edit edit_separator(separator_field field, const std::string& text);

    // "OK": the selected type held in memory, and the type and both
    // separators written to the "Settings" section of file. False when they
    // were not stored: no settings file (file ""), or a write failed.
    bool accept(profile_store& store, const std::string& file);

private:
    void update_example();

    number_conventions& conventions_;
    user_prompt& prompt_;
    int choice_ = 0;
    std::string example_;
};
