#include "textfile/InformationReport.h"

#include "framework/View.h"
#include "textfile/Information.h"
#include "textfile/TextFileDoc.h"
#include "textfile/TextFileViewBase.h"

CInformationReport::CInformationReport()
{
    ClearInformation();
    if (CFrameHost* frame = Frame())
        frame->MinimizeFrame();
}

CInformationReport::~CInformationReport()
{
    Finish();
}

void CInformationReport::Line(const std::string& text)
{
    ShowInformation(text);
}

void CInformationReport::Finish()
{
    if (m_finished)
        return;
    m_finished = true;
    if (CFrameHost* frame = Frame())
        frame->ActivateFrame();
    if (CTextFileViewBase* view = g_pInformationDoc ? g_pInformationDoc->GetTextView() : nullptr)
        view->ShowStart();
}

// Looked up each time: the user may close the window while a search lets events run.
CFrameHost* CInformationReport::Frame() const
{
    CTextFileViewBase* view = g_pInformationDoc ? g_pInformationDoc->GetTextView() : nullptr;
    return view ? view->GetFrame() : nullptr;
}
