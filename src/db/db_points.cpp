#include "db/db_points.h"

#include <atomic>
#include <cstdlib>
#include <limits>

namespace {

std::atomic<db_point_reallocator> point_reallocator{nullptr};

void* enlarge(void* block, std::size_t bytes)
{
    const db_point_reallocator chosen = point_reallocator.load();
    return chosen ? chosen(block, bytes) : std::realloc(block, bytes);
}

// Makes room for one more point; false (and the record unchanged) when the
// array cannot grow.
bool make_room(s_db_test& test)
{
    if (test.count < test.capacity) {
        return true;
    }
    if (test.capacity > std::numeric_limits<std::int32_t>::max() - db_point_growth) {
        return false;
    }
    const std::int32_t capacity = test.capacity + db_point_growth;
    void* grown = enlarge(test.points.get(), static_cast<std::size_t>(capacity) * sizeof(s_db_point));
    if (grown == nullptr) {
        return false;
    }
    // The old block is gone (moved or grown in place): hand the new one to the record.
    (void)test.points.release();
    test.points.reset(static_cast<s_db_point*>(grown));
    test.capacity = capacity;
    return true;
}

}  // namespace

int db_add_point(s_db_test& test, const s_db_point& point)
{
    if (!make_room(test)) {
        return -1;
    }
    test.points[static_cast<std::size_t>(test.count)] = point;
    std::atomic_ref<std::int32_t>(test.count).fetch_add(1);
    return 0;
}

void db_free_points(s_db_test& test)
{
    test.points.reset();
    test.capacity = 0;
    std::atomic_ref<std::int32_t>(test.count).store(0);
}

void db_use_point_reallocator(db_point_reallocator reallocator)
{
    point_reallocator.store(reallocator);
}
