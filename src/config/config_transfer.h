// Moving configuration values between the model (instrument_config.h) and
// the instrument, in two layers:
//  - the parameter layer exchanges one parameter: "config,N?" to query it,
//    "config,N,V" to set it, each write verified through the instrument's
//    event status register ("*esr?"), with retries; a failure throws a
//    config_transfer_error carrying the transfer error code;
//  - the bulk layer (the model's read_all and write_all) suspends the
//    instrument with "SUSPEN,ON", moves every parameter the instrument type
//    names and resumes it with "SUSPEN,OFF".
// The model's read_param and write_param sit between the two (their base
// versions are in config_transfer_single.cpp).
//
// Every operation blocks its caller and takes no lock: callers stop the
// generator monitor first and never run two transfers at once. All waits go
// through the link clock (link_current_backend().clock).
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

struct s_connection;
struct s_config_param;
class instrument_config;
class progress_reporter;
class user_prompt;

// ---------------------------------------------------------------------------
// Transfer error codes: low 16 bits the parameter's command number, high
// 16 bits the failure value:
//   missing reply (three query attempts)        n            ret 0
//   empty integer reply (third failure)         n - 0x10000  ret 65535
//   integer reply not starting with a digit     n - 0x20000  ret 65534
//   value outside the parameter's limits        n + (value << 16)
//   write refused by the instrument             n + ((ESR & 0x7F) << 16)

// n + (value << 16), computed without overflow and kept to 32 bits.
std::int32_t config_error_code(int command_number, std::int64_t value);
// The parts of a code as every catcher shows them: id = code & 0xFFFF and
// ret = (code >> 16) & 0xFFFF (arithmetic shift, so -1 shows as 65535).
int config_error_id(std::int32_t code);
int config_error_ret(std::int32_t code);

inline constexpr std::int32_t CONFIG_EMPTY_REPLY = -1;       // failure value of an empty integer reply
inline constexpr std::int32_t CONFIG_NON_NUMERIC_REPLY = -2; // ... of one not starting with a digit

class config_transfer_error : public std::runtime_error {
public:
    explicit config_transfer_error(std::int32_t code);
    std::int32_t code() const { return code_; }
    int id() const { return config_error_id(code_); }
    int ret() const { return config_error_ret(code_); }

private:
    std::int32_t code_;
};

// ---------------------------------------------------------------------------
// Parameter layer. Each throws config_transfer_error on failure.

// Queries "config,N?" (up to three attempts; after an empty or missing reply
// the reset byte and a 100 ms drain) and copies the reply line, cut to
// size - 1 characters, into out. out is written only on success, so a failed
// query never wipes what the caller held.
void config_query_text(int command_number, char* out, int size, s_connection* conn);
// The reply as an integer. A reply must start with a decimal digit (a sign
// or a leading space counts as non-numeric); three failures of either kind
// end it with the code of the third.
int config_query_int(int command_number, s_connection* conn);
// config_query_int, then min <= value <= max (a value outside: reset byte,
// 100 ms drain, code n + (value << 16)).
int config_query_int_checked(int command_number, int min, int max, s_connection* conn);
// Sends "config,N,TEXT" and verifies it: up to three "*esr?" checks, each
// after 200 ms; a reply of 32 or less accepts. A retry resends the command
// after the reset byte and a 100 ms drain, then waits 500 ms.
void config_send_text(int command_number, const char* text, s_connection* conn);
void config_send_int(int command_number, int value, s_connection* conn);

// A record's double limit as the integer the limit checks use: truncated
// toward zero, held within the range of int.
int config_limit_as_int(double limit);

// ---------------------------------------------------------------------------
// Single parameters (shared by read_param/write_param and the bulk layer).

// The command number a transfer of id uses: the record's own, or id itself
// for a record the model never defined (whose stored command number is 0).
int config_transfer_command(int id, const s_config_param& record);

