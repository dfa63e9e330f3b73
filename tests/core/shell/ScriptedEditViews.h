#pragma once

// Edit windows of the record databases as a test scripts them: any view registered here is an
// edit window on the record whose index it is given, answering the save question as told and
// counting what it was asked.

#include "core/shell/FakeFormLink.h"
#include "graphs/GraphTypesDoc.h"
#include "records/RecordDatabaseDoc.h"

#include <map>

// An edit window's answers: the record it edits, the answer to its save question, and what it
// was asked to do.
struct CScript {
    int index = -1;
    int answer = MsgResultNo;
    int asked = 0;
    int saved = 0;
    bool changed = true;
};

struct CScriptedLink : CRecordEditLink {
    FormAnswer AskSaveChanges() override
    {
        ++script.asked;
        return FormAnswerOf(script.answer);
    }
    void SaveToDatabase() override { ++script.saved; }
    void SetChanged(bool changed) override { script.changed = changed; }
    bool HasChanges() const override { return script.changed; }
    void DropChanges() override { script.changed = false; }
    std::string FormName() const override { return "form"; }
    int EditedRecordIndex() const override { return script.index; }
    CScript script;
};

// Template editors answer as every kind's edit windows do.
using CScriptedEditor = CScriptedLink;

// The edit windows of a kind: every view registered here is an edit window.
template <class Views, class Link>
class CScriptedViews : public Views {
public:
    explicit CScriptedViews(DbFileType kind) : m_kind(kind) { SetRecordEditViews(kind, this); }
    ~CScriptedViews() override { SetRecordEditViews(m_kind, nullptr); }
    Link* AsEditView(CView* view) override
    {
        const auto it = links.find(view);
        return it == links.end() ? nullptr : &it->second;
    }
    CScript& Script(CView* view) { return links[view].script; }
    std::map<CView*, Link> links;

private:
    DbFileType m_kind;
};

class CScriptedGraphViews : public CScriptedViews<CGraphTemplateViews, CScriptedEditor> {
public:
    CScriptedGraphViews() : CScriptedViews(DbFileType::GraphTemplates) {}
    CGraphViewLink* AsGraphView(CView*) override { return nullptr; }
};
