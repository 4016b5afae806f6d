// SPDX-License-Identifier: MIT
// An environment variable set for one test and put back afterwards.
#pragma once

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

namespace dirscribe::test {

// Sets (or, for a null value, clears) name; the destructor restores what was there. Changes
// of TZ are passed on to the C library's zone rules at once.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const char* value) : m_name(name) {
        if (const char* old = std::getenv(name))
            m_old = old;
        Set(value);
    }
    ~ScopedEnvironment() { Set(m_old ? m_old->c_str() : nullptr); }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    void Set(const char* value) const {
        if (value != nullptr)
            ::setenv(m_name.c_str(), value, 1);
        else
            ::unsetenv(m_name.c_str());
        if (m_name == "TZ")
            ::tzset();
    }
    std::string m_name;
    std::optional<std::string> m_old;
};

} // namespace dirscribe::test
