// What the tool's exporting commands share: the number format options taken
// out of the command's words, the destination given on the command line,
// and the export run that writes through them.
#pragma once

#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "app/number_format_settings.h"
#include "cli_context.h"
#include "export/text_export_run.h"
#include "terminal_prompt.h"

// A file or folder named on the command line: what the export writes to, in
// place of the program's Save As and folder choosers.
class given_export_destination final : public export_destination {
public:
    std::optional<std::string> text_file() override { return file; }
    std::optional<std::string> folder() override { return chosen_folder; }
    std::optional<std::string> file;
    std::optional<std::string> chosen_folder;
};

// Takes "--number-format ..." out of the command's words (the stored number
// format when it is not given). False with a usage message printed and its
// exit status in status.
bool take_export_number_format(cli_context& context, s_number_format& format, int& status);

// An export run with the format's punctuation and the preamble given, its
// messages (what cannot be exported, the "Locale Error" fallback) on
// standard error; the format becomes the one in effect, so that custom
// separators reach the punctuation.
struct s_cli_export {
    explicit s_cli_export(std::FILE* messages) : prompt(messages) {}
    terminal_prompt prompt;
    given_export_destination destination;
    std::unique_ptr<s_export_run> run;
};
std::unique_ptr<s_cli_export> make_cli_export(cli_context& context, const s_number_format& format,
                                              const std::string& preamble);
