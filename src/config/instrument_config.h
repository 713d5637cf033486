// The configuration model: the program's copy of the connected instrument's
// settings, one record per numbered parameter, with limits and (for choice
// settings) the names of the choices. Sweep engines, windows, exports and the
// monitor read and change settings only through it; the transfer operations
// (config_transfer.h) move values between the model and the instrument.
//
// Two banks of 256 records: ids 0-255 address the first bank, ids 500-755
// the second (command number id - 500). No other id is valid: the local
// operations ignore invalid ids (reads give the "not set" state), the
// transfer operations act on the first bank only.
//
// The objects carry no lock: the main thread, one sweep thread and the
// monitor thread take turns (the monitor is stopped around foreground use).
#pragma once

#include <cstdint>
#include <cstdio>
#include <iosfwd>
#include <string>
#include <vector>

struct s_connection;
class user_prompt;
class progress_reporter;

inline constexpr int CONFIG_BANK_SIZE = 256;
inline constexpr int CONFIG_SECOND_BANK_FIRST_ID = 500;
inline constexpr int CONFIG_VALUE_SIZE = 20;  // 19 characters and a NUL
inline constexpr int CONFIG_NOT_SET = -99;    // "not set" marker of kinds, values and limits
inline constexpr double CONFIG_NO_LIMIT = -99.0;

enum config_kind : std::int32_t {
    CONFIG_KIND_CHOICE = 0,   // an integer, usually with option names
    CONFIG_KIND_REAL = 1,     // held as the instrument's text (1.0000E3)
    CONFIG_KIND_UNDEFINED = -99,
};

struct s_config_param {
    // Text of a real parameter, or a choice parameter's integer in the first
    // four bytes (read and written through config_int_of / config_set_int).
    char value[CONFIG_VALUE_SIZE] = {};
    std::int32_t kind = CONFIG_KIND_UNDEFINED;
    std::int32_t command_number = 0;
    double min = CONFIG_NO_LIMIT;
    double max = CONFIG_NO_LIMIT;
    bool changed = false;
    std::vector<std::string> options;
};

struct s_config_value {
    bool is_choice = false;
    char value[CONFIG_VALUE_SIZE] = {};
    double min = CONFIG_NO_LIMIT;
    double max = CONFIG_NO_LIMIT;
};

// The integer held in the first four bytes of a value field.
std::int32_t config_int_of(const char (&value)[CONFIG_VALUE_SIZE]);
// Writes n into the first four bytes and clears the rest of the field.
void config_set_int(char (&value)[CONFIG_VALUE_SIZE], std::int32_t n);
// True for a record that still holds the "not set" marker: an undefined
// record (kind -99) whose field is the integer -99. Its text form is the
// marker's bytes, which must never be shown or sent.
bool config_value_not_set(const s_config_param& record);
// The leading integer of a text as atoi reads it (white space, a sign,
// decimal digits), held to the int range; 0 when there is none or text is null.
int config_leading_int(const char* text);
// The leading number of a text as atof reads it; 0 when there is none or
// text is null.
double config_leading_double(const char* text);

// What a value translation depends on besides the parameter and the value.
struct s_translation_context {
    int mode = 0;            // parameter 1, operation mode, program numbering
    int current_option = 0;  // the connection's current option
};

// What read_all_with_progress needs: where to report, which connection to
// copy, and whether to open the link itself.
struct s_config_read_job {
    progress_reporter* progress = nullptr;
    const s_connection* connection = nullptr;
    bool open_link = true;
};

class instrument_config {
public:
    instrument_config();
    virtual ~instrument_config();
    instrument_config(const instrument_config&) = delete;
    instrument_config& operator=(const instrument_config&) = delete;

    // The record of an id (nullptr for an invalid id).
    s_config_param* record(int id);
    const s_config_param* record(int id) const;
    static bool valid_id(int id);
    // The command number of an id: id in the first bank, id - 500 in the second.
    static int command_number_of(int id);

