// Rows of the test database in memory. Text fields hold raw Windows-1252
// bytes, NUL-terminated, at most their width less one; readers of the
// database cut longer column texts to fit.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <memory>

inline constexpr int db_session_text_length = 50;  // name, unit, location
inline constexpr int db_performed_by_length = 70;
inline constexpr int db_comments_length = 150;
inline constexpr int db_test_text_length = 50;  // name, winding
inline constexpr int db_description_length = 100;

// One row of Session.
struct s_db_session {
    std::int64_t session_number = 0;
    char name[db_session_text_length + 1] = {};
    char unit[db_session_text_length + 1] = {};
    std::int32_t year = 0;
    std::int32_t month = 0;
    std::int32_t day = 0;
    char location[db_session_text_length + 1] = {};
    char performed_by[db_performed_by_length + 1] = {};
    char comments[db_comments_length + 1] = {};
};

// One row of Data: a sweep point. For an FRA sweep the amplitude is the gain
// in dB and the phase is in degrees.
struct s_db_point {
    double frequency = 0;
    double amplitude = 0;
    double phase = 0;
};

struct db_point_array_release {
    void operator()(s_db_point* points) const { std::free(points); }
};

// One row of Test, with the date of its session and, when loaded or filled
// for storing, its points. The record owns its point array (so it can be
// moved but not copied); db_free_points (db_points.h) releases it, and so
// does the record's end.
struct s_db_test {
    std::int64_t test_number = 0;
    std::int64_t session_number = 0;
    char name[db_test_text_length + 1] = {};
    char winding[db_test_text_length + 1] = {};
    char description[db_description_length + 1] = {};
    std::int32_t year = 0;  // year, month and day of the test's session
    std::int32_t month = 0;
    std::int32_t day = 0;
    std::int32_t capacity = 0;  // allocated point slots
    std::int32_t count = 0;     // points held; changed atomically (db_points.h)
    std::unique_ptr<s_db_point[], db_point_array_release> points;
};
