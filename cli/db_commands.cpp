// The tool's commands on a test database file. Each opens the file, does
// its work through the database access layer and closes it again. Only
// "db new-session" creates a file; the others refuse a missing file, a file
// that is not a database, and one without the program's tables, with a
// message and exit status 1; a file SQLite cannot read now (locked, busy) is
// refused with SQLite's words for why. Lists are tab-separated, one row per
// line, in the order the access layer gives them, each text in its backslash
// form (db_escape_list_text) so that no byte of the data can end or split a
// row; the database's own errors go to standard error.
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include <sqlite3.h>

#include "cli_context.h"
#include "db/db_connection.h"
#include "db/db_error.h"
#include "db/db_read.h"
#include "db/db_records.h"
#include "db/db_reopen.h"
#include "db/db_write.h"
#include "db_command_support.h"
#include "db_commands.h"
#include "graph/round_trip_text.h"

namespace {

bool expect_arguments(const cli_context& context, std::size_t count, const char* usage, int* status)
{
    if (context.args.size() == count) {
        return true;
    }
    *status = cli_usage_error(context, std::string("expected ") + usage);
    return false;
}

bool row_number_argument(const cli_context& context, std::size_t index, const char* name, std::int64_t* number,
                         int* status)
{
    if (parse_row_number(context.args[index], number)) {
        return true;
    }
    *status = cli_usage_error(context, std::string(name) + " must be a whole number from 1 up");
    return false;
}

bool session_exists(const cli_context& context, std::int64_t number)
{
    s_db_session session;
    session.session_number = number;
    const int code = db_get_session(session, false);
    if (code == SQLITE_NOTFOUND) {
        std::fprintf(context.err, "No session %" PRId64 " in %s\n", number, context.args[0].c_str());
    }
    return code == SQLITE_OK;
}

// Prints each listed row as its number, a tab and the access layer's line,
// whose fields are escaped: a line break, tab or control byte in the data
// never splits or forges a row.
class printed_rows final : public db_list_target {
public:
    explicit printed_rows(std::FILE* out) : out_(out) {}
    void add_item(const char* line, std::int64_t item) override
    {
        std::fprintf(out_, "%" PRId64 "\t%s\n", item, line);
    }
    db_list_text text_form() const override { return db_list_text::escaped; }

private:
    std::FILE* out_;
};

s_db_session new_session_named(const std::string& name)
{
    s_db_session session;
    std::memcpy(session.name, name.data(), name.size());
    const std::time_t now = std::time(nullptr);
    if (const std::tm* today = std::localtime(&now)) {
        session.year = today->tm_year + 1900;
        session.month = today->tm_mon + 1;
        session.day = today->tm_mday;
    }
    return session;
}

// The exit status of a read (whose failure the access layer reports).
int finish(int code)
{
    return code == SQLITE_OK ? CLI_OK : CLI_FAILED;
}

// The exit status of a write, reporting its failure.
int finish_write(int code)
{
    if (code != SQLITE_OK) {
        db_report_error_code(code);
    }
    return finish(code);
}

// The commands on one session (FILE SESSION_ID): the arguments checked, the
// file opened and the session found, then work on it.
int run_on_session(cli_context& context, int (*work)(cli_context&, std::int64_t))
{
    int status = CLI_OK;
    std::int64_t session = 0;
    if (!expect_arguments(context, 2, "FILE SESSION_ID", &status) ||
        !row_number_argument(context, 1, "SESSION_ID", &session, &status)) {
        return status;
    }
    const database_scope scope(context);
    if (!open_existing_database(context, context.args[0]) || !session_exists(context, session)) {
        return CLI_FAILED;
    }
    return work(context, session);
}

// The commands on one test (FILE TEST_ID): the arguments checked, the file
// opened and the test loaded (with its points when asked), then work on it.
int run_on_test(cli_context& context, bool with_points, int (*work)(cli_context&, s_db_test&))
{
    int status = CLI_OK;
    std::int64_t number = 0;
    if (!expect_arguments(context, 2, "FILE TEST_ID", &status) ||
        !row_number_argument(context, 1, "TEST_ID", &number, &status)) {
        return status;
    }
    const database_scope scope(context);
    s_db_test test;
    if (!open_existing_database(context, context.args[0]) || !load_db_test(context, context.args[0], number, with_points, test)) {
        return CLI_FAILED;
    }
    return work(context, test);
}

}  // namespace

int run_db_sessions(cli_context& context)
{
    int status = CLI_OK;
    if (!expect_arguments(context, 1, "FILE", &status)) {
        return status;
    }
    const database_scope scope(context);
    if (!open_existing_database(context, context.args[0])) {
        return CLI_FAILED;
    }
    printed_rows rows(context.out);
    return finish(db_list_sessions(&rows, DB_SESSION_NUMBER, true));
}

int run_db_tests(cli_context& context)
{
    return run_on_session(context, [](cli_context& c, std::int64_t session) {
        printed_rows rows(c.out);
        return finish(db_list_tests(&rows, session, DB_TEST_NUMBER, true));
    });
}

int run_db_points(cli_context& context)
{
    return run_on_test(context, true, [](cli_context& c, s_db_test& test) {
        for (int i = 0; i < test.count; ++i) {
            const s_db_point& point = test.points[static_cast<std::size_t>(i)];
            std::fprintf(c.out, "%s\t%s\t%s\n", round_trip_text(point.frequency).c_str(),
                         round_trip_text(point.amplitude).c_str(), round_trip_text(point.phase).c_str());
        }
        return CLI_OK;
    });
}

int run_db_new_session(cli_context& context)
{
    int status = CLI_OK;
    if (!expect_arguments(context, 2, "FILE NAME", &status)) {
        return status;
    }
    const std::string& path = context.args[0];
    const std::string& name = context.args[1];
    if (name.empty() || name.size() > static_cast<std::size_t>(db_session_text_length)) {
        return cli_usage_error(context,
                               "NAME must be 1 to " + std::to_string(db_session_text_length) + " characters");
    }
    if (!printable_text_argument(context, "NAME", name, &status)) {
        return status;
    }
    const database_scope scope(context);
    bool created = false;
    if (!db_open(path, DB_OPEN_CREATE, &created)) {
        std::fprintf(context.err, "%s\n", db_open_failure_message(path).c_str());
        return CLI_FAILED;
    }
    s_db_session session = new_session_named(name);
    const int code = db_save_session(session, false);
    if (code != SQLITE_OK) {
        db_report_error_code(code);
        return CLI_FAILED;
    }
    std::fprintf(context.out, "%" PRId64 "\n", session.session_number);
    return CLI_OK;
}

int run_db_delete_session(cli_context& context)
{
    return run_on_session(context, [](cli_context&, std::int64_t session) {
        return finish_write(db_delete_session_and_tests(session));
    });
}

int run_db_delete_test(cli_context& context)
{
    return run_on_test(context, false,
                       [](cli_context&, s_db_test& test) { return finish_write(db_delete_test(test.test_number)); });
}
