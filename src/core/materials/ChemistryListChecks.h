#pragma once

// The chemistry checks of the preferences' lists: element lists against the element table
// (elements/ElementList.h), oxide lists through the formula reader. The preferences file is read
// with them (CPreferences::Load), and the preference dialogs apply them to their fields.

#include "shell/Preferences.h"

#include <string>

// 1 when the oxide list (oxide formulas separated by commas or blanks) does not parse as the
// weight-percent formula "%w" + the list, else 0.
int IsBadOxideList(const std::string& text);

class CChemistryListChecks final : public CPreferenceListChecks {
public:
    int IsBadElementList(const std::string& text, bool allowLoss, bool allowNk) const override;
    int IsBadOxideList(const std::string& text) const override;
};
