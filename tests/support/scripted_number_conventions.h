// Number conventions a test chooses: each convention gives the punctuation
// set for it, or fails when none is set.
#pragma once

#include <map>

#include "app/number_conventions.h"

class scripted_number_conventions final : public number_conventions {
public:
    std::map<number_convention, s_number_punctuation> given;

    bool punctuation(number_convention convention, s_number_punctuation* out) override
    {
        const auto found = given.find(convention);
        if (found == given.end()) {
            return false;
        }
        *out = found->second;
        return true;
    }
};
