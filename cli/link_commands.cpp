#include "link_commands.h"

#include <cstdio>
#include <string>
#include <vector>

#include "app/user_prompt.h"
#include "graph/exponent_text.h"
#include "cli_context.h"
#include "link/connection.h"
#include "link/identify.h"

namespace {

constexpr int QUERY_REPLY_SIZE = 256;
constexpr int MAX_VALUES = 2000;

// Opens the link; on failure prints the same text identification shows.
bool open_link(cli_context& context)
{
    s_connection* conn = context.connection;
    if (link_open(conn) == 0) {
        return true;
    }
    if (conn->interface == LINK_LAN) {
        std::fprintf(context.err, "Failed to connect to IP address %s\n", conn->ip_address);
    } else if (conn->interface == LINK_NONE) {
        std::fprintf(context.err, "No connection chosen: use --lan, --serial or --usb\n");
    } else {
        std::fprintf(context.err, "Unable to open port %s\n", conn->com_port);
    }
    link_close(conn);
    return false;
}

// "query TEXT" and "values TEXT": one argument, the command text.
bool command_text(cli_context& context, std::string* text)
{
    if (context.args.empty()) {
        cli_usage_error(context, "missing TEXT");
        return false;
    }
    *text = context.args[0] + "\n";
    return true;
}

}  // namespace

int run_identify(cli_context& context)
{
    if (!context.args.empty()) {
        return cli_usage_error(context, "identify takes no arguments");
    }
    s_connection* conn = context.connection;
    if (conn->interface == LINK_NONE) {
        std::fprintf(context.err, "No connection chosen: use --lan, --serial or --usb, or set one in the settings\n");
        return CLI_FAILED;
    }
    if (!identify_instrument(*context.prompt, conn)) {
        return CLI_FAILED;
    }
    std::fprintf(context.out, "instrument_type=%d sub_model=%d current_option=%d\n", conn->instrument_type,
                 conn->sub_model, conn->current_option);
    return CLI_OK;
}

int run_query(cli_context& context)
{
    std::string text;
    if (context.args.size() > 1) {
        return cli_usage_error(context, "query takes one TEXT (quote it)");
    }
    if (!command_text(context, &text)) {
        return CLI_USAGE;
    }
    if (!open_link(context)) {
        return CLI_FAILED;
    }
    link_send(context.connection, text.c_str());
    char reply[QUERY_REPLY_SIZE];
    const int result = link_read_line(context.connection, reply, QUERY_REPLY_SIZE);
    link_close(context.connection);
    if (result <= 0) {
        std::fprintf(context.err, "No reply\n");
        return CLI_FAILED;
    }
    std::fprintf(context.out, "%s\n", reply);
    return CLI_OK;
}

int run_values(cli_context& context)
{
    bool strict = false;
    std::vector<std::string> words;
    for (const std::string& arg : context.args) {
        if (arg == "--strict") {
            strict = true;
        } else {
            words.push_back(arg);
        }
    }
    if (words.size() > 1) {
        return cli_usage_error(context, "values takes one TEXT (quote it)");
    }
    context.args = words;
    std::string text;
    if (!command_text(context, &text)) {
        return CLI_USAGE;
    }
    if (!open_link(context)) {
        return CLI_FAILED;
    }
    link_send(context.connection, text.c_str());
    static double values[MAX_VALUES];
    const int count = link_read_values(context.connection, values, MAX_VALUES, strict);
    link_close(context.connection);
    if (count <= 0) {
        std::fprintf(context.err, "No reply, or no values in it\n");
        return CLI_FAILED;
    }
    for (int i = 0; i < count; ++i) {
        std::fprintf(context.out, "%s\n", general_number_text(values[i], 17).c_str());
    }
    return CLI_OK;
}
