// Which characters may serve as the decimal or thousands separator of
// exported numbers. One rule for the settings file and the options dialog.
#pragma once

// True for characters a number would be misread with: letters and digits
// (ASCII), signs and other marks ("+-*\/"`$" and the pound sign 0xA3), and
// every control character (tab, CR, LF, NUL and the rest).
bool separator_refused(char c);
