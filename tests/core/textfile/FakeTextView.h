#pragma once

// A text view over a plain list of lines, standing in for the text control in core tests, and a
// frame that owns one. The control behaves as a multi-line edit control: an empty control has one
// empty line, and a text that ends with a line break has an empty last line.

#include "framework/DocTemplate.h"
#include "core/support/CheckedItems.h"
#include "framework/Document.h"
#include "framework/UpdateHint.h"
#include "textfile/TextFileDoc.h"
#include "textfile/TextFileViewBase.h"

#include <deque>
#include <memory>
#include <source_location>
#include <string>
#include <vector>

class CFakeTextView : public CTextFileViewBase {
public:
    // The whole text with "\r\n" between lines.
    std::string Text() const
    {
        std::string text;
        for (std::size_t i = 0; i < m_lines.size(); ++i)
            text += (i > 0 ? "\r\n" : "") + m_lines[i];
        return text;
    }
    // What the user types at the end of the text.
    void Type(const std::string& text)
    {
        m_beforeEdit = m_lines;
        m_lines.back() += text;
        OnTextEdited();
    }

    void OnUpdate(CView* /*sender*/, const CUpdateHint* hint) override
    {
        if (hint)
            hints.push_back(hint->m_nCode);
    }

    std::string caption;
    std::deque<std::string> tabAnswers; // answers to the tab-size question; empty: Cancel
    std::vector<int> hints;
    int controlUndoEmptied = 0;
    int redrawOff = 0;
    bool caretAtStart = false; // after the last MoveCaretToStart, no text appended

protected:
    int GetLineCount() override { return static_cast<int>(m_lines.size()); }
    std::string GetLineText(int index) override
    {
        // The document asks for a line it has not counted: the test fails and reads an empty line.
        if (index < 0) {
            ADD_FAILURE() << "line " << index;
            return std::string();
        }
        return ItemAt(m_lines, static_cast<std::size_t>(index));
    }
    void SetControlText(const std::string& text) override
    {
        m_lines.assign(1, std::string());
        Add(text);
        m_beforeEdit.clear();
    }
    void AppendControlText(const std::string& text) override
    {
        Add(text);
        caretAtStart = false;
    }
    void MoveCaretToStart() override { caretAtStart = true; }
    void SetRedraw(bool redraw) override { redrawOff += redraw ? 0 : 1; }
    void EmptyControlUndo() override
    {
        ++controlUndoEmptied;
        m_beforeEdit.clear();
    }
    void ControlUndo() override
    {
        if (!m_beforeEdit.empty())
            m_lines = m_beforeEdit;
        m_beforeEdit.clear();
    }
    void SetCaption(const std::string& text) override { caption = text; }
    bool AskTabSize(std::string& answer) override
    {
        if (tabAnswers.empty())
            return false;
        answer = tabAnswers.front();
        tabAnswers.pop_front();
        return true;
    }

private:
    void Add(const std::string& text)
    {
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text.compare(i, 2, "\r\n") == 0) {
                m_lines.emplace_back();
                ++i;
            } else {
                m_lines.back() += text[i];
            }
        }
    }

    std::vector<std::string> m_lines{std::string()};
    std::vector<std::string> m_beforeEdit;
};

// The fake window of a text document; a document without one fails the test at the caller's line
// and a blank window stands in.
inline CFakeTextView& FakeViewOf(const CTextFileDoc* document,
                                 std::source_location where = std::source_location::current())
{
    if (auto* view = document ? static_cast<CFakeTextView*>(document->GetTextView()) : nullptr)
        return *view;
    ADD_FAILURE_AT(where.file_name(), static_cast<int>(where.line())) << "no text window";
    static CFakeTextView none;
    return none;
}

// A window holding one fake text view; closing it destroys the view and tells the document.
class CFakeTextFrame : public CFrameHost {
public:
    explicit CFakeTextFrame(CDocument& document) : view(std::make_unique<CFakeTextView>())
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
        if (document)
            document->OnFrameClosed();
    }
    void MinimizeFrame() override {}
    void ActivateFrame() override {}
    bool IsFrameMinimized() const override { return false; }

    std::unique_ptr<CFakeTextView> view;
};
