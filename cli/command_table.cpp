#include "command_table.h"

#include <sstream>

#include "analysis_commands.h"
#include "capture_command.h"
#include "config_commands.h"
#include "db_commands.h"
#include "export_tests_commands.h"
#include "link_commands.h"
#include "monitor_command.h"
#include "plot_commands.h"
#include "reading_commands.h"
#include "sweep_commands.h"

namespace {

constexpr cli_command commands[] = {
    {"identify", "", "identify the instrument (exit 0 when identified, 1 when not)", true, run_identify},
    {"query", "TEXT", "send TEXT and print the one reply line", true, run_query},
    {"values", "TEXT [--strict]", "send TEXT and print each value of the reply", true, run_values},
    {"config read", "", "read the whole configuration: number, name, value per line", true, run_config_read},
    {"config get", "ID", "read one parameter", true, run_config_get},
    {"config set", "ID VALUE", "set one parameter and write it to the instrument", true, run_config_set},
    {"config report", "", "the settings report of the instrument's configuration", true, run_config_report},
    {"config save", "FILE", "read the whole configuration and save it as a configuration file", true, run_config_save},
    {"config load", "FILE [--yes]", "load a configuration file and write it to the instrument", true, run_config_load},
    {"config defaults", "TYPE", "the model's default table for instrument type 7 or 9", false, run_config_defaults},
    {"db sessions", "FILE", "list the sessions of a test database", false, run_db_sessions},
    {"db tests", "FILE SESSION_ID", "list the tests of a session", false, run_db_tests},
    {"db points", "FILE TEST_ID", "list the points of a test", false, run_db_points},
    {"db new-session", "FILE NAME", "create a session (and the database file if needed)", false, run_db_new_session},
    {"db delete-session", "FILE SESSION_ID", "delete a session with its tests and points", false, run_db_delete_session},
    {"db delete-test", "FILE TEST_ID", "delete a test with its points", false, run_db_delete_test},
    {"sweep fra", "[--steps N] [--start F] [--end F] [--cycles N] [--out FILE] [--db FILE --session ID --project NAME --name NAME] [--yes] [--realtime [--keep-output-on] [--set-start-frequency]] [--export FILE [--number-format ...]]",
     "run one FRA sweep and print or write its points", true, run_sweep_fra},
    {"sweep lcr", "[--steps N] [--start F] [--end F] [--cycles N] [--out FILE] [--piezo] [--cell9a] [--yes] [--realtime [--keep-output-on] [--set-start-frequency]] [--export FILE [--eis] [--number-format ...]]",
     "run one impedance sweep and print or write its points", true, run_sweep_lcr},
    {"reading fra", "[--count N]", "take live FRA readings (1 unless --count) and print them", true, run_reading_fra},
    {"reading lcr", "[--count N]", "take live impedance readings (1 unless --count) and print them", true, run_reading_lcr},
    {"monitor", "[--count N]", "the generator monitor's texts, one line a second", true, run_monitor},
    {"import", "SWEEP_FILE --db FILE --session ID --name NAME", "store a text or CSV sweep file as a test", false, run_import},
    {"analyze eis", "FILE [--smoothing PCT] [--sensitivity PCT]", "fit an impedance sweep file to a Randles cell", false, run_analyze_eis},
    {"analyze piezo", "FILE", "read an impedance sweep file as a piezo resonator's equivalent circuit", false, run_analyze_piezo},
    {"margins", "FILE | --db FILE --test ID [--test ID ...]", "find the 0 dB and 0 degree crossings of an FRA sweep file or of stored tests", false, run_margins},
    {"export tests", "--db FILE --test ID [--test ID ...] --folder DIR [--number-format default|uk|france|germany|custom [--decimal C] [--thousands C]]",
     "write stored tests as text files into a folder", false, run_export_tests},
    {"combine", "--db FILE --test A --test B [--test C] [--open-loop]", "combine two or three stored responses into one loop response", false, run_combine},
    {"capture", "--out FILE.bmp [--group 1|2] [--colour]", "download the instrument's screen as a bitmap (monochrome unless --colour)", true, run_capture},
    {"plot", "test --db FILE --test ID [--test ID ...] [--margins] | lcr-bode|lcr-nyquist|eis|piezo FILE; --out FILE.svg|FILE.bmp [--size WxH] [--white]",
     "draw a graph into an SVG picture (a .bmp file in the Windows build)", false, run_plot},
};

std::vector<std::string> split_words(const char* name)
{
    std::istringstream in(name);
    std::vector<std::string> words;
    for (std::string word; in >> word;) {
        words.push_back(word);
    }
    return words;
}

}  // namespace

std::span<const cli_command> cli_commands()
{
    return commands;
}

const cli_command* find_cli_command(const std::vector<std::string>& words, std::size_t* name_words)
{
    const cli_command* best = nullptr;
    std::size_t best_length = 0;
    for (const cli_command& command : commands) {
        const std::vector<std::string> name = split_words(command.name);
        if (name.size() <= best_length || name.size() > words.size()) {
            continue;
        }
        bool match = true;
        for (std::size_t i = 0; i < name.size() && match; ++i) {
            match = words[i] == name[i];
        }
        if (match) {
            best = &command;
            best_length = name.size();
        }
    }
    *name_words = best_length;
    return best;
}
