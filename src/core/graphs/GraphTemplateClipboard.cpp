#include "graphs/GraphTemplateClipboard.h"

void ClearClipboard(CGraphTemplateDatabase& clipboard)
{
    clipboard.Reset();
}

int ClipboardCount(const CGraphTemplateDatabase& clipboard)
{
    return clipboard.GetCount();
}

const CGraphTemplate& ClipboardRecord(const CGraphTemplateDatabase& clipboard, int index)
{
    return clipboard.GetAt(index);
}

void AppendToClipboard(CGraphTemplateDatabase& clipboard, const CGraphTemplate& record)
{
    clipboard.InsertAt(clipboard.GetCount(), record);
}
