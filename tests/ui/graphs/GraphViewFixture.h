#pragma once

// Graph windows over the shipped graph templates, glazes and limit formulas.

#include "GraphTypesFixture.h"

#include "core/support/CheckedItems.h"
#include "graphs/GraphView.h"
#include "limits/LimitFormulasDoc.h"

#include <QTest>

namespace graphtest {

// Graph windows over the shipped templates and glazes (ten glazes, "Starter Glazes") and a
// second database of two glazes.
class GraphViewFixture : public GraphTypesFixture {
protected:
    GraphViewFixture()
    {
        g_pGraphViewTemplate = &m_graphViewTemplate;
        InstallGraphViewTemplate(m_graphViewTemplate);
        m_second = dynamic_cast<CGlazesDoc*>(m_app.NewGlazeDatabase());
        if (m_second && m_glazeDoc && m_glazeDoc->GetGlazeCount() >= 2) {
            m_second->DeleteGlaze(0);
            m_second->InsertGlaze(0, Found(m_glazeDoc->GetGlaze(0)));
            m_second->InsertGlaze(1, Found(m_glazeDoc->GetGlaze(1)));
        }
        m_limits.OnOpenDocument(OXI_SHIPPED_DATA_DIR "/tarnell.lim");
    }
    void SetUp() override
    {
        GraphTypesFixture::SetUp();
        if (HasFatalFailure())
            return;
        ASSERT_NE(m_second, nullptr);
        ASSERT_EQ(m_second->GetGlazeCount(), 2);
        ASSERT_EQ(m_limits.Database().GetCount(), 7) << "the shipped limit formulas";
    }
    // The graph windows go before the limit formulas they may name.
    ~GraphViewFixture() override
    {
        for (CGraphView* view : GraphViews())
            view->GetFrame()->CloseFrame();
        Flush();
        g_pGraphViewTemplate = nullptr;
    }

    // A graph window on template t (none for -1) with the first shipped glaze.
    CGraphView* Open(int t = 1)
    {
        CGraphView* view = OpenGraphWindow(*m_doc);
        EXPECT_NE(view, nullptr);
        if (view)
            view->SetGraph(t >= 0 ? &m_doc->Database().GetAt(t) : nullptr, m_glazeDoc, m_glazeDoc->GetGlaze(0),
                           nullptr, -1, -1);
        Flush();
        return view;
    }
    static void Key(CGraphView& view, Qt::Key key, Qt::KeyboardModifiers modifiers)
    {
        QTest::keyClick(&view, key, modifiers);
    }
    static std::string GlazeName(const CGraphView& view)
    {
        return view.State().m_pGlaze ? view.State().m_pGlaze->m_name : std::string("none");
    }
    std::vector<CGraphView*> GraphViews() const
    {
        std::vector<CGraphView*> views;
        for (CView* view : m_doc->GetViews()) {
            if (auto* graph = dynamic_cast<CGraphView*>(view))
                views.push_back(graph);
        }
        return views;
    }

    CDocTemplate m_graphViewTemplate{kGraphViewResourceId, kGraphTypesDocString, nullptr};
    CGlazesDoc* m_second = nullptr;
    CLimitFormulasDoc m_limits;
};

} // namespace graphtest
