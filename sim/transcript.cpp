#include "sim/transcript.h"

#include <cerrno>
#include <cstring>

#include "sim/c_escape.h"

namespace hvxsim {

transcript::transcript() : start_(std::chrono::steady_clock::now()) {}

transcript::~transcript()
{
    if (file_)
        std::fclose(file_);
}

bool transcript::open(const std::string& path, std::string& error)
{
    std::lock_guard lock(mutex_);
    std::FILE* f = std::fopen(path.c_str(), "ab");
    if (!f) {
        error = "cannot open transcript " + path + ": " + std::strerror(errno);
        return false;
    }
    if (file_)
        std::fclose(file_);
    file_ = f;
    enabled_ = true;
    return true;
}

void transcript::connect(std::string_view channel, std::string_view peer)
{
    record(channel, "CONNECT", peer);
}

void transcript::drop(std::string_view channel, std::string_view reason)
{
    record(channel, "DROP", reason);
}

void transcript::close(std::string_view channel)
{
    record(channel, "CLOSE", {});
}

void transcript::in(std::string_view channel, std::string_view bytes)
{
    quoted_record(channel, "IN", bytes);
}

void transcript::out(std::string_view channel, std::string_view bytes)
{
    quoted_record(channel, "OUT", bytes);
}

void transcript::command(std::string_view channel, std::string_view line)
{
    quoted_record(channel, "CMD", line);
}

void transcript::note(std::string_view channel, std::string_view text)
{
    quoted_record(channel, "NOTE", text);
}

void transcript::reset(std::string_view channel)
{
    record(channel, "RESET", {});
}

void transcript::quoted_record(std::string_view channel, std::string_view event, std::string_view bytes)
{
    if (!enabled_)
        return;
    std::string data = "\"";
    data += c_escape(bytes);
    data += '"';
    record(channel, event, data);
}

void transcript::record(std::string_view channel, std::string_view event, std::string_view data)
{
    std::lock_guard lock(mutex_);
    if (!file_)
        return;
    const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    std::fprintf(file_, "%.3f %.*s %.*s", seconds, static_cast<int>(channel.size()), channel.data(),
                 static_cast<int>(event.size()), event.data());
    if (!data.empty()) {
        std::fputc(' ', file_);
        std::fwrite(data.data(), 1, data.size(), file_);
    }
    std::fputc('\n', file_);
    std::fflush(file_);
}

}  // namespace hvxsim
