#pragma once

// A view that records every notice it receives, and a frame that can hold it, for tests of
// documents, templates and the broadcast.

#include "core/support/CheckedItems.h"
#include "framework/Document.h"
#include "framework/UpdateHint.h"
#include "framework/View.h"

#include <functional>
#include <memory>
#include <source_location>
#include <string>
#include <vector>

struct CReceivedHint {
    std::string viewName;
    int kind;
    int code;
    int index;
};

class CRecordingView : public CView {
public:
    explicit CRecordingView(std::string name, std::vector<CReceivedHint>* log = nullptr)
        : m_name(std::move(name)), m_log(log)
    {
    }
    void OnUpdate(CView* /*sender*/, const CUpdateHint* hint) override
    {
        if (hint) {
            received.push_back({m_name, hint->m_nKind, hint->m_nCode, hint->m_nIndex});
            if (m_log)
                m_log->push_back(received.back());
        } else {
            ++plainUpdates;
        }
        if (onUpdate)
            onUpdate(hint);
    }

    // The last notice received, and notice number index (0 for the first): one that did not come
    // fails the test with a report, and an empty notice stands in for it.
    const CReceivedHint& Last(std::source_location where = std::source_location::current()) const
    {
        return LastItem(received, where);
    }
    const CReceivedHint& At(std::size_t index, std::source_location where = std::source_location::current()) const
    {
        return ItemAt(received, index, where);
    }

    std::string m_name;
    std::vector<CReceivedHint>* m_log;
    std::vector<CReceivedHint> received;
    int plainUpdates = 0;
    std::function<void(const CUpdateHint*)> onUpdate;
};

// A frame owning one recording view; closing it destroys the view and tells the document.
class CRecordingFrame : public CFrameHost {
public:
    CRecordingFrame(CDocument& document, std::string name, std::vector<CReceivedHint>* log = nullptr)
        : view(std::make_unique<CRecordingView>(std::move(name), log))
    {
        view->SetFrame(this);
        document.AddView(view.get());
    }
    void CloseFrame() override
    {
        if (!view)
            return;
        CDocument* document = view->GetDocument();
        view.reset();
        ++closed;
        if (document)
            document->OnFrameClosed();
    }
    void MinimizeFrame() override { minimized = true; }
    void ActivateFrame() override
    {
        minimized = false;
        ++activated;
    }
    bool IsFrameMinimized() const override { return minimized; }

    std::unique_ptr<CRecordingView> view;
    bool minimized = false;
    int activated = 0;
    int closed = 0;
};
