// import SWEEP_FILE --db FILE --session SESSION_ID --name TEST_NAME
//
// Reads a text or CSV sweep file with the program's sweep import and stores
// it in an existing test database as a new test of the session: the test
// name given, no project name, the description "Imported", and one point per
// row holding its frequency, magnitude (gain) and phase (values 0, 3 and 4 of
// every layout). The test and its points are stored in one transaction. On
// success the new test's number is printed.
//
// The sweep file is read once from its start, so it may be a pipe
// ("import /dev/stdin ... < FILE").
//
// A missing database file, a file that is not a test database, an unknown
// session (0 names none), and a sweep file that cannot be read, is refused by
// the import (a folder, too large, a line too long, a value that is not a
// finite number, ...) or holds no rows give a message on standard error and
// exit status 1; nothing is created or changed then.
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <memory>
#include <string>

#include <sqlite3.h>

#include "cli_context.h"
#include "db/db_error.h"
#include "db/db_points.h"
#include "db/db_records.h"
#include "db/db_write.h"
#include "db_command_support.h"
#include "db_commands.h"
#include "fra/sweep_import.h"
#include "fra/sweep_records.h"

namespace {

constexpr const char* imported_description = "Imported";

struct import_arguments {
    std::string sweep_file;
    std::string database;
    std::string session;
    std::string name;
};

// Values of one imported point that a test keeps.
constexpr int frequency_value = 0;
constexpr int magnitude_value = 3;
constexpr int phase_value = 4;

// Options may come in any order around the sweep file; each once.
bool parse_arguments(const cli_context& context, import_arguments& arguments, std::string& error)
{
    struct option {
        const char* name;
        std::string import_arguments::*field;
    };
    const option options[] = {
        {"--db", &import_arguments::database},
        {"--session", &import_arguments::session},
        {"--name", &import_arguments::name},
    };
    bool seen[std::size(options)] = {};
    bool have_file = false;
    for (std::size_t i = 0; i < context.args.size(); ++i) {
        const std::string& word = context.args[i];
        const option* matched = nullptr;
        for (std::size_t k = 0; k < std::size(options); ++k) {
            if (word == options[k].name) {
                matched = &options[k];
                if (seen[k]) {
                    error = word + " given twice";
                    return false;
                }
                seen[k] = true;
            }
        }
        if (matched != nullptr) {
            if (i + 1 == context.args.size()) {
                error = word + " needs a value";
                return false;
            }
            arguments.*(matched->field) = context.args[++i];
        } else if (word.size() > 1 && word[0] == '-' && word[1] == '-') {
            error = "unknown option " + word;
            return false;
        } else if (have_file) {
            error = "only one SWEEP_FILE may be given";
            return false;
        } else {
            arguments.sweep_file = word;
            have_file = true;
        }
    }
    for (std::size_t k = 0; k < std::size(options); ++k) {
        if (!seen[k]) {
            error = std::string(options[k].name) + " is missing";
            return false;
        }
    }
    if (!have_file) {
        error = "SWEEP_FILE is missing";
        return false;
    }
    if (arguments.name.empty() || arguments.name.size() > static_cast<std::size_t>(db_test_text_length)) {
        error = "TEST_NAME must be 1 to " + std::to_string(db_test_text_length) + " characters";
        return false;
    }
    return true;
}

// A session number: a whole number from 0 up (0 names no session).
bool parse_session_number(const std::string& text, std::int64_t& number)
{
    if (text.empty() || text.size() > 18 || text.find_first_not_of("0123456789") != std::string::npos) {
        return false;
    }
    number = std::strtoll(text.c_str(), nullptr, 10);
    return true;
}

bool read_sweep(const cli_context& context, const std::string& path, s_lcr_sweep& block)
{
    int layout = 0;
    const sweep_import_result result = import_sweep_file(path, block, layout);
    if (result.status != sweep_import_status::imported) {
        std::fprintf(context.err, "Unable to import sweep file %s: %s\n", path.c_str(),
                     sweep_import_result_text(result).c_str());
        return false;
    }
    if (block.points <= 0) {
        std::fprintf(context.err, "Unable to import sweep file %s: it holds no sweep rows\n", path.c_str());
        return false;
    }
    return true;
}

bool fill_test(const cli_context& context, const import_arguments& arguments, std::int64_t session,
               const s_lcr_sweep& block, s_db_test& test)
{
    test.session_number = session;
    std::memcpy(test.name, arguments.name.data(), arguments.name.size());
    std::memcpy(test.description, imported_description, std::strlen(imported_description));
    for (int i = 0; i < block.points; ++i) {
        const double* x = block.point[i].value;
        if (db_add_point(test, {x[frequency_value], x[magnitude_value], x[phase_value]}) != 0) {
            std::fprintf(context.err, "Not enough memory for the points of %s\n", arguments.sweep_file.c_str());
            return false;
        }
    }
    return true;
}

}  // namespace

int run_import(cli_context& context)
{
    import_arguments arguments;
    std::string error;
    std::int64_t session = 0;
    if (!parse_arguments(context, arguments, error)) {
        return cli_usage_error(context, error);
    }
    if (!parse_session_number(arguments.session, session)) {
        return cli_usage_error(context, "SESSION_ID must be a whole number");
    }
    int status = CLI_OK;
    if (!printable_text_argument(context, "TEST_NAME", arguments.name, &status)) {
        return status;
    }

    const database_scope scope(context);
    if (!open_existing_database(context, arguments.database)) {
        return CLI_FAILED;
    }

    const std::unique_ptr<s_lcr_sweep> block = make_lcr_sweep();
    if (!read_sweep(context, arguments.sweep_file, *block)) {
        return CLI_FAILED;
    }
    s_db_test test;
    if (!fill_test(context, arguments, session, *block, test)) {
        return CLI_FAILED;
    }
    const int code = db_save_new_test(test);
    if (code == SQLITE_NOTFOUND) {
        std::fprintf(context.err, "No session %" PRId64 " in %s\n", session, arguments.database.c_str());
        return CLI_FAILED;
    }
    if (code != SQLITE_OK) {
        db_report_error_code(code);
        return CLI_FAILED;
    }
    std::fprintf(context.out, "%" PRId64 "\n", test.test_number);
    return CLI_OK;
}
