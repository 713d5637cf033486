#include "impedance/eis_tune.h"

#include <cstdio>
#include <cstring>
#include <utility>

#include "graph/leading_number.h"

namespace {

constexpr double percent = 100.0;

bool within_percent(double value)
{
    return value >= 0.0 && value <= percent;
}

}  // namespace

double eis_percent_from_text(const char* text)
{
    return text == nullptr ? 0.0 : leading_number(text, text + std::strlen(text));
}

std::string eis_percent_text(double fraction)
{
    const double value = fraction * percent;
    const int length = std::snprintf(nullptr, 0, "%0.3f", value);
    if (length <= 0) {
        return std::string();
    }
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    std::snprintf(text.data(), text.size(), "%0.3f", value);
    text.resize(static_cast<std::size_t>(length));
    return text;
}

const s_eis_refusal* eis_tuning_refusal(double smoothing_percent, double sensitivity_percent)
{
    if (!within_percent(sensitivity_percent)) {
        return &EIS_SENSITIVITY_REFUSAL;
    }
    if (!within_percent(smoothing_percent)) {
        return &EIS_SMOOTHING_REFUSAL;
    }
    return nullptr;
}

eis_tuning eis_tuning_from_percent(double smoothing_percent, double sensitivity_percent)
{
    return {smoothing_percent / percent, sensitivity_percent / percent};
}

eis_tune_dialog_model::eis_tune_dialog_model(eis_tuning& tuning, user_prompt& prompt,
                                             std::function<void()> calculate)
    : tuning_(tuning), prompt_(prompt), calculate_(std::move(calculate)), remembered_(tuning)
{
}

s_eis_tune_fields eis_tune_dialog_model::opening_fields() const
{
    return {eis_percent_text(remembered_.smoothing), eis_percent_text(remembered_.sensitivity)};
}

bool eis_tune_dialog_model::preview(const s_eis_tune_fields& typed)
{
    const double smoothing = eis_percent_from_text(typed.smoothing.c_str());
    const double sensitivity = eis_percent_from_text(typed.sensitivity.c_str());
    if (const s_eis_refusal* refusal = eis_tuning_refusal(smoothing, sensitivity)) {
        prompt_.tell(refusal->text, refusal->caption, prompt_icon::none);
        return false;
    }
    tuning_ = eis_tuning_from_percent(smoothing, sensitivity);
    calculate_();
    return true;
}

void eis_tune_dialog_model::ok()
{
    calculate_();
}

void eis_tune_dialog_model::cancel()
{
    tuning_ = remembered_;
    calculate_();
}
