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
#include <numeric>
#include <vector>

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

// Appended as a merge appends the records of a file of materials, so that what follows from new
// records follows here too: the materials mapped to one of them take its values.
void AppendMaterials(const CMaterialsDoc::CRecordFile& read, const std::string& source, CView* sender,
                     STmtImportResult& result)
{
    CMaterialsDoc& document = *g_pMaterialsDoc;
    std::vector<int> all(static_cast<std::size_t>(read.Count()));
    std::iota(all.begin(), all.end(), 0);
    const CMergeCounts counts = document.MergeRecords(read, document.PlanMerge(read, all, kMergeAppendAll));
    result.importedCount = counts.appended;
    document.AnnounceMerge(counts, sender);
    document.Materials().m_infoLines.push_back("Imported " + std::to_string(counts.appended) + " materials from " +
                                               source);
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

    CMaterialsDoc::CRecordFile read;
    if (read.records.ReadTmtFile(path, roles, expansions) != 0) {
        result.status = 1;
        return result;
    }
    const CBusyScope busy;
    const std::string source = path ? *path : std::string(kTmtClipboardSource);
    if (options.materials && read.Count() > 0 && g_pMaterialsDoc)
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
