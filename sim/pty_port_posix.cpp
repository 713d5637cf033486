#include "sim/pty_port.h"

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace hvxsim {

namespace {

constexpr int write_wait_ms = 100;   // one wait for room to write, between stop checks
constexpr int hangup_pause_ms = 50;  // pause after EIO or a hang-up before trying again
// A write that makes no progress this long means nobody reads the port; the
// unread input is then discarded as a real line would lose it.
constexpr auto stalled_write_limit = std::chrono::seconds(2);

class pty_channel : public byte_channel {
public:
    pty_channel(int master, int slave, std::string device, std::string link)
        : master_(master), slave_(slave), device_(std::move(device)), link_(std::move(link))
    {
    }

    ~pty_channel() override
    {
        if (!link_.empty()) {
            char target[PATH_MAX];
            const ssize_t n = ::readlink(link_.c_str(), target, sizeof target - 1);
            if (n > 0 && std::string(target, static_cast<std::size_t>(n)) == device_)
                ::unlink(link_.c_str());
        }
        ::close(slave_);
        ::close(master_);
    }

    pty_channel(const pty_channel&) = delete;
    pty_channel& operator=(const pty_channel&) = delete;

    read_result read(char* buffer, std::size_t capacity, int timeout_ms) override
    {
        pollfd p{master_, POLLIN, 0};
        const int ready = ::poll(&p, 1, timeout_ms);
        if (ready <= 0)
            return {read_status::timeout, 0};
        const ssize_t n = ::read(master_, buffer, capacity);
        if (n > 0)
            return {read_status::data, static_cast<std::size_t>(n)};
        // EIO or a hang-up while no slave is open: the port simply has no
        // client at the moment. It never ends while the simulator runs.
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            std::this_thread::sleep_for(std::chrono::milliseconds(hangup_pause_ms));
        return {read_status::timeout, 0};
    }

    // Never stalled: a port nobody reads loses its unread input instead.
    write_status write(std::string_view bytes, const std::atomic<bool>& stop) override
    {
        auto last_progress = std::chrono::steady_clock::now();
        while (!bytes.empty()) {
            const ssize_t n = ::write(master_, bytes.data(), bytes.size());
            if (n > 0) {
                bytes.remove_prefix(static_cast<std::size_t>(n));
                last_progress = std::chrono::steady_clock::now();
                continue;
            }
            if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)
                return write_status::failed;
            if (stop)
                return write_status::failed;
            if (std::chrono::steady_clock::now() - last_progress > stalled_write_limit) {
                ::tcflush(slave_, TCIFLUSH);
                last_progress = std::chrono::steady_clock::now();
            }
            pollfd p{master_, POLLOUT, 0};
            ::poll(&p, 1, write_wait_ms);
        }
        return write_status::written;
    }

private:
    const int master_;
    const int slave_;
    const std::string device_;
    const std::string link_;
};

bool make_raw(int fd)
{
    termios t{};
    if (::tcgetattr(fd, &t) != 0)
        return false;
    ::cfmakeraw(&t);
    t.c_cflag |= CLOCAL | CREAD;
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    return ::tcsetattr(fd, TCSANOW, &t) == 0;
}

// Replaces link_path by a link to target in one step, so a reader never
// finds it missing.
bool make_link(const std::string& link_path, const std::string& target, std::string& error)
{
    const std::string temporary = link_path + ".new" + std::to_string(::getpid());
    ::unlink(temporary.c_str());
    if (::symlink(target.c_str(), temporary.c_str()) != 0 || ::rename(temporary.c_str(), link_path.c_str()) != 0) {
        error = "cannot link " + link_path + " to " + target + ": " + std::strerror(errno);
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace

std::unique_ptr<byte_channel> open_pty(const std::string& link_path, std::string& device_path, std::string& error)
{
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0) {
        error = std::string("cannot open a pseudo-terminal: ") + std::strerror(errno);
        return nullptr;
    }
    char name[PATH_MAX] = "";
    if (::grantpt(master) != 0 || ::unlockpt(master) != 0 || ::ptsname_r(master, name, sizeof name) != 0) {
        error = std::string("cannot prepare the pseudo-terminal: ") + std::strerror(errno);
        ::close(master);
        return nullptr;
    }
    const int slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave < 0 || !make_raw(slave)) {
        error = std::string("cannot set up ") + name + ": " + std::strerror(errno);
        if (slave >= 0)
            ::close(slave);
        ::close(master);
        return nullptr;
    }
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    if (!link_path.empty() && !make_link(link_path, name, error)) {
        ::close(slave);
        ::close(master);
        return nullptr;
    }
    device_path = name;
    return std::make_unique<pty_channel>(master, slave, name, link_path);
}

}  // namespace hvxsim
