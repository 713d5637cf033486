#include "window_search.h"

#include <vector>

namespace {

bool matches(const std::string& wanted, const std::string& actual)
{
    return wanted.empty() || wanted == "-" || wanted == actual;
}

struct s_search {
    std::string class_name;
    std::string title;
    HWND found = nullptr;
};

BOOL CALLBACK visit(HWND window, LPARAM parameter)
{
    auto* search = reinterpret_cast<s_search*>(parameter);
    if (matches(search->class_name, class_name_of(window)) && matches(search->title, window_text(window))) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND find_top_window(const std::string& class_name, const std::string& title)
{
    s_search search{class_name, title};
    EnumWindows(visit, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND find_dialog(const std::string& title)
{
    return find_top_window("#32770", title);
}

std::string window_text(HWND window)
{
    const LRESULT length = SendMessageA(window, WM_GETTEXTLENGTH, 0, 0);
    if (length <= 0) {
        return {};
    }
    std::vector<char> buffer(static_cast<std::size_t>(length) + 1, '\0');
    SendMessageA(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
    buffer.back() = '\0';
    return buffer.data();
}

std::string class_name_of(HWND window)
{
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}
