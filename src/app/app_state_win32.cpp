#include "app/app_state_win32.h"

s_app_state& app_state()
{
    static s_app_state state;
    return state;
}
