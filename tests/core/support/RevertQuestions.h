#pragma once

// The question Revert To Saved asks before it reads back a file cut short after a line break:
// `cut` is the whole text of the file, its last line the one that ends it in a record.

#include <algorithm>
#include <string>

namespace revert_questions {

inline std::string CutShortQuestion(const std::string& path, const std::string& cut)
{
    const std::string body = cut.substr(0, cut.size() - 1);
    const std::string last = body.substr(body.rfind('\n') + 1);
    return path + ": \"" + last + "\" ends the file in the middle of a record, so the file may have been cut short (line " +
           std::to_string(std::count(cut.begin(), cut.end(), '\n')) + "). Revert to it anyway?";
}

} // namespace revert_questions
