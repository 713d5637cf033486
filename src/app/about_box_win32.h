// The About box: the program's name and version.
#pragma once

#include <windows.h>

void show_about_box(HWND owner);
