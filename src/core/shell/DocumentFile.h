#pragma once

// Writing a document's file, the same way for every kind of document: first, when another
// program has changed the file since the document read or wrote it, the question whether to
// replace it; then the backup the preferences ask for (a failed backup asks "<reason> --
// Continue with Save?"); then the bytes through a safe save, so that a failure never harms the
// file that was there. The document remembers the file it wrote for its next save.

#include <functional>
#include <iosfwd>
#include <string>

class CDocument;

// Writes path with write (which returns false when it could not write everything). Shows
// "<path>: Error opening file" when the file cannot be created or is read-only and "<path>:
// Error writing file" when writing fails, each followed by the safe save's reason when it gives
// one, both with errorHelpId; the questions carry backupHelpId. False when nothing was saved.
bool WriteDocumentFile(CDocument& document, const std::string& path, unsigned backupHelpId, unsigned errorHelpId,
                       const std::function<bool(std::ostream&)>& write);