    // Model constructors only.
    virtual void define_real_param(s_config_param* target, int id, double min, double max, const char* default_text);
    virtual void define_choice_param(s_config_param* target, int id, int min, int max, int default_value,
                                     const std::vector<std::string>& options);

    virtual std::string get_value_string(int id) const;
    virtual void get_value_text(int id, char* buffer) const;  // buffer of CONFIG_VALUE_SIZE or more
    virtual double get_value_double(int id) const;
    virtual int get_value_int(int id) const;
    virtual s_config_value get_value(int id) const;
    virtual std::string get_display_string(int id) const;
    virtual void get_display_text(int id, char* buffer) const;  // buffer of 19 bytes or more

    virtual int set_value_text(int id, const char* text);
    virtual int set_value_double(int id, double value);
    virtual int set_value_int(int id, int value);
    virtual void set_value(int id, const s_config_value& value);
    virtual void set_min(int id, double min);
    virtual void set_max(int id, double max);
    virtual void set_options(int id, const std::vector<std::string>& options);

    // Transfers (config_transfer.cpp); the models add value translation.
    // write_param: false for an id outside the first bank, a value out of
    // limits, or a write the instrument refused (changed then stays set).
    virtual bool write_param(int id, s_connection* conn, bool quiet);
    // Throws the transfer error code (an int) when the instrument fails.
    virtual void read_param(int id, s_connection* conn, bool quiet, s_config_param* target = nullptr);
    virtual void write_all(s_connection* conn, bool open_link);
    virtual bool read_all(s_connection* conn, bool open_link);
    virtual void read_all_with_progress(const s_config_read_job& job);

    // The settings report (settings_report.h), built in memory and written
    // in one piece. The base writes nothing; each model writes its own
    // through the output-stream form, which the other two forms call: the
    // output side of a combined stream (nothing for nullptr), and an open
    // file, its bytes unchanged.
    virtual void write_report(std::ostream& out) const;
    virtual void write_report(std::iostream* stream) const;
    virtual void write_report(std::FILE* file) const;
    // The configuration stream (config_stream.h): every record of both banks
    // with the instrument type and current option it was saved for.
    virtual void save_stream(std::iostream& stream, int instrument_type, int current_option) const;
    // Reads a stream saved by save_stream into this model after checking it
    // whole; false, with the model unchanged, for a stream that is not one or
    // is damaged (told through the prompt unless quiet) and when the user
    // cancels the warning about a stream from another instrument.
    virtual bool load_stream(std::iostream& stream, user_prompt& prompt, int instrument_type, int current_option,
                             bool quiet);

    // Value translation between the program's option numbering (held in the
    // model) and the instrument's: pure functions of the parameter, the value,
    // the operation mode (parameter 1, in the model's numbering) and the
    // connection's current option. Identity in the base, tables in the models.
    virtual int to_instrument_value(int id, int program_value, const s_translation_context& context) const;
    virtual int to_program_value(int id, int instrument_value, const s_translation_context& context) const;
    // True for the parameters whose translation depends on the mode: a bulk
    // read keeps their raw replies and translates them once parameter 1 is known.
    virtual bool translation_depends_on_mode(int id) const;
    // The mode this model holds now, and the connection's current option.
    s_translation_context translation_context(const s_connection* conn) const;

protected:
    // The base transfers with this model's translation. The base versions log
    // the value to the comms log; the models' own read_param logs it to the
    // debug output instead, and their write_param logs nothing.
    bool write_param_with(int id, s_connection* conn, bool quiet, bool log_to_comms);
    void read_param_with(int id, s_connection* conn, bool quiet, s_config_param* target, bool log_to_comms);

private:
    s_config_param first_bank_[CONFIG_BANK_SIZE];
    s_config_param second_bank_[CONFIG_BANK_SIZE];
};
