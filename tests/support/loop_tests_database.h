// A small test database for the graph window's analyses and pictures: one
// session "Loops" with two tests, "Crossing" (a loop crossing 0 dB at 150 Hz
// and 0 degrees at 350 Hz) and "Flat" (never crossing).
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "db/db_connection.h"
#include "db/db_points.h"
#include "db/db_records.h"
#include "db/db_write.h"

// Creates the database file at path (closed again afterwards). Use with
// ASSERT_NO_FATAL_FAILURE.
inline void make_loop_tests_database(const std::string& path)
{
    bool created = false;
    ASSERT_TRUE(db_open(path, DB_OPEN_CREATE, &created));
    s_db_session session;
    std::snprintf(session.name, sizeof session.name, "Loops");
    ASSERT_EQ(db_save_session(session, false), 0);
    const std::vector<std::vector<s_db_point>> tests = {
        {{100, 10, 30}, {200, -10, 10}, {300, -20, 10}, {400, -30, -10}},
        {{100, 10, 30}, {200, 12, 40}},
    };
    const char* names[] = {"Crossing", "Flat"};
    for (std::size_t t = 0; t < tests.size(); ++t) {
        s_db_test test;
        test.session_number = session.session_number;
        std::snprintf(test.name, sizeof test.name, "%s", names[t]);
        for (const s_db_point& point : tests[t]) {
            ASSERT_EQ(db_add_point(test, point), 0);
        }
        ASSERT_EQ(db_save_new_test(test), 0);
    }
    db_close();
}
