#include "limits/LimitNumberText.h"

#include "shell/AppContext.h"
#include "shell/Preferences.h"
#include "support/NumberFormat.h"

std::string FormatLimitNumber(double value)
{
    const bool prefs = CAppContext::IsActive();
    std::string text = FormatFixed(value, prefs ? g_prefs.declimformulas : 3);
    StripTrailingZeros(text, prefs ? g_prefs.tzslimformulas : -1);
    return text;
}
