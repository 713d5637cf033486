// Diagnostic traces for developers: the debugger output on Windows
// (OutputDebugStringA); on Linux standard error, but only while the
// CORVEXA2_DEBUG environment variable is set, so tools and tests stay quiet.
#pragma once

void debug_output(const char* text);

// Sends every trace to sink instead (tests); nullptr restores the default.
using debug_output_sink = void (*)(const char* text);
void debug_output_redirect(debug_output_sink sink);
