// Keeps the number format held in memory (type and custom separators) for
// the test that changes it, and puts it back afterwards.
#pragma once

#include "app/number_format_settings.h"

class scoped_number_format {
public:
    scoped_number_format() : saved_(current_number_format()) {}
    explicit scoped_number_format(const s_number_format& format) : scoped_number_format()
    {
        set_current_number_format(format);
    }
    ~scoped_number_format() { set_current_number_format(saved_); }
    scoped_number_format(const scoped_number_format&) = delete;
    scoped_number_format& operator=(const scoped_number_format&) = delete;

private:
    s_number_format saved_;
};
