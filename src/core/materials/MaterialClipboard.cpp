#include "materials/MaterialClipboard.h"

void ClearClipboard(CMaterialArray& clipboard)
{
    clipboard.ResetToDefaults();
}

int ClipboardCount(const CMaterialArray& clipboard)
{
    return clipboard.GetCount();
}

const CMaterial& ClipboardRecord(const CMaterialArray& clipboard, int index)
{
    return *clipboard.GetAt(index);
}

void AppendToClipboard(CMaterialArray& clipboard, const CMaterial& record)
{
    clipboard.InsertCopy(clipboard.GetCount(), record);
}
