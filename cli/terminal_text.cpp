#include "terminal_text.h"

#include "app/text_encoding.h"

#ifdef _WIN32
#include <windows.h>

#include <io.h>

#include <cstdlib>
#else
#include <sys/types.h>
#endif

#ifdef _WIN32

namespace {

UINT shell_code_page = 0;

void restore_code_page()
{
    SetConsoleOutputCP(shell_code_page);
}

}  // namespace

std::FILE* terminal_stream(std::FILE* stream)
{
    return stream;
}

bool program_words(std::vector<std::string>*, std::string*)
{
    return true;
}

void terminal_use_program_code_page()
{
    constexpr UINT program_code_page = 1252;
    shell_code_page = GetConsoleOutputCP();
    if (shell_code_page == 0 || shell_code_page == program_code_page) {
        return;  // no console, or it already shows the program's texts
    }
    if (SetConsoleOutputCP(program_code_page)) {
        std::atexit(restore_code_page);
    }
}

void print_unicode_line(std::FILE* stream, const std::string& utf8)
{
    std::fflush(stream);
    const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    DWORD mode = 0;
    if (handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode)) {
        const std::string line = utf8 + "\r\n";
        const int size = static_cast<int>(line.size());
        const int length = MultiByteToWideChar(CP_UTF8, 0, line.data(), size, nullptr, 0);
        if (length > 0) {
            std::wstring wide(static_cast<std::size_t>(length), L'\0');
            MultiByteToWideChar(CP_UTF8, 0, line.data(), size, wide.data(), length);
            DWORD written = 0;
            WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
        }
        return;
    }
    std::fprintf(stream, "%s\n", utf8.c_str());
}

#else

namespace {

#if defined(__GLIBC__)
// Each buffered stretch of program text goes to the real stream as UTF-8, at
// once, so nothing waits in two buffers when the tool exits.
ssize_t write_as_utf8(void* cookie, const char* data, std::size_t size)
{
    std::FILE* target = static_cast<std::FILE*>(cookie);
    const std::string utf8 = cp1252_to_utf8(std::string(data, size));
    if (std::fwrite(utf8.data(), 1, utf8.size(), target) != utf8.size() || std::fflush(target) != 0) {
        return 0;
    }
    return static_cast<ssize_t>(size);
}
#endif

// The real stream behind each converting one (standard output and error).
struct s_converted_stream {
    std::FILE* converting;
    std::FILE* target;
};
s_converted_stream converted_streams[2] = {};

std::FILE* target_of(std::FILE* stream)
{
    for (const s_converted_stream& entry : converted_streams) {
        if (entry.converting == stream) {
            return entry.target;
        }
    }
    return stream;
}

}  // namespace

std::FILE* terminal_stream(std::FILE* stream)
{
#if defined(__GLIBC__)
    cookie_io_functions_t functions{};
    functions.write = write_as_utf8;
    if (std::FILE* converting = fopencookie(stream, "w", functions)) {
        std::setvbuf(converting, nullptr, _IOLBF, BUFSIZ);
        for (s_converted_stream& entry : converted_streams) {
            if (entry.converting == nullptr) {
                entry = {converting, stream};
                break;
            }
        }
        return converting;
    }
#endif
    return stream;
}

bool program_words(std::vector<std::string>* words, std::string* error)
{
    for (std::size_t i = 0; i < words->size(); ++i) {
        std::string& word = (*words)[i];
        std::string converted;
        switch (utf8_to_cp1252(word, &converted)) {
        case utf8_conversion::converted:
            word = converted;
            break;
        case utf8_conversion::not_utf8:
            break;
        case utf8_conversion::not_representable:
            *error = "word " + std::to_string(i + 1) +
                     " holds a character the program's code page (Windows-1252) has no place for";
            return false;
        }
    }
    return true;
}

void print_unicode_line(std::FILE* stream, const std::string& utf8)
{
    std::fflush(stream);
    std::FILE* target = target_of(stream);
    std::fprintf(target, "%s\n", utf8.c_str());
    std::fflush(target);
}

void terminal_use_program_code_page() {}

#endif
