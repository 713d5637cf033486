// The link's clock on Windows: the performance counter in milliseconds, or
// GetTickCount64 where the counter is unavailable; Sleep to wait.
#include "link/transport.h"

#include <windows.h>

#include "sched/counter_ms.h"

namespace {

class win32_link_clock final : public link_clock {
public:
    win32_link_clock()
    {
        LARGE_INTEGER frequency;
        if (QueryPerformanceFrequency(&frequency) && frequency.QuadPart > 0) {
            counts_per_second_ = frequency.QuadPart;
        }
    }

    std::uint64_t now_ms() override
    {
        LARGE_INTEGER counter;
        if (counts_per_second_ == 0 || !QueryPerformanceCounter(&counter)) return GetTickCount64();
        return static_cast<std::uint64_t>(counter_to_ms(counter.QuadPart, counts_per_second_));
    }

    void sleep_ms(int ms) override { Sleep(ms > 0 ? static_cast<DWORD>(ms) : 0); }

private:
    std::int64_t counts_per_second_ = 0;
};

}  // namespace

link_clock& platform_link_clock()
{
    static win32_link_clock clock;
    return clock;
}
