#pragma once

// File-system helpers: the program's directory, full paths, joining paths and the line delimiter
// of a text file to import. Paths are POSIX paths ("/" separates); nothing is cut to a fixed
// length.

#include <iosfwd>
#include <string>
#include <string_view>

// 13 when the file's lines end with lone carriage returns, else 10 (also when the file cannot
// be read or holds neither). A CR LF pair counts as one line feed; the first 16384 characters
// decide.
char DetectLineDelimiter(const std::string& path);
// The same for a file already open, from where it stands; it is put back there.
char DetectLineDelimiter(std::istream& in);
// The same for a text already read.
char LineDelimiterOf(std::string_view text);

// The current directory; empty on failure.
std::string GetCurrentDirectoryString();

// The directory of the running program without a trailing "/" (except for "/" itself); empty
// on failure.
std::string GetProgramDirectory();

// The user's data directory of the program: "Oxidarium" in $XDG_DATA_HOME, or in
// ~/.local/share when that is not set (or not absolute). Empty when neither is known.
std::string GetUserDataDirectory();

// The absolute form of path (relative paths start at the current directory; "." and ".." are
// resolved by name, symbolic links are not followed). fileOffset, when given, receives the
// offset of the file-name part (the length when the path ends with "/"). Empty and 0 on failure.
std::string GetFullPathString(const std::string& path, int* fileOffset = nullptr);

// True when a and b name the same file: their full paths (above) are equal, letter case
// counting, as the file system counts it. An empty path names no file.
bool IsSamePath(std::string_view a, std::string_view b);

// directory + "/" + name; no separator is added when directory ends with one; an empty
// directory gives name alone.
std::string MakeFilePath(const std::string& directory, const std::string& name);

// True when the path's attributes can be read (files and directories).
bool FileExists(const std::string& path);
