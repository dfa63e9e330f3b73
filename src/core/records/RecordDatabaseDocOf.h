#pragma once

// The typed half of the record databases (RecordDatabaseDoc.h): the record operations of one
// kind over its collection.
//
// The collection is the kind's own class (CMaterialArray, CLimitFormulaDB, ...); Access says how
// it keeps its records. CNamedListAccess serves the collections whose records stand in a
// CNamedItemList member; materials bring their own, because their collection keeps a look-up
// index. Every collection reads and writes itself (Read, Write, m_errorText) and keeps its
// information lines in m_infoLines; the in-program clipboard of a kind is a collection of the
// same class, reached through the clipboard functions of shell/Clipboards.h, which the kind's
// document header brings in.

#include "framework/MessageService.h"
#include "records/RecordDatabaseDoc.h"
#include "shell/AppContext.h"
#include "shell/DocumentRead.h"
#include "support/InputFile.h"
#include "support/MessagePath.h"
#include "support/NamedItemList.h"
#include "support/SafeFile.h"
#include "support/Services.h"

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Record access for a collection whose records stand in the CNamedItemList member List and
// whose database name is the member Name.
template <class Collection, class Record, CNamedItemList<Record> Collection::*List, std::string Collection::*Name>
struct CNamedListAccess {
    using CollectionType = Collection;
    using RecordType = Record;

    static int Count(const Collection& c) { return (c.*List).GetCount(); }
    static const Record* At(const Collection& c, int i) { return (c.*List).At(i); }
    static int IndexOf(const Collection& c, const Record* record) { return (c.*List).IndexOf(record); }
    static int FindByName(const Collection& c, std::string_view name) { return (c.*List).FindIndexByName(name); }
    static void Insert(Collection& c, int i, const Record& record) { (c.*List).InsertCopy(i, record); }
    static void Remove(Collection& c, int i) { (c.*List).RemoveAt(i); }
    static std::shared_ptr<void> Take(Collection& c, int i) { return (c.*List).Take(i); }
    static std::shared_ptr<void> TakeAll(Collection& c)
    {
        return std::make_shared<CNamedItemList<Record>>(std::exchange(c.*List, {}));
    }
    static void PutBackAll(Collection& c, const std::shared_ptr<void>& all)
    {
        c.*List = std::move(*std::static_pointer_cast<CNamedItemList<Record>>(all));
    }
    static void Assign(Collection& c, int i, const Record& record) { (c.*List).AssignAt(i, record); }
    static void Swap(Collection& c, int i, int j) { (c.*List).SwapItems(i, j); }
    static void Move(Collection& c, int from, int to) { (c.*List).MoveItem(from, to); }
    static void SortByName(Collection& c) { (c.*List).SortByName(); }
    static std::string& DatabaseName(Collection& c) { return c.*Name; }
    static const std::string& DatabaseName(const Collection& c) { return c.*Name; }
};

// Help contexts of the merge and save-selected messages, the same for every kind.
inline constexpr unsigned kMergeReadErrorHelpId = 0x30120;
inline constexpr unsigned kSubsetOpenErrorHelpId = 0x30126;
inline constexpr unsigned kSubsetWriteErrorHelpId = 0x30125;

template <class Access>
class CRecordDatabaseDocOf : public CRecordDatabaseDoc {
public:
    using Collection = typename Access::CollectionType;
    using Record = typename Access::RecordType;

    // A file of this kind read for a merge.
    class CRecordFile : public CRecordSource {
    public:
        int Count() const override { return Access::Count(records); }
        std::string NameAt(int index) const override
        {
            const Record* record = Access::At(records, index);
            return record ? record->m_name : std::string();
        }
        void Append(const Record& record) { Access::Insert(records, Access::Count(records), record); }
        Collection records;
    };

    using CRecordDatabaseDoc::CRecordDatabaseDoc;

    // --- typed record operations: each change marks the document modified ---

    const Record* RecordAt(int index) const { return Access::At(m_records, index); }
    int IndexOfRecord(const Record* record) const { return Access::IndexOf(m_records, record); }
    // A copy of record before index (0..count).
    void InsertRecord(int index, const Record& record)
    {
        Access::Insert(m_records, index, record);
        SetModifiedFlag();
    }
    // Assigns record to the record at index.
    void SetRecord(int index, const Record& record)
    {
        Access::Assign(m_records, index, record);
        SetModifiedFlag();
    }

    // --- CRecordDatabaseDoc ---

    int GetRecordCount() const override { return Access::Count(m_records); }
    const void* GetRecordIdentity(int index) const override { return RecordAt(index); }
    std::string GetRecordName(int index) const override
    {
        const Record* record = RecordAt(index);
        return record ? std::string(record->m_name) : std::string();
    }
    void RemoveRecord(int index) override
    {
        Access::Remove(m_records, index);
        SetModifiedFlag();
    }
    std::shared_ptr<void> TakeRecord(int index) override
    {
        SetModifiedFlag();
        return Access::Take(m_records, index);
    }
    std::shared_ptr<void> TakeAllRecords() override { return Access::TakeAll(m_records); }
    void PutBackAllRecords(const std::shared_ptr<void>& all) override { Access::PutBackAll(m_records, all); }
    void InsertNewRecord(int index) override { InsertRecord(index, NewRecord()); }
    void DuplicateRecord(int index) override
    {
        if (const Record* record = RecordAt(index)) {
            const Record copy = *record;
            InsertRecord(index + 1, copy);
        }
    }
    void SwapRecords(int i, int j) override
    {
        Access::Swap(m_records, i, j);
        SetModifiedFlag();
    }
    void MoveRecord(int from, int to) override
    {
        Access::Move(m_records, from, to);
        SetModifiedFlag();
    }
    void Alphabetize() override
    {
        Access::SortByName(m_records);
        SetModifiedFlag();
    }
    std::string GetDatabaseName() const override { return Access::DatabaseName(m_records); }
    const CStringArrayEx& GetInfoLines() const override { return m_records.m_infoLines; }
    void SetDatabaseNotes(const std::string& name, const CStringArrayEx& infoLines) override
    {
        Access::DatabaseName(m_records) = name;
        m_records.m_infoLines = infoLines;
        SetModifiedFlag();
    }
    // The Select One rows: one per record in list order, reading its name.
    void GetRecordRows(std::vector<CRecordRow>& rows) const override
    {
        rows.clear();
        for (int i = 0; i < GetRecordCount(); ++i)
            rows.push_back({i, GetRecordName(i)});
    }

