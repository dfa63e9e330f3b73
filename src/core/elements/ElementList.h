#pragma once

// Element lists: the lists of element symbols that the preferences hold (the table views'
// columns, the batch calculation's suggestion order, the optimize dialog's columns), read
// against the symbols of the element table.

#include <span>
#include <string>

// Capacity of every element-number array that an element list is parsed into.
inline constexpr int kElementListCapacity = 104;

// Entries that ParseElementSymbolList stores besides element numbers.
inline constexpr int kElementListLoss = -1;         // "loi", "loss" or "vol": loss on ignition
inline constexpr int kElementListSodiumPotassium = -2; // "Nk": sodium and potassium together

// Reads an element order (the batch calculation's suggestion order) into element numbers: every
// slot is first set to -1, then each symbol found is stored in turn (at most 104). Blanks and
// commas separate; symbols may also follow each other directly ("NaK" is sodium, then
// potassium). Returns the count, or -1 when the text holds anything that is not an element
// symbol (the pseudo-entries of the table views are not accepted here).
int ParseElementOrder(const std::string& text, std::span<int, kElementListCapacity> order);

// Parses an element list of a table view: words separated by blanks or commas; symbols of the
// elements 1 to 103 (compared with case) store their element number and may follow each other
// directly; "loi", "loss" and "vol" (any case) store kElementListLoss; "Nk" (this case) stores
// kElementListSodiumPotassium. At most 104 entries are stored. Returns the count, or -1 when the
// text holds anything else.
int ParseElementSymbolList(const std::string& text, std::span<int, kElementListCapacity> entries);

// 1 when the text holds anything but blanks, commas and element symbols (1..103, compared
// exactly; symbols may follow each other directly), "loi", "loss" or "vol" (any case; only
// with allowLoss) and "Nk" (this case; only with allowNk); else 0. An empty text is good.
int IsBadElementList(const std::string& text, bool allowLoss, bool allowNk);
// The same check under the name the batch calculation and optimize dialogs use.
inline int ParseElementSymbolListEx(const std::string& text, bool allowLoss, bool allowNk)
{
    return IsBadElementList(text, allowLoss, allowNk);
}
