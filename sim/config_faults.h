// Fault knobs for the configuration commands, each aimed at one parameter
// and, optionally, at only its first K attempts (queries for the query
// knobs, "config,N,V" lines for --reject-write); later attempts behave
// normally. Several knobs on one parameter take effect in the order given:
// "--no-reply 12:1 --empty-reply 12:1" leaves the first query of 12
// unanswered, answers the second with an empty line and the third properly.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hvxsim {

struct config_fault {
    enum class action {
        reject_write,  // refuse the write: ESR reads as a rejection
        no_reply,      // send nothing
        empty_reply,   // send an empty line
        text_reply,    // send text instead of the value
        value_reply,   // send value, in the parameter's own form, instead of the held one
    };
    action what;
    int parameter;
    std::string text;                        // text_reply
    double value = 0;                        // value_reply
    std::optional<unsigned long> remaining;  // attempts still affected; nothing: all of them
};

// True for the knobs that act on queries (all but reject_write).
bool is_query_fault(config_fault::action what);

// Reads a knob's argument: "N[:K]" for reject_write, no_reply and
// empty_reply; "N=TEXT[:K]" for text_reply (TEXT with C escapes; a final
// ":digits" is always the count, so write a colon in TEXT as \x3a);
// "N=V[:K]" for value_reply. N is 0 to 9999, K 1 or more. Nothing, with a
// message in error, when the argument is malformed.
std::optional<config_fault> parse_config_fault(config_fault::action what, std::string_view argument,
                                               std::string& error);

// The first fault for this parameter and direction with attempts left;
// one attempt is used up. Nothing when no fault applies.
std::optional<config_fault> take_config_fault(std::vector<config_fault>& faults, int parameter, bool query);

}  // namespace hvxsim
