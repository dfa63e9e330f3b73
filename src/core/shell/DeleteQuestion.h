#pragma once

// The question a record list asks before it deletes a record that an edit window holds unsaved
// changes to: saving them first would change nothing, so it asks whether to delete at all.

#include <string>

inline std::string DeleteChangedRecordQuestion(const std::string& name)
{
    return "\"" + name + "\" has unsaved changes and will be deleted. Delete it?";
}
