#include "shell/Clipboards.h"

#include "framework/UpdateHint.h"

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

int InsertedRecordsHintCode(DbFileType kind)
{
    switch (kind) {
    case DbFileType::Materials: return HintMaterialsInserted;
    case DbFileType::Substitutions: return HintSubstitutionsInserted;
    case DbFileType::Glazes: return HintGlazesInserted;
    case DbFileType::GraphTemplates: return HintGraphTemplatesInserted;
    case DbFileType::LimitFormulas: return HintLimitFormulasInserted;
    default: return 0;
    }
}
