// How the core asks or tells the user something without knowing about windows.
// The Win32 layer answers with message boxes (owned by a window it chose) and
// the wait cursor; the command-line tool prints to its terminal; tests record.
#pragma once

enum class prompt_icon { none, information, warning, error, question };

class user_prompt {
public:
    virtual ~user_prompt() = default;
    // A message box with an OK button: text and caption exactly as given.
    virtual void tell(const char* text, const char* caption, prompt_icon icon) = 0;
    // A Yes/No question; true for Yes.
    virtual bool ask_yes_no(const char* text, const char* caption, prompt_icon icon) = 0;
    // A box with OK and Cancel buttons; true for OK. Prompts without such a
    // box answer it as the Yes/No question (Yes for OK).
    virtual bool ask_ok_cancel(const char* text, const char* caption, prompt_icon icon)
    {
        return ask_yes_no(text, caption, icon);
    }
    // The wait cursor while a blocking operation runs (true on, false off).
    virtual void set_busy(bool busy) = 0;
};

// Answers every question with No, shows nothing: for code paths with no user.
class silent_prompt final : public user_prompt {
public:
    void tell(const char*, const char*, prompt_icon) override {}
    bool ask_yes_no(const char*, const char*, prompt_icon) override { return false; }
    void set_busy(bool) override {}
};
