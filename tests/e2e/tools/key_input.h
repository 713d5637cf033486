// Typing into whatever window has the keyboard focus, through SendInput (the
// only way accelerators see the keys). A key is written as modifiers and a key
// joined by '+': "alt+?", "ctrl+c", "shift+tab", "enter", "f1", or
// "text:some words" to type each character of the text.
#pragma once

#include <string>

// False (with a message on standard error) for a key it cannot type.
bool send_key(const std::string& key);
