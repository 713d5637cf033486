#include "app/debug_output.h"

#include <atomic>

#ifdef _WIN32
#include <windows.h>
#else
#include <cstdio>
#include <cstdlib>
#endif

namespace {

std::atomic<debug_output_sink> redirected{nullptr};

void platform_debug_output(const char* text)
{
#ifdef _WIN32
    OutputDebugStringA(text);
#else
    static const bool enabled = std::getenv("CORVEXA2_DEBUG") != nullptr;
    if (enabled) {
        std::fputs(text, stderr);
    }
#endif
}

}  // namespace

void debug_output(const char* text)
{
    if (debug_output_sink sink = redirected.load()) {
        sink(text);
    } else {
        platform_debug_output(text);
    }
}

void debug_output_redirect(debug_output_sink sink)
{
    redirected = sink;
}
