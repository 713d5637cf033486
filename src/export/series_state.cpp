#include "export/series_state.h"

s_series_state& fra_series_state()
{
    static s_series_state state;
    return state;
}

s_series_state& lcr_series_state()
{
    static s_series_state state;
    return state;
}
