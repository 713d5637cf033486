#include "terminal_text.h"

#include "app/text_encoding.h"

#ifdef _WIN32
#include <windows.h>

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

}  // namespace

std::FILE* terminal_stream(std::FILE* stream)
{
#if defined(__GLIBC__)
    cookie_io_functions_t functions{};
    functions.write = write_as_utf8;
    if (std::FILE* converting = fopencookie(stream, "w", functions)) {
        std::setvbuf(converting, nullptr, _IOLBF, BUFSIZ);
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

void terminal_use_program_code_page() {}

#endif
