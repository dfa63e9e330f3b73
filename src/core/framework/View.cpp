#include "framework/View.h"

#include "framework/Document.h"

CView::~CView()
{
    if (m_pDocument)
        m_pDocument->RemoveView(this);
}

void CView::OnInitialUpdate()
{
    OnUpdate(nullptr, nullptr);
}

void CView::OnUpdate(CView* /*sender*/, const CUpdateHint* /*hint*/)
{
}
