#pragma once

// Keeps large freed blocks in the program's heap for the next build to reuse. A chart of many
// thousand glazes takes and drops tens of megabytes each time it is drawn at a new size; given
// back to the system when freed, those blocks come back page by page at the next build, each
// page's first touch a fault, and a resize spends more time having its pages mapped than
// building. Called once at start-up, before any thread but the first runs. Where the C library
// has no such setting, it does nothing.
void KeepFreedMemoryForReuse();
