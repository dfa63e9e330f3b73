#pragma once

// The kinds of database file. A kind names the file type in a file's header ("filetype = ...")
// and is also the kind that every update notice carries.

#include <string_view>

enum class DbFileType : int {
    Unknown = 0,
    Elements = 1,
    Materials = 2,
    Substitutions = 3,
    LimitFormulas = 4,
    Glazes = 5,
    GraphTemplates = 6,
    DbTreeItems = 7,
    TextFile = 8,
    Preferences = 9,
};

// The file-type text that names a kind in a header, e.g. "Oxidarium Glazes"; an empty text for
// Unknown and for values outside the enumeration.
const char* DbFileTypeText(DbFileType kind);

// The kind whose file-type text equals text, ignoring ASCII case (no locale); Unknown when
// none does.
DbFileType DbFileTypeFromText(std::string_view text);
