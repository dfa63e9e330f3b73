#pragma once

// A view shows one document. Views are owned by their frames (windows of the Qt layer, or the
// test itself); a view registers with its document when it is attached and leaves it when it
// is destroyed.

#include "framework/CmdTarget.h"

class CDocument;
class CUpdateHint;

// What a document may ask of the window that holds one of its views.
class CFrameHost {
public:
    virtual ~CFrameHost() = default;
    virtual void CloseFrame() = 0;     // destroys the frame and its view
    virtual void MinimizeFrame() = 0;
    virtual void ActivateFrame() = 0;  // restores a minimised frame and brings it forward
    virtual bool IsFrameMinimized() const = 0;
};

class CView : public CCmdTarget {
public:
    CView() = default;
    ~CView() override;
    CView(const CView&) = delete;
    CView& operator=(const CView&) = delete;

    CDocument* GetDocument() const { return m_pDocument; }
    CFrameHost* GetFrame() const { return m_pFrame; }
    void SetFrame(CFrameHost* frame) { m_pFrame = frame; }

    // Called once when the view first shows its document; the default is a full update.
    virtual void OnInitialUpdate();
    // A change notice. hint is null for the framework's own refresh requests.
    virtual void OnUpdate(CView* sender, const CUpdateHint* hint);

    // Commits whatever the user is editing in this view (a save must not miss the field that
    // still has the focus). False when the field refuses what it holds, after saying why: the
    // command that asked does not run. The default has nothing to commit.
    virtual bool CommitPendingEdit() { return true; }

private:
    friend class CDocument;
    CDocument* m_pDocument = nullptr;
    CFrameHost* m_pFrame = nullptr;
};
