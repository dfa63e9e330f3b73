#include "shell/Clipboards.h"

#include "framework/UpdateHint.h"

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
