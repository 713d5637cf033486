// The point array of a test record in memory. It grows in steps of 100
// slots. When an enlargement fails the record keeps its array, capacity and
// count, and the append reports the failure, so whatever was gathered stays
// intact and can still be stored.
#pragma once

#include <cstddef>

#include "db/db_records.h"

inline constexpr int db_point_growth = 100;

// Appends a copy of point; 0 on success, -1 when the array could not grow.
// The count is raised atomically, so another thread may read it meanwhile.
int db_add_point(s_db_test& test, const s_db_point& point);
// Releases the array; capacity and count become 0.
void db_free_points(s_db_test& test);

// Replaces the enlargement function (tests make it fail); nullptr restores
// std::realloc. Whatever it returns is released with std::free.
using db_point_reallocator = void* (*)(void* block, std::size_t bytes);
void db_use_point_reallocator(db_point_reallocator reallocator);
