// The database tree reader over arbitrary bytes: whatever it accepts must write back to a text
// that reads to the same entries and writes to the same bytes again.

#include "tree/DbTreeItem.h"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CDbTreeItemList list;
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    const int result = list.Read(in);
    if (result != 0) {
        if (list.GetCount() != 0)
            __builtin_trap();
        return 0;
    }
    std::ostringstream first;
    if (list.Write(first) != 0)
        __builtin_trap();

    CDbTreeItemList again;
    std::istringstream reread(first.str());
    if (again.Read(reread) != 0 || again.GetCount() != list.GetCount())
        __builtin_trap();
    for (int i = 0; i < list.GetCount(); ++i) {
        const CDbTreeItem& a = *list.GetAt(i);
        const CDbTreeItem& b = *again.GetAt(i);
        if (a.path != b.path || a.title != b.title || a.typeText != b.typeText || a.type != b.type)
            __builtin_trap();
    }
    std::ostringstream second;
    again.Write(second);
    if (second.str() != first.str())
        __builtin_trap();
    return 0;
}
