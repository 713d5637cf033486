#include "link/identify.h"

#include <cstdio>
#include <cstring>
#include <iterator>

#include "app/user_prompt.h"
#include "link/comms_log.h"
#include "link/connection.h"
#include "link/serial_port_names.h"

namespace {

constexpr int IDENTIFY_ATTEMPTS = 5;
constexpr int IDENTIFY_TIMEOUT_MS = 500;
constexpr int IDENTITY_REPLY_SIZE = 128;
constexpr const char* MESSAGE_CAPTION = "Test Connection";

// Replies are accepted only from these makers and products (exact bytes).
constexpr const char* accepted_prefixes[] = {
    "ZELVORIAN,HVX",
    "ZELVORIAN,TRX",
    "Quelvar,",
    "ZELVORIAN,VOLMERQ",
    "OKTAVEN,TRX",
};

enum class model_extra { none, family_c_sub_model, family_a_current_option };

struct model_rule {
    const char* code_prefix;
    int type;
    model_extra extra;
};

// Tested in order against the model code (the text after the first comma);
// the first match decides.
constexpr model_rule model_rules[] = {
    {"AXP3", 13, model_extra::none},
    {"AXP1", 13, model_extra::none},
    {"AXP2", 13, model_extra::none},
    {"AXP4", 15, model_extra::none},
    {"AXP5", 15, model_extra::none},
    {"AXP6", 15, model_extra::none},
    {"HVXC", INSTRUMENT_HVXC, model_extra::family_c_sub_model},
    {"HVXB", INSTRUMENT_HVXA, model_extra::none},
    {"HVXA", INSTRUMENT_HVXA, model_extra::family_a_current_option},
    {"TRXA", 10, model_extra::none},
    {"TRXB", 11, model_extra::none},
    {"WXE7", 5, model_extra::none},
    {"WXD1", 5, model_extra::none},
    {"WXE6", 4, model_extra::none},
    {"WXE5", 16, model_extra::none},
    {"WXE3", 2, model_extra::none},
    {"WXE4", 3, model_extra::none},
    {"TQM interface", 3, model_extra::none},
    {"WXE2", 1, model_extra::none},
    {"WXE1", 6, model_extra::none},
    {"QLM", 12, model_extra::none},
    {"QCA", 12, model_extra::none},
};

constexpr const char* type_names[] = {
    "Unknown", "WXE2", "WXE3", "WXE4", "WXE6", "WXE7", "WXE1", "HVXA",
    "HVXB", "HVXC", "TRXA", "TRXB", "QLM", "AXP1/AXP2/AXP3", "KESTRAN PSC", "AXP4/AXP5/AXP6",
};

bool starts_with(const char* text, const char* prefix)
{
    return std::strncmp(text, prefix, std::strlen(prefix)) == 0;
}

bool has_accepted_prefix(const char* reply)
{
    for (const char* prefix : accepted_prefixes) {
        if (starts_with(reply, prefix)) {
            return true;
        }
    }
    return false;
}

// Applies the model-code rules; sets the record's type and the fields the
// matching rule names.
void classify_model(s_connection* conn, const char* model_code)
{
    conn->instrument_type = INSTRUMENT_UNKNOWN;
    for (const model_rule& rule : model_rules) {
        if (!starts_with(model_code, rule.code_prefix)) {
            continue;
        }
        conn->instrument_type = rule.type;
        if (rule.extra == model_extra::family_c_sub_model) {
            conn->sub_model = starts_with(model_code, "HVXCM") ? 3 : 2;
        } else if (rule.extra == model_extra::family_a_current_option) {
            conn->current_option = starts_with(model_code, "HVXAB") ? 0 : 2;
        }
        return;
    }
}

// Asks for the identity up to five times; true with the reply in `reply`
// once one carries an accepted prefix.
bool ask_identity(s_connection* conn, char (&reply)[IDENTITY_REPLY_SIZE])
{
    for (int attempt = 0; attempt < IDENTIFY_ATTEMPTS; ++attempt) {
        link_send(conn, "*IDN?\n");
        if (link_read_line(conn, reply, IDENTITY_REPLY_SIZE) > 0 && has_accepted_prefix(reply)) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::string link_open_failure_message(const s_connection* conn)
{
    if (conn->interface == LINK_LAN) {
        return std::string("Failed to connect to IP address ") + conn->ip_address;
    }
    // A device path the user named is shown as given, not as its COM alias.
    return "Unable to open port " + serial_port_shown_name(conn->com_port);
}

identify_result identify_connection(s_connection* conn, user_prompt& prompt)
{
    identify_result result;
    if (conn->interface == LINK_NONE) {
        return result;
    }
    comms_log_write("***\tCONNECTING\t***\n");
    if (link_open(conn) != 0) {
        result.message = link_open_failure_message(conn);
        link_close(conn);
        return result;
    }
    comms_log_write("***\tCONNECTED\t***\n");
    const char reset[2] = {LINK_RESET_BYTE, '\0'};
    link_send(conn, reset);
    link_set_timeout(conn, IDENTIFY_TIMEOUT_MS);
    prompt.set_busy(true);

    char reply[IDENTITY_REPLY_SIZE] = {};
    const bool accepted = ask_identity(conn, reply);
    link_set_timeout(conn, LINK_DEFAULT_TIMEOUT_MS);

    if (accepted && reply[0] != '\0') {
        const char* comma = std::strchr(reply, ',');
        classify_model(conn, comma ? comma + 1 : "");
        if (conn->instrument_type != INSTRUMENT_UNKNOWN) {
            char marker[IDENTITY_REPLY_SIZE + 48];
            std::snprintf(marker, sizeof marker, "***\tIDENTIFIED: %s (%d)\t***\n", reply, conn->instrument_type);
            comms_log_write(marker);
            connection_set_identity(conn, reply);
            result.identified = true;
        } else {
            comms_log_write("***\tUNIDENTIFIED INSTRUMENT\t***\n");
        }
    }

    if (result.identified) {
        result.message = std::string("The connection was successful\n") + conn->identity;
    } else if (conn->instrument_type != INSTRUMENT_UNKNOWN) {
        result.message = "Incompatable instrument";
    } else {
        result.message = "The connection failed";
    }
    prompt.set_busy(false);
    link_close(conn);
    return result;
}

bool identify_instrument(user_prompt& prompt, s_connection* conn)
{
    const identify_result result = identify_connection(conn, prompt);
    if (!result.message.empty()) {
        prompt.tell(result.message.c_str(), MESSAGE_CAPTION, prompt_icon::information);
    }
    return result.identified;
}

const char* instrument_type_name(int type)
{
    if (type < 0 || type >= static_cast<int>(std::size(type_names))) {
        return nullptr;
    }
    return type_names[type];
}
