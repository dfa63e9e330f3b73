#pragma once

// Points the user's data directory (XDG_DATA_HOME) at a test's folder for one scope, so that
// what the program keeps there ("Kept copies" of files written in place) stays in the test's
// own folder.

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

class CDataHomeGuard {
public:
    explicit CDataHomeGuard(const std::filesystem::path& folder)
    {
        if (const char* old = std::getenv("XDG_DATA_HOME"))
            m_old = old;
        ::setenv("XDG_DATA_HOME", folder.c_str(), 1);
    }
    ~CDataHomeGuard()
    {
        if (m_old)
            ::setenv("XDG_DATA_HOME", m_old->c_str(), 1);
        else
            ::unsetenv("XDG_DATA_HOME");
    }
    CDataHomeGuard(const CDataHomeGuard&) = delete;
    CDataHomeGuard& operator=(const CDataHomeGuard&) = delete;

private:
    std::optional<std::string> m_old;
};
