#pragma once

// Numbers of limit formulas as the forms show them: the "declimformulas" decimals of the working
// preferences, trailing zeros stripped down to "tzslimformulas".

#include <string>

std::string FormatLimitNumber(double value);
