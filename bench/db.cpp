// Benchmark: the test database. Saves one 2000-point test (the Test row and
// its points in one transaction), loads it back with its points, and lists
// the 1,000 tests of a session, beside a plain SQLite batch of the same
// inserts (one prepared statement, one transaction) in the same run. Saving
// should take under twice the plain batch.
//
// Files go to a fresh folder under the system's temporary folder, removed
// at the end. usage: bench_db [ROUNDS]
#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench_support.h"
#include "db/db_connection.h"
#include "db/db_points.h"
#include "db/db_read.h"
#include "db/db_write.h"

namespace {

using bench::median;
using bench::now_seconds;

namespace fs = std::filesystem;

constexpr int POINT_COUNT = 2000;
constexpr int TEST_COUNT = 1000;

[[noreturn]] void fail(const char* what, int code)
{
    std::fprintf(stderr, "bench_db: %s failed (%d)\n", what, code);
    std::exit(1);
}

s_db_point point_at(int i)
{
    return {10.0 + i * 0.5, -0.01 * i, 90.0 - i * 0.09};
}

s_db_test sweep_test(std::int64_t session, int points)
{
    s_db_test test;
    test.session_number = session;
    std::snprintf(test.name, sizeof test.name, "Sweep");
    std::snprintf(test.winding, sizeof test.winding, "HV-LV");
    std::snprintf(test.description, sizeof test.description, "Frequency response");
    for (int i = 0; i < points; ++i) {
        db_add_point(test, point_at(i));
    }
    return test;
}

// The reference: the same rows through one prepared statement in one transaction.
double plain_batch(sqlite3* connection)
{
    const double start = now_seconds();
    sqlite3_exec(connection, "BEGIN TRANSACTION", nullptr, nullptr, nullptr);
    sqlite3_exec(connection, "INSERT INTO Test VALUES (NULL, 1, 'Sweep', 'HV-LV', 'Frequency response')", nullptr,
                 nullptr, nullptr);
    const sqlite3_int64 test = sqlite3_last_insert_rowid(connection);
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(connection, "INSERT INTO Data VALUES (?, ?, ?, 1, 0, NULL, ?)", -1, &insert, nullptr);
    for (int i = 0; i < POINT_COUNT; ++i) {
        const s_db_point point = point_at(i);
        sqlite3_bind_int64(insert, 1, test);
        sqlite3_bind_double(insert, 2, point.frequency);
        sqlite3_bind_double(insert, 3, point.amplitude);
        sqlite3_bind_double(insert, 4, point.phase);
        if (sqlite3_step(insert) != SQLITE_DONE) {
            fail("plain insert", sqlite3_errcode(connection));
        }
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    if (sqlite3_exec(connection, "COMMIT TRANSACTION", nullptr, nullptr, nullptr) != SQLITE_OK) {
        fail("plain commit", sqlite3_errcode(connection));
    }
    return now_seconds() - start;
}

class counted_rows final : public db_list_target {
public:
    void add_item(const char*, std::int64_t) override { ++count; }
    int count = 0;
};

}  // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    const fs::path folder =
        fs::temp_directory_path() /
        ("corvexa2-bench-db-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    fs::create_directories(folder);
    const std::string program_file = (folder / "program.db").string();
    const std::string plain_file = (folder / "plain.db").string();

    // The plain file gets the same tables, made by the program.
    bool created = false;
    if (!db_open(plain_file, DB_OPEN_CREATE, &created)) {
        fail("creating the plain database", 0);
    }
    db_close();
    if (!db_open(program_file, DB_OPEN_CREATE, &created)) {
        fail("creating the database", 0);
    }
    s_db_session session;
    std::snprintf(session.name, sizeof session.name, "Bench");
    if (const int code = db_save_session(session, false); code != 0) {
        fail("saving the session", code);
    }
    sqlite3* plain = nullptr;
    if (sqlite3_open_v2(plain_file.c_str(), &plain, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        fail("opening the plain database", sqlite3_errcode(plain));
    }

    std::vector<double> save_times, plain_times, load_times;
    std::int64_t saved = 0;
    for (int round = 0; round < rounds; ++round) {
        s_db_test test = sweep_test(session.session_number, POINT_COUNT);
        const double start = now_seconds();
        if (const int code = db_save_new_test(test); code != 0) {
            fail("saving the test", code);
        }
        save_times.push_back(now_seconds() - start);
        saved = test.test_number;
        plain_times.push_back(plain_batch(plain));

        s_db_test loaded;
        const double load_start = now_seconds();
        if (const int code = db_load_test(loaded, saved, false, true); code != 0) {
            fail("loading the test", code);
        }
        load_times.push_back(now_seconds() - load_start);
        if (loaded.count != POINT_COUNT) {
            fail("loading every point", loaded.count);
        }
    }
    sqlite3_close(plain);

    // The session's tests made up to 1,000, then listed.
    db_begin();
    for (int i = rounds; i < TEST_COUNT; ++i) {
        s_db_test test = sweep_test(session.session_number, 0);
        if (const int code = db_save_test(test, false); code != 0) {
            fail("adding tests", code);
        }
    }
    if (const int code = db_commit(); code != 0) {
        fail("committing the tests", code);
    }
    std::vector<double> list_times;
    for (int round = 0; round < rounds; ++round) {
        counted_rows rows;
        const double start = now_seconds();
        if (const int code = db_list_tests(&rows, session.session_number, 0, true); code != 0) {
            fail("listing the tests", code);
        }
        list_times.push_back(now_seconds() - start);
        if (rows.count != TEST_COUNT) {
            fail("listing every test", rows.count);
        }
    }
    db_close();
    std::error_code ignored;
    fs::remove_all(folder, ignored);

    const double save = median(save_times);
    const double reference = median(plain_times);
    std::printf("db: %d-point test and %d tests, median of %d rounds\n", POINT_COUNT, TEST_COUNT, rounds);
    std::printf("  plain sqlite3 batch, one transaction : %8.2f ms\n", reference * 1000.0);
    std::printf("  db_save_new_test, one transaction   : %8.2f ms\n", save * 1000.0);
    std::printf("  ratio                               : %8.2f\n", save / reference);
    std::printf("  db_load_test with %d points       : %8.2f ms\n", POINT_COUNT, median(load_times) * 1000.0);
    std::printf("  db_list_tests of %d tests         : %8.2f ms\n", TEST_COUNT, median(list_times) * 1000.0);
    return 0;
}
