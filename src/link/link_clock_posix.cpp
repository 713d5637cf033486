// The link's clock on Linux: the steady clock in milliseconds.
#include "link/transport.h"

#include <chrono>
#include <thread>

namespace {

class posix_link_clock final : public link_clock {
public:
    std::uint64_t now_ms() override
    {
        const auto since_start = std::chrono::steady_clock::now().time_since_epoch();
        return static_cast<std::uint64_t>(
            std::chrono::duration_cast<std::chrono::milliseconds>(since_start).count());
    }

    void sleep_ms(int ms) override
    {
        if (ms <= 0) {
            std::this_thread::yield();
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    }
};

}  // namespace

link_clock& platform_link_clock()
{
    static posix_link_clock clock;
    return clock;
}
