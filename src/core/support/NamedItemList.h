#pragma once

// Named record lists: every database keeps its records, and records keep their small
// lists (ingredient lines, colour entries, graph data items), in a CNamedItemList.
//
// Ownership: the list owns its records through std::unique_ptr; erasing or clearing an entry
// destroys the record. Null entries are allowed: FindByName skips them, SortByName treats them
// as named "", clearing simply drops them (the old DeleteListEntries is clear()).
//
// Naming (the one customisation point): a record type names itself with a public data member
// `m_name`, a std::string (anything that converts to std::string_view will do), e.g.
//     struct CListEntry { std::string m_name; double m_amount = 0; };
// Names are compared with CompareNoCase (ASCII only, like _stricmp in the C locale).
//
// Indexes are int, as in the rest of the core: an index outside 0..count - 1 makes the
// operation do nothing.

#include "support/CompareNoCase.h"

#include <algorithm>
#include <concepts>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

template <class T>
concept NamedRecord = requires(const T& record) {
    { record.m_name } -> std::convertible_to<std::string_view>;
};

template <NamedRecord T>
class CNamedItemList : public std::vector<std::unique_ptr<T>> {
public:
    using Base = std::vector<std::unique_ptr<T>>;
    using Base::Base;

    int GetCount() const { return static_cast<int>(this->size()); }
    bool IsValidIndex(int i) const { return i >= 0 && i < GetCount(); }

    // The record at i, null outside the list.
    T* At(int i) { return IsValidIndex(i) ? (*this)[static_cast<std::size_t>(i)].get() : nullptr; }
    const T* At(int i) const { return IsValidIndex(i) ? (*this)[static_cast<std::size_t>(i)].get() : nullptr; }
    // The index of the record itself (compared by address), else -1.
    int IndexOf(const T* record) const
    {
        for (int i = 0; record && i < GetCount(); ++i) {
            if ((*this)[static_cast<std::size_t>(i)].get() == record)
                return i;
        }
        return -1;
    }
    // A copy of record before i (0..count); another i does nothing.
    void InsertCopy(int i, const T& record)
    {
        if (i >= 0 && i <= GetCount())
            this->insert(this->begin() + i, std::make_unique<T>(record));
    }
    void RemoveAt(int i) { Take(i); }
    // Takes the record at i out of the list (null outside it): the caller decides when it goes.
    std::unique_ptr<T> Take(int i)
    {
        if (!IsValidIndex(i))
            return nullptr;
        std::unique_ptr<T> record = std::move((*this)[static_cast<std::size_t>(i)]);
        this->erase(this->begin() + i);
        return record;
    }
    // Assigns record to the record at i (which keeps its address).
    void AssignAt(int i, const T& record)
    {
        if (T* target = At(i))
            *target = record;
    }

    // The first record whose name equals `name` ignoring case, else -1 / null.
    int FindIndexByName(std::string_view name) const
    {
        for (int i = 0; i < GetCount(); ++i) {
            const T* record = (*this)[static_cast<std::size_t>(i)].get();
            if (record && EqualsNoCase(record->m_name, name))
                return i;
        }
        return -1;
    }
    T* FindByName(std::string_view name)
    {
        const int i = FindIndexByName(name);
        return i < 0 ? nullptr : (*this)[static_cast<std::size_t>(i)].get();
    }
    const T* FindByName(std::string_view name) const
    {
        return const_cast<CNamedItemList*>(this)->FindByName(name);
    }

    // Swaps two records when both indexes are valid; otherwise nothing happens.
    void SwapItems(int i, int j)
    {
        if (IsValidIndex(i) && IsValidIndex(j))
            std::swap((*this)[static_cast<std::size_t>(i)], (*this)[static_cast<std::size_t>(j)]);
    }

    // Sorts by name ignoring case; records whose names differ only in case keep their order.
    // The order is that of a bubble sort that swaps neighbours when the first is greater; a stable
    // sort with the same comparison gives exactly the same order, in O(n log n).
    void SortByName()
    {
        std::stable_sort(this->begin(), this->end(), [](const auto& a, const auto& b) {
            return CompareNoCase(NameOf(a), NameOf(b)) < 0;
        });
    }

    // Nothing happens when from == to or either index is invalid. Otherwise the record is
    // inserted at `to` and its old slot removed (one further on when to < from): moving toward
    // the front puts it at `to`, moving toward the end puts it at to - 1 (before the record that
    // stood at `to`). So a record can never be moved to the very end this way.
    void MoveItem(int from, int to)
    {
        if (from == to || !IsValidIndex(from) || !IsValidIndex(to))
            return;
        auto record = std::move((*this)[static_cast<std::size_t>(from)]);
        this->insert(this->begin() + to, std::move(record));
        this->erase(this->begin() + (to < from ? from + 1 : from));
    }

    // DeleteListEntries: destroys every record (nulls are simply dropped) and empties
    // the list. Plain clear() does the same.
    void DeleteListEntries() { this->clear(); }

private:
    static std::string_view NameOf(const std::unique_ptr<T>& record)
    {
        return record ? std::string_view(record->m_name) : std::string_view();
    }
};
