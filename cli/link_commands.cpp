#include "link_commands.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/user_prompt.h"
#include "graph/exponent_text.h"
#include "graph/number_format.h"
#include "cli_context.h"
#include "link/connection.h"
#include "link/identify.h"

namespace {

// A query shows any line the link can read; values as many as a sweep holds.
constexpr int QUERY_REPLY_SIZE = LINK_VALUES_BUFFER_SIZE;
constexpr int MAX_VALUES = 2000;

// Why a read gave no reply, in the link's own words.
void tell_read_failure(const cli_context& context, int size, const char* none)
{
    const link_read_outcome outcome = link_last_read(context.connection);
    const std::string why = outcome == LINK_READ_LINE ? std::string(none) : link_read_failure_text(outcome, size);
    std::fprintf(context.err, "%s\n", why.c_str());
}

// Opens the link; on failure prints the same text identification shows.
bool open_link(cli_context& context)
{
    s_connection* conn = context.connection;
    if (link_open(conn) == 0) {
        return true;
    }
    if (conn->interface == LINK_NONE) {
        std::fprintf(context.err, "No connection chosen: use --lan, --serial or --usb\n");
    } else {
        std::fprintf(context.err, "%s\n", link_open_failure_message(conn).c_str());
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

// A NUL byte with text after it, or a reply of nothing but NUL bytes.
bool holds_inner_nul(const char* reply, int length)
{
    const void* nul = std::memchr(reply, '\0', static_cast<std::size_t>(length));
    const std::size_t text = nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - reply)
                                 : static_cast<std::size_t>(length);
    if (text == 0) {
        return true;
    }
    for (std::size_t i = text; i < static_cast<std::size_t>(length); ++i) {
        if (reply[i] != '\0') {
            return true;
        }
    }
    return false;
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
    static char reply[QUERY_REPLY_SIZE];
    const int result = link_read_line(context.connection, reply, QUERY_REPLY_SIZE);
    link_close(context.connection);
    if (result <= 0) {
        tell_read_failure(context, QUERY_REPLY_SIZE, "No reply");
        return CLI_FAILED;
    }
    // A text reply is text up to its end (NUL bytes may only trail it); one
    // line shows one binary value, and a list of them is for "values".
    if (!context.connection->last_read_binary && holds_inner_nul(reply, result)) {
        std::fprintf(context.err, "The reply holds NUL bytes: it is not a text reply\n");
        return CLI_FAILED;
    }
    if (context.connection->last_read_binary && result > BINARY_VALUE_SIZE) {
        std::fprintf(context.err, "The reply is a list of %d bytes of binary values: read it with values\n", result);
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
    // One value more than is shown tells a reply that holds too many.
    static double values[MAX_VALUES + 1];
    const int count = link_read_values(context.connection, values, MAX_VALUES + 1, strict);
    link_close(context.connection);
    if (count <= 0) {
        tell_read_failure(context, LINK_VALUES_BUFFER_SIZE, "No reply, or no values in it");
        return CLI_FAILED;
    }
    if (count > MAX_VALUES) {
        std::fprintf(context.err, "The reply holds more than %d values\n", MAX_VALUES);
        return CLI_FAILED;
    }
    for (int i = 0; i < count; ++i) {
        std::fprintf(context.out, "%s\n", general_number_text(values[i], 17).c_str());
    }
    return CLI_OK;
}
