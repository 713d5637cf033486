#include "instrument_setup.h"

#include <cstdio>

#include "app/user_prompt.h"
#include "config/config_selection.h"
#include "config/config_transfer.h"
#include "link/connection.h"
#include "link/identify.h"

bool identify_and_select(cli_context& context)
{
    s_connection* conn = context.connection;
    if (conn->interface == LINK_NONE) {
        std::fprintf(context.err, "No connection chosen: use --lan, --serial or --usb, or set one in the settings\n");
        return false;
    }
    const identify_result result = identify_connection(conn, *context.prompt);
    if (!result.identified) {
        context.prompt->tell(result.message.empty() ? "The instrument could not be identified" : result.message.c_str(),
                             "Test Connection", prompt_icon::information);
        return false;
    }
    config_objects_create();
    config_select_for_type(conn->instrument_type);
    config_transfer_use_prompt(context.prompt);
    return true;
}
