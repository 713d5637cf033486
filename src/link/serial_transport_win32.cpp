// Serial transport on Windows: the Win32 serial API on "\\.\COMn".
//
// Windows itself refuses a second open of a busy port; Wine's serial layer
// does not, so this transport also keeps the ports it has open and refuses a
// second open of one of them inside this process.
#include "link/transport.h"

#include "link/serial_port_names.h"

#include <windows.h>

#include <climits>
#include <mutex>
#include <string>
#include <vector>

namespace {

constexpr DWORD default_read_timeout_ms = 5000;
constexpr DWORD driver_buffer_bytes = 4096;

// Ports open through this transport, by handle and upper-case device path.
class open_ports {
public:
    // False when device is already open here.
    bool claim(const std::string& device)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        for (const entry& e : entries_) {
            if (e.device == device) return false;
        }
        entries_.push_back({nullptr, device});
        return true;
    }
    void bind(const std::string& device, HANDLE handle)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        for (entry& e : entries_) {
            if (e.device == device && e.handle == nullptr) e.handle = handle;
        }
    }
    void release_device(const std::string& device)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        std::erase_if(entries_, [&](const entry& e) { return e.device == device && e.handle == nullptr; });
    }
    void release_handle(HANDLE handle)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        std::erase_if(entries_, [&](const entry& e) { return e.handle == handle; });
    }

private:
    struct entry {
        HANDLE handle;
        std::string device;
    };
    std::mutex mutex_;
    std::vector<entry> entries_;
};

std::string upper_ascii(std::string text)
{
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

// 8N1 at baud with RTS and DTR on and no CTS/DSR flow control (the rest as the
// port had it), 4096-byte driver buffers, and timeouts under which a one-byte
// read returns at once when a byte is waiting and otherwise waits up to the
// read constant for one.
bool configure_port(HANDLE h, int baud)
{
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!GetCommState(h, &dcb)) return false;
    dcb.BaudRate = static_cast<DWORD>(baud);
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fOutxCtsFlow = FALSE;
    dcb.fOutxDsrFlow = FALSE;
    if (!SetCommState(h, &dcb)) return false;
    if (!SetupComm(h, driver_buffer_bytes, driver_buffer_bytes)) return false;
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = MAXDWORD;
    timeouts.ReadTotalTimeoutMultiplier = MAXDWORD;
    timeouts.ReadTotalTimeoutConstant = default_read_timeout_ms;
    timeouts.WriteTotalTimeoutMultiplier = 10;
    timeouts.WriteTotalTimeoutConstant = 1;
    return SetCommTimeouts(h, &timeouts) != 0;
}

class win32_serial_transport final : public serial_transport {
public:
    int open(const char* port, int baud, link_handle_t* out) override
    {
        if (out == nullptr || baud <= 0) return -1;
        const std::string device = serial_port_device(port);
        if (device.empty()) return -1;
        const std::string key = upper_ascii(device);
        if (!open_.claim(key)) return -1;

        HANDLE h = CreateFileA(device.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            open_.release_device(key);
            return -1;
        }
        if (!configure_port(h, baud)) {
            CloseHandle(h);
            open_.release_device(key);
            return -1;
        }
        open_.bind(key, h);
        *out = h;
        return 0;
    }

    int write(link_handle_t h, const char* data, std::size_t len) override
    {
        if (h == LINK_INVALID_HANDLE || (data == nullptr && len > 0)) return 0;
        const DWORD count = len > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<DWORD>(len);
        DWORD written = 0;
        if (!WriteFile(h, data, count, &written, nullptr)) return 0;
        return static_cast<int>(written);
    }

    int bytes_waiting(link_handle_t h) override
    {
        if (h == LINK_INVALID_HANDLE) return -1;
        DWORD errors = 0;
        COMSTAT status{};
        if (!ClearCommError(h, &errors, &status)) return -1;
        return status.cbInQue > static_cast<DWORD>(INT_MAX) ? INT_MAX : static_cast<int>(status.cbInQue);
    }

    int read_byte(link_handle_t h, unsigned char* byte) override
    {
        if (h == LINK_INVALID_HANDLE || byte == nullptr) return -1;
        // Always a single byte: with these timeouts a longer read may wait the
        // whole constant even when bytes are waiting.
        DWORD got = 0;
        if (!ReadFile(h, byte, 1, &got, nullptr)) {
            DWORD errors = 0;
            ClearCommError(h, &errors, nullptr);
            return -1;
        }
        return got == 1 ? 1 : 0;
    }

    void set_read_timeout(link_handle_t h, int ms) override
    {
        if (h == LINK_INVALID_HANDLE) return;
        COMMTIMEOUTS timeouts{};
        if (!GetCommTimeouts(h, &timeouts)) return;
        // With both read multipliers at MAXDWORD a zero constant would let a
        // read wait without limit; one millisecond is the shortest wait.
        timeouts.ReadTotalTimeoutConstant = ms > 1 ? static_cast<DWORD>(ms) : 1;
        SetCommTimeouts(h, &timeouts);
    }

    void close(link_handle_t h) override
    {
        if (h == LINK_INVALID_HANDLE) return;
        PurgeComm(h, PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR);
        CloseHandle(h);
        open_.release_handle(h);
    }

private:
    open_ports open_;
};

}  // namespace

serial_transport& platform_serial_transport()
{
    static win32_serial_transport transport;
    return transport;
}
