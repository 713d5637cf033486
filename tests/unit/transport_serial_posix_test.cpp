// The Linux serial transport on pseudo-terminals: the test holds the master
// end and plays the instrument; the transport opens the slave end as a COM
// port, through an alias or a dosdevices-style folder.
#ifndef _WIN32

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <stdlib.h>
#include <string>
#include <termios.h>
#include <thread>
#include <unistd.h>

#include "link/serial_port_names.h"
#include "link/transport.h"
#include "support/temp_folder.h"

namespace {

using steady = std::chrono::steady_clock;

long long ms_since(steady::time_point start)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(steady::now() - start).count();
}

// A pseudo-terminal pair; the master end stays with the test.
class pty_pair {
public:
    pty_pair()
    {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        char name[128] = {};
        if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0 ||
            ::ptsname_r(master_, name, sizeof name) != 0) {
            return;
        }
        slave_path_ = name;
    }
    ~pty_pair() { close_master(); }
    pty_pair(const pty_pair&) = delete;
    pty_pair& operator=(const pty_pair&) = delete;

    const std::string& slave_path() const { return slave_path_; }

    void write(const std::string& bytes) const
    {
        ASSERT_EQ(::write(master_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }

    // Up to count bytes, waiting (generously) for them.
    std::string read(std::size_t count) const
    {
        std::string got;
        const auto start = steady::now();
        while (got.size() < count && ms_since(start) < 20000) {
            pollfd p{master_, POLLIN, 0};
            if (::poll(&p, 1, 100) <= 0) continue;
            char buffer[256];
            const ssize_t n = ::read(master_, buffer, std::min(sizeof buffer, count - got.size()));
            if (n <= 0) break;
            got.append(buffer, static_cast<std::size_t>(n));
        }
        return got;
    }

    void close_master()
    {
        if (master_ >= 0) ::close(master_);
        master_ = -1;
    }

private:
    int master_ = -1;
    std::string slave_path_;
};

// Sets or clears an environment variable for one test, restoring it after.
class scoped_env {
public:
    scoped_env(const char* name, const char* value) : name_(name)
    {
        const char* old = std::getenv(name);
        had_old_ = old != nullptr;
        if (had_old_) old_ = old;
        if (value != nullptr) {
            ::setenv(name, value, 1);
        } else {
            ::unsetenv(name);
        }
    }
    ~scoped_env()
    {
        if (had_old_) {
            ::setenv(name_, old_.c_str(), 1);
        } else {
            ::unsetenv(name_);
        }
    }
    scoped_env(const scoped_env&) = delete;
    scoped_env& operator=(const scoped_env&) = delete;

private:
    const char* name_;
    bool had_old_ = false;
    std::string old_;
};

// Registers an alias for one test.
class scoped_alias {
public:
    scoped_alias(const char* name, const std::string& device) : name_(name) { serial_port_alias(name, device); }
    ~scoped_alias() { serial_port_alias(name_, ""); }
    scoped_alias(const scoped_alias&) = delete;
    scoped_alias& operator=(const scoped_alias&) = delete;

private:
    const char* name_;
};

class TransportSerialPosix : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(pty.slave_path().empty()); }

    // Waits (generously) until the driver holds count bytes.
    bool wait_waiting(link_handle_t h, int count)
    {
        const auto start = steady::now();
        while (serial.bytes_waiting(h) < count) {
            if (ms_since(start) > 20000) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        return serial.bytes_waiting(h) == count;
    }

    serial_transport& serial = platform_serial_transport();
    pty_pair pty;
};

