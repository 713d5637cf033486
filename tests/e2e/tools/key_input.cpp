#include "key_input.h"

#include <windows.h>

#include <cctype>
#include <cstdio>
#include <string_view>
#include <vector>

namespace {

struct s_named_key {
    const char* name;
    WORD virtual_key;
};

constexpr s_named_key named_keys[] = {
    {"enter", VK_RETURN}, {"esc", VK_ESCAPE},  {"tab", VK_TAB},     {"space", VK_SPACE},
    {"backspace", VK_BACK}, {"delete", VK_DELETE}, {"home", VK_HOME}, {"end", VK_END},
    {"up", VK_UP},        {"down", VK_DOWN},   {"left", VK_LEFT},   {"right", VK_RIGHT},
    {"f1", VK_F1},        {"f2", VK_F2},       {"f3", VK_F3},       {"f4", VK_F4},
    {"f5", VK_F5},        {"f6", VK_F6},       {"f7", VK_F7},       {"f8", VK_F8},
    {"f9", VK_F9},        {"f10", VK_F10},     {"f11", VK_F11},     {"f12", VK_F12},
};

constexpr s_named_key modifiers[] = {
    {"alt", VK_MENU}, {"ctrl", VK_CONTROL}, {"shift", VK_SHIFT}};

INPUT key_event(WORD virtual_key, bool up)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtual_key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(virtual_key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

void hold(std::vector<WORD>* held, WORD modifier)
{
    for (WORD already : *held) {
        if (already == modifier) {
            return;
        }
    }
    held->push_back(modifier);
}

// The key and the modifiers a character needs on the current keyboard layout.
bool character_key(char c, WORD* virtual_key, std::vector<WORD>* held)
{
    const SHORT scan = VkKeyScanA(c);
    if (scan == -1) {
        return false;
    }
    *virtual_key = static_cast<WORD>(scan & 0xFF);
    const int shift_state = (scan >> 8) & 0xFF;
    if (shift_state & 1) {
        hold(held, VK_SHIFT);
    }
    if (shift_state & 2) {
        hold(held, VK_CONTROL);
    }
    if (shift_state & 4) {
        hold(held, VK_MENU);
    }
    return true;
}

bool press(WORD virtual_key, const std::vector<WORD>& held)
{
    std::vector<INPUT> inputs;
    for (WORD modifier : held) {
        inputs.push_back(key_event(modifier, false));
    }
    inputs.push_back(key_event(virtual_key, false));
    inputs.push_back(key_event(virtual_key, true));
    for (auto it = held.rbegin(); it != held.rend(); ++it) {
        inputs.push_back(key_event(*it, true));
    }
    const UINT sent = SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    Sleep(30);
    return sent == inputs.size();
}

std::string lower(std::string_view text)
{
    std::string out(text);
    for (char& c : out) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return out;
}

bool type_text(std::string_view text)
{
    for (char c : text) {
        WORD virtual_key = 0;
        std::vector<WORD> held;
        if (!character_key(c, &virtual_key, &held) || !press(virtual_key, held)) {
            std::fprintf(stderr, "cannot type '%c'\n", c);
            return false;
        }
    }
    return true;
}

}  // namespace

bool send_key(const std::string& key)
{
    constexpr std::string_view text_prefix = "text:";
    if (key.starts_with(text_prefix)) {
        return type_text(std::string_view(key).substr(text_prefix.size()));
    }
    std::vector<WORD> held;
    std::string_view rest = key;
    // A '+' right at the end is the key itself ("ctrl++").
    for (std::size_t plus = rest.find('+'); plus != std::string_view::npos && plus + 1 < rest.size();
         plus = rest.find('+')) {
        const std::string name = lower(rest.substr(0, plus));
        bool known = false;
        for (const s_named_key& modifier : modifiers) {
            if (name == modifier.name) {
                hold(&held, modifier.virtual_key);
                known = true;
            }
        }
        if (!known) {
            std::fprintf(stderr, "unknown modifier '%s'\n", name.c_str());
            return false;
        }
        rest.remove_prefix(plus + 1);
    }
    const std::string name = lower(rest);
    for (const s_named_key& named : named_keys) {
        if (name == named.name) {
            return press(named.virtual_key, held);
        }
    }
    WORD virtual_key = 0;
    if (rest.size() == 1 && character_key(rest.front(), &virtual_key, &held)) {
        return press(virtual_key, held);
    }
    std::fprintf(stderr, "unknown key '%s'\n", std::string(rest).c_str());
    return false;
}
