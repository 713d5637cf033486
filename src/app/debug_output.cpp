#include "app/debug_output.h"

#ifdef _WIN32
#include <windows.h>

void debug_output(const char* text)
{
    OutputDebugStringA(text);
}
#else
#include <cstdio>
#include <cstdlib>

void debug_output(const char* text)
{
    static const bool enabled = std::getenv("CORVEXA2_DEBUG") != nullptr;
    if (enabled) {
        std::fputs(text, stderr);
    }
}
#endif
