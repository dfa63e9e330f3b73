#include "limits/LimitFormulaClipboard.h"

void ClearClipboard(CLimitFormulaDB& clipboard)
{
    clipboard.Reset();
}

int ClipboardCount(const CLimitFormulaDB& clipboard)
{
    return clipboard.GetCount();
}

const CLimitFormula& ClipboardRecord(const CLimitFormulaDB& clipboard, int index)
{
    return clipboard.GetAt(index);
}

void AppendToClipboard(CLimitFormulaDB& clipboard, const CLimitFormula& record)
{
    clipboard.InsertFormula(clipboard.GetCount(), record);
}
