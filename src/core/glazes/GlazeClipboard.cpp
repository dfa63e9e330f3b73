#include "glazes/GlazeClipboard.h"

void ClearClipboard(CGlazeList& clipboard)
{
    clipboard.Reset();
}

int ClipboardCount(const CGlazeList& clipboard)
{
    return clipboard.GetCount();
}

const CGlaze& ClipboardRecord(const CGlazeList& clipboard, int index)
{
    return clipboard.GetAt(index);
}

void AppendToClipboard(CGlazeList& clipboard, const CGlaze& record)
{
    clipboard.InsertCopyAt(clipboard.GetCount(), record);
}