    bool CanPasteRecords() const override { return CAppContext::IsActive() && ClipboardCount(Clipboard()) > 0; }
    void CopyRecordsToClipboard(std::span<const int> rows) const override
    {
        if (rows.empty() || !CAppContext::IsActive())
            return;
        Collection& clipboard = Clipboard();
        ClearClipboard(clipboard);
        for (int row : rows) {
            if (const Record* record = RecordAt(row))
                AppendToClipboard(clipboard, *record);
        }
    }
    int InsertClipboardRecords(int position) override
    {
        if (!CAppContext::IsActive())
            return 0;
        const Collection& clipboard = Clipboard();
        const int count = ClipboardCount(clipboard);
        if (count == 0 || position < 0 || position > GetRecordCount())
            return 0;
        for (int k = 0; k < count; ++k)
            InsertRecord(position + k, ClipboardRecord(clipboard, k));
        return count;
    }

    bool SaveRecordsAs(const std::string& path, std::span<const int> rows) const override
    {
        Collection subset;
        for (int row : rows) {
            if (const Record* record = RecordAt(row))
                Access::Insert(subset, Access::Count(subset), *record);
        }
        subset.m_infoLines = m_records.m_infoLines;
        Access::DatabaseName(subset) = GetDatabaseName() + " (subset)";
        CopySettingsTo(subset);
        std::string reason;
        const SafeSaveResult result =
            WriteFileSafely(path, [&subset](std::ostream& out) { return subset.Write(out) == 0; }, &reason);
        if (result == SafeSaveResult::OpenFailed)
            AppMessageBox(SaveFailureMessage(path, result, reason), MsgOk | MsgIconError, kSubsetOpenErrorHelpId);
        else if (result == SafeSaveResult::WriteFailed)
            AppMessageBox(SaveFailureMessage(path, result, reason), MsgOk | MsgIconExclamation, kSubsetWriteErrorHelpId);
        return result == SafeSaveResult::Ok;
    }

    // --- merging another file of this kind ---

    std::unique_ptr<CRecordSource> ReadRecordFile(const std::string& path) const override { return ReadMergeFile(path); }
    // ReadRecordFile with the file's own type: the records and whatever else it holds.
    std::unique_ptr<CRecordFile> ReadMergeFile(const std::string& path) const
    {
        CInputFile in;
        if (!in.Open(path)) {
            AppMessageBox(MergeOpenFailure(in, path), MsgOk | MsgIconError, Kind().mergeOpenErrorHelpId);
            return nullptr;
        }
        auto file = std::make_unique<CRecordFile>();
        int result = 0;
        {
            CBusyScope busy;
            result = file->records.Read(in);
        }
        if (result != 0) {
            AppMessageBox(MessagePath(path) + ": " + file->records.m_errorText, MsgOk | MsgIconError, kMergeReadErrorHelpId);
            return nullptr;
        }
        ReportReadNotes(path, file->records, kMergeReadErrorHelpId);
        return file;
    }
    int FindRecordByName(std::string_view name) const override { return Access::FindByName(m_records, name); }
    CMergeCounts MergeRecords(const CRecordSource& source, const CMergePlan& plan) override
    {
        const CRecordFile& file = static_cast<const CRecordFile&>(source);
        CMergeCounts counts;
        counts.oldCount = GetRecordCount();
        for (const CMergeStep& step : plan.Steps()) {
            const Record* record = Access::At(file.records, step.incoming);
            if (!record)
                continue;
            if (step.replaces >= 0)
                SetRecord(step.replaces, *record);
            else
                InsertRecord(GetRecordCount(), *record);
        }
        // What the plan did, as it tells it: a name the file holds twice replaces one record.
        counts.appended = plan.Appended();
        for (const int index : plan.Replaced())
            counts.replacedRecords.push_back(GetRecordIdentity(index));
        counts.replaced = static_cast<int>(counts.replacedRecords.size());
        if (counts.appended + counts.replaced > 0)
            OnRecordsInserted();
        return counts;
    }

    // A new record: Insert new, Append new and a new database's first record.
    virtual Record NewRecord() const { return Record(Kind().newRecordName); }

protected:
    // The kind's in-program clipboard.
    virtual Collection& Clipboard() const = 0;
    // Save Selected As: the settings beyond the records, information lines and name that the
    // written file carries.
    virtual void CopySettingsTo(Collection& /*subset*/) const {}

    int ReadRecordsAside(std::istream& in, std::string& error, CParamReadNotes& notes) const override
    {
        Collection aside;
        const int result = aside.Read(in);
        if (result != 0)
            error = aside.m_errorText;
        notes = aside.m_readNotes;
        return result;
    }
    int ReadRecords(std::istream& in, std::string& error) override
    {
        const int result = m_records.Read(in);
        if (result != 0)
            error = m_records.m_errorText;
        return result;
    }
    bool WriteRecords(std::ostream& out) const override { return m_records.Write(out) == 0; }
    const CParamFileContext& RecordsContext() const override { return m_records; }

    Collection m_records;
};
