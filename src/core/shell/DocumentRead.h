#pragma once

// What every document tells the user after reading its file, the same way for every kind.

#include <string>

class CParamFileContext;

// After path was read into context: when the file did not end with a line break, the reader
// passed its last line over (a file cut short ends inside a record); this says so, naming the
// file, so that the user learns it before saving over it. Nothing otherwise.
void ReportIncompleteLastLine(const std::string& path, const CParamFileContext& context, unsigned helpId);
