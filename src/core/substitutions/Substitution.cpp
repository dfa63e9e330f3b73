#include "substitutions/Substitution.h"

#include "shell/Preferences.h"
#include "support/TextHelpers.h"

#include <utility>

CSubstitution::CSubstitution(std::string name) : m_name(std::move(name))
{
    GetTodayString(m_date, g_prefs.datefmt);
}
