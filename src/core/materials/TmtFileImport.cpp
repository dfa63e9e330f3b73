// Reading TMT files and clipboard text into a material collection, and the Import command's
// hand-over of what was read to the materials and elements databases.

#include "materials/TmtFile.h"

#include "elements/ElementsDoc.h"
#include "framework/DocRegistry.h"
#include "framework/MessageService.h"
#include "framework/UpdateHint.h"
#include "materials/MaterialArray.h"
#include "materials/MaterialsDoc.h"
#include "support/DbFileType.h"
#include "support/InputFile.h"
#include "support/LineOStream.h"
#include "support/MessagePath.h"
#include "support/PathHelpers.h"
#include "support/Services.h"

#include <istream>

int CMaterialArray::ReadTmt(std::istream& in, char delimiter, const std::string& source, int* roles,
                            double* expansions)
{
    const CBusyScope busy;
    // Costs follow the database that the materials will join.
    const int costUnit = g_pMaterialsDoc ? g_pMaterialsDoc->Materials().m_costUnit : m_costUnit;
    CTmtReader reader(*this, roles, expansions, costUnit == kCostPerPound);
    int rc = 0;
    std::string line;
    while (rc == 0 && std::getline(in, line, delimiter))
        rc = reader.ReadLine(std::move(line));
    if (rc == 0)
        rc = reader.Finish();
    if (rc == 0)
        return 0;
    AppMessageBox(MessagePath(source) + reader.ErrorText() + " line " + std::to_string(reader.LineCount()),
                  MsgOk | MsgIconExclamation, kTmtReadErrorHelpId);
    ResetToDefaults();
    return 1;
}

int CMaterialArray::ReadTmtFile(const std::string* path, int* roles, double* expansions)
{
    if (!path) {
        CClipboardInput clipboard;
        clipboard.Open();
        return ReadTmt(*clipboard.Stream(), '\n', kTmtClipboardSource, roles, expansions);
    }
    CInputFile file;
    if (!file.Open(*path)) {
        AppMessageBox(file.OpenFailure(), MsgOk | MsgIconExclamation, kTmtReadErrorHelpId);
        return 1;
    }
    // Judged on the file as opened: opening the name again could reach another file.
    const char delimiter = DetectLineDelimiter(file);
    return ReadTmt(file, delimiter, *path, roles, expansions);
}

namespace {

constexpr int kLastElement = kElementCount - 1;

void AppendMaterials(const CMaterialArray& read, const std::string& source, CView* sender, STmtImportResult& result)
{
    CMaterialsDoc& document = *g_pMaterialsDoc;
    CMaterialArray& materials = document.Materials();
    result.oldCount = materials.GetCount();
    for (const auto& material : read.Records())
        document.InsertMaterial(materials.GetCount(), *material);
    result.importedCount = read.GetCount();
    BroadcastUpdate(sender, &document, static_cast<int>(DbFileType::Materials), HintMaterialsInserted,
                                   result.oldCount, 0);
    materials.m_infoLines.push_back("Imported " + std::to_string(read.GetCount()) + " materials from " + source);
}

} // namespace

STmtImportResult ImportTmtFile(const STmtImportOptions& options, const std::string* path, CView* sender)
{
    STmtImportResult result;
    if (g_pMaterialsDoc)
        result.oldCount = g_pMaterialsDoc->Materials().GetCount();
    const CElementRecord* table = GetElementTable();
    int roles[kElementCount] = {};
    double expansions[kElementCount] = {};
    for (int z = 1; z <= kLastElement; ++z) {
        if (options.notExpectedFirst)
            roles[z] = (table[z].role & kRoleVolatile) ? kRoleVolatile : kRoleNotExpected;
        else
            roles[z] = table[z].role;
        expansions[z] = options.clearExpansions ? 0.0 : table[z].expansion;
    }

    CMaterialArray read;
    if (read.ReadTmtFile(path, roles, expansions) != 0) {
        result.status = 1;
        return result;
    }
    const CBusyScope busy;
    const std::string source = path ? *path : std::string(kTmtClipboardSource);
    if (options.materials && read.GetCount() > 0 && g_pMaterialsDoc)
        AppendMaterials(read, source, sender, result);

    if (!g_pElementsDoc || !(options.roles || options.expansions))
        return result;
    CElementTable& elements = g_pElementsDoc->Elements();
    for (int z = 1; z <= kLastElement; ++z) {
        if (options.roles)
            elements.SetRole(z, roles[z]);
        if (options.expansions)
            elements[z].expansion = expansions[z];
    }
    if (options.roles)
        g_pElementsDoc->m_infoLines.push_back("Imported oxide roles from " + source);
    if (options.expansions)
        g_pElementsDoc->m_infoLines.push_back("Imported oxide expansions from " + source);
    g_pElementsDoc->SetModifiedFlag();
    result.elementsChanged = true;
    BroadcastUpdate(nullptr, g_pElementsDoc, static_cast<int>(DbFileType::Elements),
                                   HintElementsReplaced, 0, 0);
    return result;
}
