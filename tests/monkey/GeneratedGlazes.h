#pragma once

// A glaze database of a few thousand glazes for the monkey: the glazes of a source database
// repeated under numbered names, with amounts varied, under the source's header.

#include <string>

// Writes count glazes to target; false when the source cannot be read or the target written.
bool WriteMonkeyGlazes(const std::string& source, const std::string& target, int count);