// The name of option index of a choice record ("" when there is none).
std::string config_option_name(const s_config_param& record, int index);
// The value line a single transfer logs: text and a line feed, "--" for an
// empty text; to the comms log (the base model) or the debug output (the
// family models).
void config_log_transfer_value(const std::string& text, bool to_comms_log);

// Why write_param would not send a record's value.
enum class config_write_refusal {
    none,
    out_of_limits,  // the stored value (text: its number) lies outside a set limit
    no_value,       // an undefined record still holding the "not set" marker, or an empty text
    binary_format,  // the "Binary" number format: the instrument's replies would no longer be
                    // text, and the program reads every reply as text
};
config_write_refusal config_check_writable(const s_config_param& record);

// The transfer error code of this thread's latest write_param whose send the
// instrument refused or did not answer; empty when the latest write_param
// sent its value, or did not try. Cleared at the start of every write_param.
std::optional<std::int32_t> config_last_write_error();

// ---------------------------------------------------------------------------
// Messages (caption CONFIG_TRANSFER_CAPTION, warning icon).
inline constexpr const char* CONFIG_TRANSFER_CAPTION = "Read Instrument Setup";

// "An error occurred reading the config from the instrument \n(Id:%d [%s] ret:%d)",
// with "\nToo many read errors, stopping instrument config read" when last.
std::string config_read_error_text(std::int32_t code, const char* name, bool too_many);
// "An error occurred writing the config to the instrument \n(Id:%d [%s] ret:%d)"
std::string config_bulk_write_error_text(std::int32_t code, const char* name);
// "NAME (id:N) is not set to Binary: the program reads the instrument's
// replies as text" (a write of the binary number format, refused).
std::string config_binary_format_text(const char* name, int command_number);
// "An error occurred writing the config to the Instrument \n(Id:%d ret:%d)"
std::string config_write_error_text(std::int32_t code);
// "NAME (id:N val:VALUE) can only be set between MIN and MAX" (no line end);
// limits with two significant digits.
std::string config_limits_text(const char* name, int command_number, const s_config_param& record);

// A value as the instrument reported it may lie outside the record's own
// limits, or be no finite number (1e999). It is kept as read, so nothing is
// lost, and marked: views and the tool show the mark beside the value.
bool config_value_outside_limits(const s_config_param& record);
// "NAME (id:N val:VALUE) lies outside its limits MIN to MAX" (no line end).
std::string config_outside_limits_text(const char* name, int command_number, const s_config_param& record);

// Where the bulk transfers show their messages and the wait cursor. nullptr
// (the default) shows nothing.
void config_transfer_use_prompt(user_prompt* prompt);
user_prompt& config_transfer_prompt();

// ---------------------------------------------------------------------------
// Bulk layer over an explicit name table (256 names indexed by command
// number, "Unused" for a number the instrument does not have). The model's
// read_all, write_all and read_all_with_progress call these with the table
// of the connection's instrument type; a null table is a type without one.

// read_all: true when at most two reads failed. Reports progress when a
// reporter is given (range 255, position 256 - number, done or failed).
bool config_read_all_named(instrument_config& model, s_connection* conn, bool open_link,
                           const char* const* names, progress_reporter* progress = nullptr);
void config_write_all_named(instrument_config& model, s_connection* conn, bool open_link,
                            const char* const* names);

// ---------------------------------------------------------------------------
// Mode commands: set parameter 1 (operation mode) and the instrument's
// display together. The instrument sends no reply; the caller closes the
// link and reads the whole configuration again.
enum class instrument_mode_view { fra, lcr };
inline constexpr const char* CONFIG_MODE_FRA_COMMAND = "config,1,1;FRA\n";
inline constexpr const char* CONFIG_MODE_LCR_COMMAND = "config,1,3;LCR\n";

const char* config_mode_command(instrument_mode_view view);
// Opens the link, sends the view's mode command and closes the link again.
// False (nothing sent) when the link does not open.
bool config_send_mode_command(s_connection* conn, instrument_mode_view view);
