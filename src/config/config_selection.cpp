// The four configuration objects live from their creation to the end of the
// process and are never re-created: values read for an earlier connection of
// the same model stay until the next read.
#include "config/config_selection.h"

#include <memory>

#include "config/hvx_cfg_ak.h"
#include "config/hvx_cfg_ck.h"

instrument_config* current_config = nullptr;
instrument_config* monitor_config = nullptr;

namespace {

inline constexpr int FAMILY_C_TYPE = 9;

struct s_config_objects {
    hvx_cfg_ak ak_current;
    hvx_cfg_ak ak_monitor;
    hvx_cfg_ck ck_current;
    hvx_cfg_ck ck_monitor;
};

std::unique_ptr<s_config_objects>& objects()
{
    static std::unique_ptr<s_config_objects> held;
    return held;
}

}  // namespace

void config_objects_create()
{
    if (objects()) {
        return;
    }
    objects() = std::make_unique<s_config_objects>();
    current_config = &objects()->ak_current;
    monitor_config = &objects()->ak_monitor;
}

void config_select_for_type(int instrument_type)
{
    config_objects_create();
    s_config_objects& all = *objects();
    if (instrument_type == FAMILY_C_TYPE) {
        current_config = &all.ck_current;
        monitor_config = &all.ck_monitor;
    } else {
        current_config = &all.ak_current;
        monitor_config = &all.ak_monitor;
    }
}
