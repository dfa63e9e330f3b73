#pragma once

// Switches the process to a decimal-comma locale for one test and back afterwards.
// Tests check that number reading and writing ignore the locale; they skip when the machine
// has no such locale (scripts/setup.sh generates de_DE.UTF-8).

#include <gtest/gtest.h>

#include <clocale>
#include <string>

class CDecimalCommaLocale {
public:
    CDecimalCommaLocale()
    {
        const char* old = std::setlocale(LC_ALL, nullptr);
        m_old = old ? old : "C";
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "fr_FR.UTF-8"}) {
            if (std::setlocale(LC_ALL, name)) {
                m_active = true;
                break;
            }
        }
    }
    ~CDecimalCommaLocale() { std::setlocale(LC_ALL, m_old.c_str()); }
    bool Active() const { return m_active; }

private:
    std::string m_old;
    bool m_active = false;
};

#define OXI_REQUIRE_DECIMAL_COMMA_LOCALE(guard)                                 \
    do {                                                                        \
        if (!(guard).Active())                                                  \
            GTEST_SKIP() << "no decimal-comma locale installed on this machine"; \
    } while (0)
