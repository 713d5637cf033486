// wintool: drives the program's windows from a second process in end-to-end
// tests. One subcommand per call; prints what it read on standard output and
// exits 0 on success, 1 when a window was not found in time or an action
// failed, 2 on a usage error. "-" stands for any class or title.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "key_input.h"
#include "window_search.h"

namespace {

using arguments = std::vector<std::string>;

double seconds_argument(const arguments& args, std::size_t index, double fallback)
{
    return index < args.size() ? std::atof(args[index].c_str()) : fallback;
}

int control_id_argument(const std::string& text)
{
    return static_cast<int>(std::strtol(text.c_str(), nullptr, 0));
}

int report_missing(const char* what, const std::string& name)
{
    std::fprintf(stderr, "no %s \"%s\"\n", what, name.c_str());
    return 1;
}

int wait_window(const arguments& args)
{
    const HWND found = wait_for([&] { return find_top_window(args[0], args[1]); },
                                seconds_argument(args, 2, 10.0));
    if (found == nullptr) {
        return report_missing("window", args[0] + " / " + args[1]);
    }
    std::printf("%p\n", static_cast<void*>(found));
    return 0;
}

int wait_gone(const arguments& args)
{
    const double seconds = seconds_argument(args, 1, 10.0);
    const bool gone = wait_until([&] { return find_top_window(args[0], "-") == nullptr; }, seconds);
    return gone ? 0 : report_missing("end of window", args[0]);
}

int close_window(const arguments& args)
{
    const HWND window = find_top_window(args[0], args.size() > 1 ? args[1] : "-");
    if (window == nullptr) {
        return report_missing("window", args[0]);
    }
    return PostMessageA(window, WM_CLOSE, 0, 0) ? 0 : 1;
}

int find_dialog_command(const arguments& args)
{
    const HWND dialog = wait_for([&] { return find_dialog(args[0]); }, seconds_argument(args, 1, 10.0));
    if (dialog == nullptr) {
        return report_missing("dialog", args[0]);
    }
    std::printf("%p\n", static_cast<void*>(dialog));
    return 0;
}

int dialog_text(const arguments& args)
{
    const HWND dialog = find_dialog(args[0]);
    if (dialog == nullptr) {
        return report_missing("dialog", args[0]);
    }
    // A message box keeps its text in the static control 0xFFFF.
    const int id = args.size() > 1 ? control_id_argument(args[1]) : 0xFFFF;
    const HWND control = GetDlgItem(dialog, id);
    if (control == nullptr) {
        return report_missing("control", args.size() > 1 ? args[1] : "0xFFFF");
    }
    std::printf("%s\n", window_text(control).c_str());
    return 0;
}

int click_dialog_button(const arguments& args)
{
    const HWND dialog = find_dialog(args[0]);
    if (dialog == nullptr) {
        return report_missing("dialog", args[0]);
    }
    const int id = control_id_argument(args[1]);
    const HWND button = GetDlgItem(dialog, id);
    if (button == nullptr) {
        return report_missing("button", args[1]);
    }
    // Posted, so a button that opens another modal window does not block us.
    return PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button))
               ? 0
               : 1;
}

int post_command(const arguments& args)
{
    const HWND window = find_top_window(args[0], "-");
    if (window == nullptr) {
        return report_missing("window", args[0]);
    }
    return PostMessageA(window, WM_COMMAND, MAKEWPARAM(control_id_argument(args[1]), 0), 0) ? 0 : 1;
}

int window_text_command(const arguments& args)
{
    HWND window = find_top_window(args[0], "-");
    if (window != nullptr && args.size() > 1) {
        window = GetDlgItem(window, control_id_argument(args[1]));
    }
    if (window == nullptr) {
        return report_missing("window", args[0]);
    }
    std::printf("%s\n", window_text(window).c_str());
    return 0;
}

int foreground(const arguments& args)
{
    const HWND window = find_top_window(args[0], args.size() > 1 ? args[1] : "-");
    if (window == nullptr) {
        return report_missing("window", args[0]);
    }
    SetForegroundWindow(window);
    SetActiveWindow(window);
    return 0;
}

int send_keys(const arguments& args)
{
    for (const std::string& key : args) {
        if (!send_key(key)) {
            return 1;
        }
    }
    return 0;
}

BOOL CALLBACK print_window(HWND window, LPARAM)
{
    std::printf("%p %s \"%s\"%s\n", static_cast<void*>(window), class_name_of(window).c_str(),
                window_text(window).c_str(), IsWindowVisible(window) ? "" : " (hidden)");
    return TRUE;
}

int list_windows(const arguments&)
{
    EnumWindows(print_window, 0);
    return 0;
}

struct s_command {
    const char* name;
    std::size_t least_arguments;
    const char* usage;
    int (*run)(const arguments&);
};

constexpr s_command commands[] = {
    {"wait-window", 2, "CLASS TITLE [SECONDS]", wait_window},
    {"wait-gone", 1, "CLASS [SECONDS]", wait_gone},
    {"close", 1, "CLASS [TITLE]", close_window},
    {"find-dialog", 1, "TITLE [SECONDS]", find_dialog_command},
    {"dialog-text", 1, "TITLE [CONTROL-ID]", dialog_text},
    {"click-dialog-button", 2, "TITLE CONTROL-ID", click_dialog_button},
    {"post-command", 2, "CLASS COMMAND-ID", post_command},
    {"window-text", 1, "CLASS [CONTROL-ID]", window_text_command},
    {"foreground", 1, "CLASS [TITLE]", foreground},
    {"send-keys", 1, "KEY... (alt+?, ctrl+c, enter, f1, text:abc)", send_keys},
    {"list", 0, "", list_windows},
};

int usage()
{
    std::fprintf(stderr, "usage: wintool COMMAND ARGUMENTS\n");
    for (const s_command& command : commands) {
        std::fprintf(stderr, "  %s %s\n", command.name, command.usage);
    }
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        return usage();
    }
    const std::string name = argv[1];
    const arguments args(argv + 2, argv + argc);
    for (const s_command& command : commands) {
        if (name == command.name) {
            if (args.size() < command.least_arguments) {
                return usage();
            }
            const int result = command.run(args);
            std::fflush(stdout);
            return result;
        }
    }
    return usage();
}
