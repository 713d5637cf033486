#include "fra/sweep_settings_accept.h"

#include "config/config_transfer.h"
#include "config/instrument_config.h"
#include "db/db_read.h"
#include "fra/sweep_settings_limits.h"
#include "fra/sweep_settings_store.h"

std::int64_t test_details_host::find_session(const std::string& name)
{
    return db_find_session_by_name(name.c_str());
}

void test_details_host::set_pending_test(s_db_test&&) {}

bool confirm_test_details(const s_test_details_target& target, const s_sweep_settings_texts& texts,
                          user_prompt& prompt, test_details_host& host)
{
    s_sweep_settings_texts checked = texts;
    if (target.variant == test_details_variant::fra && checked.save_to_database) {
        checked.session_number = host.find_session(checked.session_name);
    }
    const s_sweep_settings_verdict verdict =
        check_sweep_settings(target.variant, checked, sweep_limits_of(*target.config));
    if (!verdict.accepted) {
        for (const s_settings_message& message : verdict.messages) {
            prompt.tell(message.text.c_str(), message.caption.c_str(), message.icon);
        }
        return false;
    }

    const s_sweep_settings_accepted& values = verdict.values;
    if (values.save_to_database) {
        host.set_pending_test(pending_test_of(values));
    }
    store_sweep_settings(*target.config, values);
    if (target.connection != nullptr) {
        // The transfer reports its own failures; they do not stop the sweep
        // settings from being taken.
        try {
            target.config->write_all(target.connection, true);
        } catch (const config_transfer_error&) {
        }
    }
    apply_sweep_settings(values, *target.request, *target.repeat);
    if (target.variant == test_details_variant::lcr && target.cell9a_setup != nullptr) {
        *target.cell9a_setup = values.cell9a_setup;
    }
    return true;
}
