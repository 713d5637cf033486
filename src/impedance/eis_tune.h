// The "Tune EIS Calculation" dialog's rules, without the window: the fields
// "Smoothing (%):" and "Sensitivity (%):", and the buttons "Preview", "OK"
// and "Cancel". The window layer shows the opening texts, hands the typed
// texts to preview and calls ok or cancel when it closes; the command-line
// tool checks its percentages with the same refusals.
#pragma once

#include <functional>
#include <string>

#include "app/user_prompt.h"
#include "impedance/eis_analysis.h"

struct s_eis_refusal {
    const char* text;
    const char* caption;
};

inline constexpr s_eis_refusal EIS_SENSITIVITY_REFUSAL = {"The Sensitivity can only be between 0% and 100%",
                                                          "Invalid Sensitivity"};
inline constexpr s_eis_refusal EIS_SMOOTHING_REFUSAL = {"The Smoothing can only be between 0% and 100%",
                                                        "Invalid Smoothing"};

// A field's text as atof reads it (its leading number, 0 when there is none).
double eis_percent_from_text(const char* text);
// A fraction as the field shows it: "%0.3f" of the fraction x 100 ("5.000").
std::string eis_percent_text(double fraction);

// The refusal for two percentages, the sensitivity checked first; nullptr
// when both lie from 0 to 100. A value that is not a number lies nowhere in
// that range and is refused.
const s_eis_refusal* eis_tuning_refusal(double smoothing_percent, double sensitivity_percent);
// Two accepted percentages as the fractions the analysis holds.
eis_tuning eis_tuning_from_percent(double smoothing_percent, double sensitivity_percent);

struct s_eis_tune_fields {
    std::string smoothing;    // "Smoothing (%):"
    std::string sensitivity;  // "Sensitivity (%):"
};

// One opening of the dialog over the view's tuning. calculate is the view's
// "CALCULATE" (the scan with the tuning as it then is, and the redraw).
class eis_tune_dialog_model {
public:
    eis_tune_dialog_model(eis_tuning& tuning, user_prompt& prompt, std::function<void()> calculate);

    // The texts the fields open with: the tuning as it was at opening.
    s_eis_tune_fields opening_fields() const;
    // "Preview": a refused value is told (the tuning is left as it is) and
    // false returned; otherwise both values are stored and calculate runs.
    bool preview(const s_eis_tune_fields& typed);
    // "OK": keeps what the last accepted preview stored (texts typed since
    // are not read), then calculate runs.
    void ok();
    // "Cancel" (and closing the window): the tuning as it was at opening,
    // then calculate runs.
    void cancel();

private:
    eis_tuning& tuning_;
    user_prompt& prompt_;
    std::function<void()> calculate_;
    eis_tuning remembered_;
};
