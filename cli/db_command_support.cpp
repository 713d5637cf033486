#include "db_command_support.h"

#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>

#include <sqlite3.h>

#include "cli_context.h"
#include "db/db_connection.h"
#include "db/db_error.h"
#include "db/db_path.h"
#include "db/db_read.h"
#include "db/db_records.h"
#include "db/db_reopen.h"
#include "db/db_text.h"

database_scope::database_scope(const cli_context& context) : prompt_(context.err)
{
    db_use_prompt(&prompt_);
}

database_scope::~database_scope()
{
    db_close();
    db_use_prompt(nullptr);
}

bool open_existing_database(const cli_context& context, const std::string& path)
{
    if (!db_file_exists(path)) {
        std::fprintf(context.err, "Database file not found: %s\n", path.c_str());
        return false;
    }
    if (!db_open(path, DB_OPEN_EXISTING)) {
        std::fprintf(context.err, "%s\n", db_open_failure_message(path).c_str());
        return false;
    }
    return true;
}

bool printable_text_argument(const cli_context& context, const char* name, const std::string& text, int* status)
{
    const std::size_t position = db_first_unprintable(text);
    if (position == std::string::npos) {
        return true;
    }
    *status = cli_usage_error(context, std::string(name) + " holds " +
                                           db_escape_list_text(text.substr(position, 1)) + " (character " +
                                           std::to_string(position + 1) +
                                           "), which is not printable Windows-1252 text");
    return false;
}

bool parse_row_number(const std::string& text, std::int64_t* number)
{
    if (text.empty() || text[0] < '0' || text[0] > '9') {
        return false;
    }
    errno = 0;
    char* end = nullptr;
    const long long value = std::strtoll(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || value <= 0) {
        return false;
    }
    *number = value;
    return true;
}

bool load_db_test(const cli_context& context, const std::string& file, std::int64_t number, bool with_points,
                  s_db_test& test)
{
    const int code = db_load_test(test, number, false, with_points);
    if (code == SQLITE_NOTFOUND) {
        std::fprintf(context.err, "No test %" PRId64 " in %s\n", number, file.c_str());
    }
    return code == SQLITE_OK;
}
