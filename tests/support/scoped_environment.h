// Sets (or, for nullptr, removes) one environment variable for the lifetime
// of the object, putting the old value back at its end. POSIX only: the
// variables the settings environment reads there, which a child process
// started meanwhile inherits.
#pragma once

#ifndef _WIN32

#include <cstdlib>
#include <optional>
#include <string>

class scoped_variable {
public:
    scoped_variable(const char* name, const char* value) : name_(name)
    {
        if (const char* old = std::getenv(name)) {
            saved_ = old;
        }
        if (value != nullptr) {
            setenv(name, value, 1);
        } else {
            unsetenv(name);
        }
    }
    ~scoped_variable()
    {
        if (saved_) {
            setenv(name_, saved_->c_str(), 1);
        } else {
            unsetenv(name_);
        }
    }
    scoped_variable(const scoped_variable&) = delete;
    scoped_variable& operator=(const scoped_variable&) = delete;

private:
    const char* name_;
    std::optional<std::string> saved_;
};

#endif
