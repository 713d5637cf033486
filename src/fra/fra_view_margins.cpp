#include "fra/fra_view_margins.h"

#include "app/program_identity.h"
#include "graph/fixed_text.h"

namespace {

constexpr int listed_crossings = 10;
constexpr int shown_decimals = 2;

// The words of each kind's messages.
struct s_crossing_words {
    const char* none;   // no crossing
    const char* point;  // "0dB" or "0Phase"
    const char* other;  // the interpolated quantity's name
};

const s_crossing_words& words_of(crossing_kind kind)
{
    static const s_crossing_words zero_db{no_crossing_text(crossing_kind::zero_db), "0dB", "phase"};
    static const s_crossing_words zero_phase{no_crossing_text(crossing_kind::zero_phase), "0Phase", "gain"};
    return kind == crossing_kind::zero_db ? zero_db : zero_phase;
}

double other_of(const s_fra_result& crossing, crossing_kind kind)
{
    return kind == crossing_kind::zero_db ? crossing.phase : crossing.gain;
}

std::string sweep_message(const s_fra_sweep& sweep, crossing_kind kind)
{
    LList<s_fra_result> found;
    fra_sweep_crossings(sweep, kind, found);
    return crossings_message(found, kind);
}

}  // namespace

void fra_sweep_crossings(const s_fra_sweep& sweep, crossing_kind kind, LList<s_fra_result>& found)
{
    for (const s_crossing& crossing : find_crossings(sweep.point, fra_sweep_held_points(sweep), kind)) {
        s_fra_result record{};
        record.frequency = crossing.frequency;
        (kind == crossing_kind::zero_db ? record.phase : record.gain) = crossing.other;
        found.append(record);
    }
}

std::string crossings_message(const LList<s_fra_result>& found, crossing_kind kind)
{
    const s_crossing_words& words = words_of(kind);
    if (found.count == 0) {
        return words.none;
    }
    const std::string point = words.point;
    if (found.count == 1) {
        const s_fra_result& only = *found.head->element;
        return point + " point = freq: " + fixed_text(only.frequency, shown_decimals) + " " + words.other + ": " +
               fixed_text(other_of(only, kind), shown_decimals);
    }
    std::string text = "There were " + std::to_string(found.count) + " " + point + " points found\n\n";
    int number = 1;
    for (const LList<s_fra_result>::node* at = found.head; at != nullptr && number <= listed_crossings;
         at = at->next, ++number) {
        text += point + " point " + std::to_string(number) + " =  freq: " +
                fixed_text(at->element->frequency, shown_decimals) + "  " + words.other + ": " +
                fixed_text(other_of(*at->element, kind), shown_decimals) + " \n";
    }
    if (found.count > listed_crossings) {
        text += "...";
    }
    return text;
}

std::string zero_db_points_text(const s_fra_sweep& sweep)
{
    return sweep_message(sweep, crossing_kind::zero_db);
}

std::string zero_phase_points_text(const s_fra_sweep& sweep)
{
    return sweep_message(sweep, crossing_kind::zero_phase);
}

void find_zero_db_points(const s_fra_sweep& sweep, user_prompt& prompt)
{
    prompt.tell(zero_db_points_text(sweep).c_str(), program_name, prompt_icon::information);
}

void find_zero_phase_points(const s_fra_sweep& sweep, user_prompt& prompt)
{
    prompt.tell(zero_phase_points_text(sweep).c_str(), program_name, prompt_icon::information);
}

void find_gain_phase_margin(const s_fra_sweep& sweep, user_prompt& prompt)
{
    find_zero_db_points(sweep, prompt);
    find_zero_phase_points(sweep, prompt);
}
