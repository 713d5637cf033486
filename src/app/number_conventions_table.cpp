#include "app/number_conventions.h"

namespace {

struct s_convention_row {
    number_convention convention;
    s_number_punctuation punctuation;
};

const s_convention_row convention_table[] = {
    {number_convention::user_default, {'.', ',', "\3"}},
    {number_convention::uk_us, {'.', ',', "\3"}},
    {number_convention::france, {',', '\xA0', "\3"}},
    {number_convention::germany, {',', '.', "\3"}},
};

class table_conventions final : public number_conventions {
public:
    bool punctuation(number_convention convention, s_number_punctuation* out) override
    {
        for (const s_convention_row& row : convention_table) {
            if (row.convention == convention) {
                *out = row.punctuation;
                return true;
            }
        }
        return false;
    }
};

}  // namespace

number_conventions& table_number_conventions()
{
    static table_conventions conventions;
    return conventions;
}
