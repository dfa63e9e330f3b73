#pragma once

// Stable sorting of a record pointer array through keys taken from the records beforehand.
//
// Comparing the records themselves costs a cache miss or two per comparison once a database no
// longer fits the caches, and sorting 100,000 records makes well over a million comparisons. The
// callers take each record's key once into a compact array and sort positions by comparing keys
// at those positions: the same stable sort under the same order gives the same result, several
// times faster.
//
//     std::vector<std::string> keys = ...;              // keys[i] belongs to records[i]
//     StableSortByPosition(records, [&](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });

#include <algorithm>
#include <numeric>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Reorders records stably by less, a strict weak order of positions in the array as it stands.
template <class Pointer, class Less>
void StableSortByPosition(std::vector<Pointer>& records, Less less)
{
    std::vector<std::size_t> order(records.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), less);
    std::vector<Pointer> sorted;
    sorted.reserve(records.size());
    for (std::size_t position : order)
        sorted.push_back(std::move(records[position]));
    records = std::move(sorted);
}

// A text with the letters A to Z made lower case: two folded texts compare as std::string (byte
// by byte, unsigned, a prefix first) in the order CompareNoCase gives the originals.
inline std::string FoldedForSort(std::string_view text)
{
    std::string folded(text);
    for (char& c : folded) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return folded;
}