TEST_F(TransportSerialPosix, OpensByAliasOrDosdevicesRaw8N1AndWrites)
{
    temp_folder dosdevices;
    std::filesystem::create_symlink(pty.slave_path(), dosdevices.file("com62"));
    struct open_case {
        const char* how;
        const char* port;
        const char* dosdevices;
        int baud;
        speed_t speed;
    };
    const open_case cases[] = {
        {"alias", "COM61", nullptr, 19200, B19200},
        {"alias, lower case", "com61", nullptr, 9600, B9600},
        {"dosdevices folder", "COM62", dosdevices.path().c_str(), 115200, B115200},
    };
    scoped_alias alias("COM61", pty.slave_path());
    for (const open_case& c : cases) {
        SCOPED_TRACE(c.how);
        scoped_env env("CORVEXA2_DOSDEVICES", c.dosdevices);
        link_handle_t h = LINK_INVALID_HANDLE;
        ASSERT_EQ(serial.open(c.port, c.baud, &h), 0);

        termios tio{};
        ASSERT_EQ(::tcgetattr(h, &tio), 0);
        EXPECT_EQ(::cfgetospeed(&tio), c.speed);
        EXPECT_EQ(::cfgetispeed(&tio), c.speed);
        EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
        EXPECT_EQ(tio.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
        EXPECT_EQ(tio.c_cflag & (CLOCAL | CREAD), static_cast<tcflag_t>(CLOCAL | CREAD));
        EXPECT_EQ(tio.c_lflag & (ICANON | ECHO | ISIG), 0u);
        EXPECT_EQ(tio.c_oflag & OPOST, 0u);
        EXPECT_EQ(tio.c_iflag & (ICRNL | IXON | ISTRIP), 0u);

        // Raw: CR, LF, NUL and high bytes cross unchanged.
        const std::string command("*IDN?\r\n\0\x94\x14", 10);
        EXPECT_EQ(serial.write(h, command.data(), command.size()), static_cast<int>(command.size()));
        EXPECT_EQ(pty.read(command.size()), command);
        serial.close(h);
    }
}

TEST_F(TransportSerialPosix, PortOpensOnlyOnceAtATime)
{
    scoped_alias alias("COM63", pty.slave_path());
    link_handle_t first = LINK_INVALID_HANDLE;
    ASSERT_EQ(serial.open("COM63", 19200, &first), 0);
    for (const std::string& port : {std::string("COM63"), pty.slave_path()}) {
        SCOPED_TRACE(port);
        link_handle_t second = LINK_INVALID_HANDLE;
        EXPECT_EQ(serial.open(port.c_str(), 19200, &second), -1);
        EXPECT_EQ(second, LINK_INVALID_HANDLE);
    }
    serial.close(first);

    link_handle_t again = LINK_INVALID_HANDLE;
    ASSERT_EQ(serial.open("COM63", 19200, &again), 0);
    serial.close(again);
}

TEST_F(TransportSerialPosix, FailedOpensLeaveThePortFree)
{
    temp_folder folder;
    const std::string plain_file = folder.file("not-a-port");
    { std::FILE* f = std::fopen(plain_file.c_str(), "wb"); ASSERT_NE(f, nullptr); std::fclose(f); }
    scoped_alias alias("COM64", pty.slave_path());
    scoped_alias missing("COM65", folder.file("missing"));
    struct failure_case {
        const char* port;
        int baud;
    };
    const failure_case cases[] = {
        {"COM64", 12345},  // a rate the port cannot run at
        {"COM64", 0},
        {"COM65", 19200},  // the device does not exist
        {plain_file.c_str(), 19200},
        {"LPT1", 19200},
        {"", 19200},
    };
    for (const failure_case& c : cases) {
        SCOPED_TRACE(std::string(c.port) + " at " + std::to_string(c.baud));
        link_handle_t h = LINK_INVALID_HANDLE;
        EXPECT_EQ(serial.open(c.port, c.baud, &h), -1);
        EXPECT_EQ(h, LINK_INVALID_HANDLE);
    }
    link_handle_t h = LINK_INVALID_HANDLE;
    ASSERT_EQ(serial.open("COM64", 19200, &h), 0);
    serial.close(h);
}

TEST_F(TransportSerialPosix, ReadsBytesAndTimesOutPerPort)
{
    scoped_alias alias("COM66", pty.slave_path());
    link_handle_t h = LINK_INVALID_HANDLE;
    ASSERT_EQ(serial.open("COM66", 19200, &h), 0);

    pty.write("xy\n");
    ASSERT_TRUE(wait_waiting(h, 3));
    unsigned char byte = 0;
    for (const char expected : {'x', 'y', '\n'}) {
        ASSERT_EQ(serial.read_byte(h, &byte), 1);
        EXPECT_EQ(byte, static_cast<unsigned char>(expected));
    }
    EXPECT_EQ(serial.bytes_waiting(h), 0);

    // A byte that arrives while the read waits is returned.
    serial.set_read_timeout(h, 60000);
    std::thread late_peer([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        pty.write("z");
    });
    EXPECT_EQ(serial.read_byte(h, &byte), 1);
    EXPECT_EQ(byte, 'z');
    late_peer.join();

    serial.set_read_timeout(h, 50);
    const auto start = steady::now();
    EXPECT_EQ(serial.read_byte(h, &byte), 0);
    EXPECT_GE(ms_since(start), 45);
    serial.close(h);

    // A reopened port starts again at 5000 ms, even on the same descriptor:
    // a byte 300 ms late is still read.
    ASSERT_EQ(serial.open("COM66", 19200, &h), 0);
    std::thread slow_peer([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        pty.write("w");
    });
    EXPECT_EQ(serial.read_byte(h, &byte), 1);
    EXPECT_EQ(byte, 'w');
    slow_peer.join();
    serial.close(h);
}

TEST_F(TransportSerialPosix, PeerHangUpFailsReadsAndWrites)
{
    scoped_alias alias("COM67", pty.slave_path());
    link_handle_t h = LINK_INVALID_HANDLE;
    ASSERT_EQ(serial.open("COM67", 19200, &h), 0);
    serial.set_read_timeout(h, 60000);
    pty.close_master();

    unsigned char byte = 0;
    EXPECT_EQ(serial.read_byte(h, &byte), -1);
    EXPECT_EQ(serial.write(h, "*IDN?\n", 6), 0);
    serial.close(h);
}

}  // namespace

#endif
