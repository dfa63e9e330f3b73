#pragma once

// Comparing names ignoring case, as _stricmp does in the C locale: only the ASCII letters A-Z
// fold (to lower case, so '_' sorts before the letters); every other byte compares by its
// unsigned value; a text that is a prefix of another sorts first. Never depends on the locale.

#include <string>
#include <string_view>

// Negative, zero or positive (-1, 0, 1) like _stricmp.
int CompareNoCase(std::string_view a, std::string_view b);

bool EqualsNoCase(std::string_view a, std::string_view b);

// True when text begins with prefix, ignoring case.
bool StartsWithNoCase(std::string_view text, std::string_view prefix);

// The text with the ASCII letters a-z raised to capitals; every other byte stays as it is.
std::string UpperCaseAscii(std::string_view text);
