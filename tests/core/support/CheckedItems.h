#pragma once

// Reading an item of what the program produced (the notices a view received, the file dialogs it
// asked for, the names of a list) without checking the count first: a missing item fails the test
// at the caller's line, saying how many items there were, and a default item stands in for it, so
// that the checks after it fail on their own and the run goes on instead of ending on a bad index.
// A test that goes on to use a pointer item checks the count with ASSERT instead.

#include <gtest/gtest.h>

#include <cstddef>
#include <iterator>
#include <source_location>
#include <string>
#include <type_traits>
#include <utility>

namespace checked_items {

template <class Items>
using Item = std::remove_cvref_t<decltype(*std::begin(std::declval<Items&>()))>;

// A reference into a container the caller holds; a copy out of a temporary one.
template <class Items>
using ItemResult = std::conditional_t<std::is_lvalue_reference_v<Items>,
                                      decltype(*std::begin(std::declval<Items&>())), Item<Items>>;

template <class Items>
std::size_t Count(const Items& items)
{
    return static_cast<std::size_t>(std::distance(std::begin(items), std::end(items)));
}

template <class Items>
ItemResult<Items> Missing(const std::string& expected, std::size_t count, std::source_location where)
{
    ADD_FAILURE_AT(where.file_name(), static_cast<int>(where.line()))
        << "expected " << expected << ", but there " << (count == 1 ? "was " : "were ") << count;
    static Item<Items> none;
    none = Item<Items>{};
    return none;
}

} // namespace checked_items

// Item number index (0 for the first) of items.
template <class Items>
checked_items::ItemResult<Items> ItemAt(Items&& items, std::size_t index,
                                        std::source_location where = std::source_location::current())
{
    const std::size_t count = checked_items::Count(items);
    if (index >= count)
        return checked_items::Missing<Items>("item number " + std::to_string(index + 1), count, where);
    return *std::next(std::begin(items), static_cast<std::ptrdiff_t>(index));
}

// The last item of items.
template <class Items>
checked_items::ItemResult<Items> LastItem(Items&& items, std::source_location where = std::source_location::current())
{
    const std::size_t count = checked_items::Count(items);
    if (count == 0)
        return checked_items::Missing<Items>("a last item", 0, where);
    return *std::next(std::begin(items), static_cast<std::ptrdiff_t>(count - 1));
}

namespace checked_items {

// What a list of the program's own kind gives for a place: the record itself, or a pointer to it.
template <class List>
using Got = decltype(std::declval<List&>().GetAt(0));
template <class G>
struct RecordOf {
    using type = G;
};
template <class T>
struct RecordOf<T*> {
    using type = T&;
};
template <class List>
using RecordRef = typename RecordOf<Got<List>>::type;

// A blank record: a default one, or one without a name for the kinds that need one.
template <class Record>
Record StandIn()
{
    if constexpr (std::is_default_constructible_v<Record>)
        return Record();
    else
        return Record(std::string());
}

} // namespace checked_items

// Record number index (0 for the first) of a list of the program's own kind, one with GetCount()
// and GetAt(index) giving the record or a pointer to it: a missing one fails the test at the
// caller's line, and a default record stands in for it.
template <class List>
checked_items::RecordRef<List> RecordAt(List& list, int index,
                                        std::source_location where = std::source_location::current())
{
    if (index >= 0 && index < list.GetCount()) {
        if constexpr (std::is_pointer_v<std::remove_cvref_t<checked_items::Got<List>>>)
            return *list.GetAt(index);
        else
            return list.GetAt(index);
    }
    ADD_FAILURE_AT(where.file_name(), static_cast<int>(where.line()))
        << "expected record number " << index + 1 << ", but there "
        << (list.GetCount() == 1 ? "was " : "were ") << list.GetCount();
    using Record = std::remove_cvref_t<checked_items::RecordRef<List>>;
    static Record none = checked_items::StandIn<Record>();
    none = checked_items::StandIn<Record>();
    return none;
}

// What a look-up by name found: nothing fails the test at the caller's line, and a blank record
// stands in for it.
template <class Record>
Record& Found(Record* found, std::source_location where = std::source_location::current())
{
    if (found)
        return *found;
    ADD_FAILURE_AT(where.file_name(), static_cast<int>(where.line())) << "the look-up found nothing";
    static std::remove_const_t<Record> none = checked_items::StandIn<std::remove_const_t<Record>>();
    none = checked_items::StandIn<std::remove_const_t<Record>>();
    return none;
}
