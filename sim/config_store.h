// The configuration one simulated instrument holds: every parameter of its
// model with its current value, in the instrument's numbering. Answers
// "config,N?" and applies "config,N,V" with the instrument's checks. Not
// thread-safe on its own: it lives in the instrument state, which the
// instrument guards.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "sim/config_models.h"

namespace hvxsim {

class config_store {
public:
    // Every parameter at its power-up value.
    explicit config_store(const config_model& model);

    const config_model& model() const { return *model_; }
    // The model's parameters (the family's rows with the model's limits).
    std::span<const config_parameter> parameters() const { return parameters_; }

    // The parameter with this command number, or nullptr.
    const config_parameter* find(int number) const;
    // Its current value; nothing for an unknown number.
    std::optional<double> value(int number) const;

    // The reply line to "config,N?": a choice as bare decimal digits, a
    // real in the compact exponent form (1.0000E3). Nothing for an unknown
    // number.
    std::optional<std::string> reply_text(int number) const;

    // "config,N,V": reads V by the parameter's kind (strictly: no spaces, a
    // choice takes a whole number) and stores it when the parameter accepts
    // it. A new operation mode also moves every input that means nothing in
    // it to a value that does. Returns whether V was stored; note says what
    // happened (or why not) in a line for the transcript.
    bool write(int number, std::string_view text, std::string& note);

private:
    void follow_mode(double mode, std::string& note);

    const config_model* model_;
    std::vector<config_parameter> parameters_;
    std::vector<double> values_;  // parallel to parameters_
};

// "24 (Input)": a parameter as notes and messages name it.
std::string parameter_label(const config_parameter& parameter);

}  // namespace hvxsim
