#include "textfile/Information.h"

#include "framework/DocRegistry.h"
#include "framework/DocTemplate.h"
#include "support/TextHelpers.h"
#include "textfile/TextFileDoc.h"
#include "textfile/TextFileViewBase.h"

namespace {

constexpr const char* kInformationTitle = "Information";
constexpr int kEditExcludedMarker = 3;

} // namespace

CTextFileDoc* GetInformationWindow()
{
    if (g_pInformationDoc)
        return g_pInformationDoc;
    if (!g_pTextFileTemplate)
        return nullptr;
    auto* document = dynamic_cast<CTextFileDoc*>(g_pTextFileTemplate->OpenDocumentFile(std::string(), true));
    if (!document)
        return nullptr;
    g_pInformationDoc = document;
    document->SetTitle(kInformationTitle);
    if (CTextFileViewBase* view = document->GetTextView())
        view->UpdateTitle();
    return document;
}

void ShowInformation(const std::string& text)
{
    if (CTextFileDoc* document = GetInformationWindow())
        document->AppendLine(text);
}

void ShowInformation(const CStringArrayEx& lines)
{
    CStringArrayEx shown;
    shown.reserve(lines.size());
    int flags[32];
    for (const std::string& line : lines) {
        std::string text = line;
        StripControlCharsGetFlags(text, flags, true);
        if (flags[kEditExcludedMarker] == 0)
            shown.push_back(std::move(text));
    }
    if (shown.empty())
        return;
    if (CTextFileDoc* document = GetInformationWindow())
        document->AppendLines(shown);
}

void ClearInformation()
{
    if (CTextFileDoc* document = GetInformationWindow())
        document->ClearText();
}
