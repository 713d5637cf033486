// Serial transport on Linux: termios on the device that serial_port_device
// finds for the COM name (a real port, a USB adapter, or a pseudo-terminal
// served by the instrument simulator).
//
// The Windows serial driver refuses a second open of a busy port and keeps a
// per-port read timeout; here an flock() held for the life of the descriptor
// gives the first, and a small table keyed by descriptor the second.
#include "link/transport.h"

#include "link/serial_port_names.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <poll.h>
#include <string>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

using steady = std::chrono::steady_clock;

constexpr int default_read_timeout_ms = 5000;

struct baud_speed {
    int baud;
    speed_t speed;
};

// The rates a port can be opened at; any other rate fails the open.
constexpr baud_speed baud_speeds[] = {
    {110, B110},       {300, B300},       {600, B600},       {1200, B1200},
    {2400, B2400},     {4800, B4800},     {9600, B9600},     {19200, B19200},
    {38400, B38400},   {57600, B57600},   {115200, B115200}, {230400, B230400},
    {460800, B460800}, {921600, B921600},
};

bool speed_for_baud(int baud, speed_t* speed)
{
    for (const baud_speed& entry : baud_speeds) {
        if (entry.baud == baud) {
            *speed = entry.speed;
            return true;
        }
    }
    return false;
}

// Per-port read timeouts, set at open, changed by set_read_timeout, dropped at close.
class read_timeouts {
public:
    void set(int fd, int ms)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        by_fd_[fd] = ms;
    }
    int get(int fd)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        auto it = by_fd_.find(fd);
        return it == by_fd_.end() ? default_read_timeout_ms : it->second;
    }
    void drop(int fd)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        by_fd_.erase(fd);
    }

private:
    std::mutex mutex_;
    std::map<int, int> by_fd_;
};

int remaining_ms(steady::time_point deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - steady::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

// Raw 8N1 at the given speed, receiver on, modem lines ignored, no hardware
// or software flow control; reads never wait inside the driver (poll does).
bool configure_port(int fd, speed_t speed)
{
    termios tio{};
    if (::tcgetattr(fd, &tio) != 0) return false;
    ::cfmakeraw(&tio);
    tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
    tio.c_cflag |= CS8 | CLOCAL | CREAD;
    tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    if (::cfsetispeed(&tio, speed) != 0 || ::cfsetospeed(&tio, speed) != 0) return false;
    if (::tcsetattr(fd, TCSANOW, &tio) != 0) return false;
    // RTS and DTR on. Pseudo-terminals have no modem lines, so a refusal is
    // not an error.
    int lines = TIOCM_RTS | TIOCM_DTR;
    ::ioctl(fd, TIOCMBIS, &lines);
    return true;
}

class posix_serial_transport final : public serial_transport {
public:
    int open(const char* port, int baud, link_handle_t* out) override
    {
        if (out == nullptr) return -1;
        speed_t speed{};
        if (!speed_for_baud(baud, &speed)) return -1;
        const std::string device = serial_port_device(port);
        if (device.empty()) return -1;

        // O_NONBLOCK so that the open does not wait for a carrier on a real
        // port before CLOCAL is set; it is cleared again below.
        const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0) return -1;
        const bool ok = ::flock(fd, LOCK_EX | LOCK_NB) == 0 && configure_port(fd, speed) &&
                        clear_nonblocking(fd);
        if (!ok) {
            ::close(fd);
            return -1;
        }
        timeouts_.set(fd, default_read_timeout_ms);
        *out = fd;
        return 0;
    }

    int write(link_handle_t h, const char* data, std::size_t len) override
    {
        if (h < 0 || (data == nullptr && len > 0)) return 0;
        // The descriptor blocks, so a write normally completes in one go.
        // Should the driver still report EAGAIN, wait for room about as long
        // as the Windows port's write timeouts would (10 ms a byte), but at
        // least a second.
        const auto budget = std::chrono::milliseconds(1000 + 10 * static_cast<long long>(len));
        const auto deadline = steady::now() + budget;
        std::size_t written = 0;
        while (written < len) {
            const ssize_t n = ::write(h, data + written, len - written);
            if (n > 0) {
                written += static_cast<std::size_t>(n);
                continue;
            }
            if (n < 0 && errno == EINTR) continue;
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
                pollfd p{h, POLLOUT, 0};
                const int r = ::poll(&p, 1, remaining_ms(deadline));
                if (r > 0 || (r < 0 && errno == EINTR)) continue;
            }
            break;
        }
        return static_cast<int>(written);
    }

    int bytes_waiting(link_handle_t h) override
    {
        int count = 0;
        if (h < 0 || ::ioctl(h, FIONREAD, &count) != 0) return -1;
        return count;
    }

    int read_byte(link_handle_t h, unsigned char* byte) override
    {
        if (h < 0 || byte == nullptr) return -1;
        const auto deadline = steady::now() + std::chrono::milliseconds(timeouts_.get(h));
        for (;;) {
            pollfd p{h, POLLIN, 0};
            const int r = ::poll(&p, 1, remaining_ms(deadline));
            if (r == 0) return 0;
            if (r < 0) {
                if (errno == EINTR) continue;
                return -1;
            }
            const bool hung_up = (p.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
            if ((p.revents & POLLIN) == 0) return -1;
            const ssize_t n = ::read(h, byte, 1);
            if (n == 1) return 1;
            // End of file: the line has hung up (the far end of a
            // pseudo-terminal closed, a USB adapter unplugged).
            if (n == 0 && hung_up) return -1;
            if (n < 0 && errno != EINTR && errno != EAGAIN && errno != EWOULDBLOCK) return -1;
            if (remaining_ms(deadline) == 0) return 0;
        }
    }

    void set_read_timeout(link_handle_t h, int ms) override
    {
        if (h < 0) return;
        timeouts_.set(h, ms > 0 ? ms : 0);
    }

    void close(link_handle_t h) override
    {
        if (h < 0) return;
        ::tcflush(h, TCIOFLUSH);
        timeouts_.drop(h);
        ::close(h);
    }

private:
    static bool clear_nonblocking(int fd)
    {
        const int flags = ::fcntl(fd, F_GETFL);
        return flags >= 0 && ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0;
    }

    read_timeouts timeouts_;
};

}  // namespace

serial_transport& platform_serial_transport()
{
    static posix_serial_transport transport;
    return transport;
}
