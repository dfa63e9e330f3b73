#pragma once

// Whether a file may be handed to the desktop to open with its default program.
//
// A file named in a shared database (a glaze's image or note file) is chosen by whoever wrote
// the database. The desktop "opens" an executable or a desktop entry by running what it names,
// so only regular files that are neither go there.

#include <cstddef>
#include <iosfwd>
#include <string>

// Empty when path may be opened; otherwise the reason it is not, as a sentence for the user:
//   "The file does not exist."
//   "It is not a regular file."
//   "It is a program (the file is executable); it is not run from here."
//   "It is a desktop entry, which starts a program; it is not run from here."
std::string WhyNotOpenOnDesktop(const std::string& path);

// How much of a file's beginning is read to tell a desktop entry by its content: far more than
// comments before a real entry's header take, and what the desktop itself looks at.
inline constexpr std::size_t kDesktopEntryHeadBytes = 16 * 1024;

// True when the first line of in that is neither blank nor a comment (within the first 64 lines
// and kDesktopEntryHeadBytes bytes, a byte order mark ignored) begins "[Desktop Entry]". Reads at
// most kDesktopEntryHeadBytes bytes.
bool StartsAsDesktopEntry(std::istream& in);
