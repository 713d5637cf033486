// The command-line tool's answer to the core's questions: messages go to the
// terminal (standard output) exactly as a message box would show them, and
// every question is answered No, since nobody may be there to answer.
#pragma once

#include <cstdio>

#include "app/user_prompt.h"

class terminal_prompt final : public user_prompt {
public:
    explicit terminal_prompt(std::FILE* out) : out_(out) {}
    void tell(const char* text, const char*, prompt_icon) override
    {
        std::fputs(text, out_);
        std::fputc('\n', out_);
        std::fflush(out_);
    }
    bool ask_yes_no(const char* text, const char* caption, prompt_icon icon) override
    {
        tell(text, caption, icon);
        return false;
    }
    void set_busy(bool) override {}

private:
    std::FILE* out_;
};
