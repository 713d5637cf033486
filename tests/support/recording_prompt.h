// A user_prompt that records what the program would have shown.
#pragma once

#include <string>
#include <vector>

#include "app/user_prompt.h"

class recording_prompt final : public user_prompt {
public:
    struct shown {
        std::string text;
        std::string caption;
        prompt_icon icon;
        std::string buttons = "OK";  // "OK", "Yes/No" or "OK/Cancel"
    };
    void tell(const char* text, const char* caption, prompt_icon icon) override
    {
        messages.push_back({text, caption, icon});
    }
    bool ask_yes_no(const char* text, const char* caption, prompt_icon icon) override
    {
        messages.push_back({text, caption, icon, "Yes/No"});
        return answer_yes;
    }
    bool ask_ok_cancel(const char* text, const char* caption, prompt_icon icon) override
    {
        messages.push_back({text, caption, icon, "OK/Cancel"});
        return answer_yes;
    }
    void set_busy(bool busy) override { busy_changes.push_back(busy); }

    std::vector<shown> messages;
    std::vector<bool> busy_changes;
    bool answer_yes = false;  // the answer to every question: Yes, or OK
};
