#pragma once

// The key = value reader's notes on the values it reads (CParamReadNotes): the cold paths of
// ParamFile.cpp, kept out of its hot loop. Only the reader uses them.

#include "support/ParamFile.h"

#include <cfloat>
#include <string>
#include <string_view>

// A double as a float handler gets it: beyond the float range, the largest float of its sign.
inline float NarrowToFloat(double number)
{
    if (number > FLT_MAX)
        return FLT_MAX;
    if (number < -FLT_MAX)
        return -FLT_MAX;
    return static_cast<float>(number);
}

// A text from the file as a note quotes it: whole up to a length a message box shows.
std::string Excerpt(std::string_view text);

// A value the reader's fast path does not take whole (more digits, an exponent, text beside the
// number, blanks after it ...; leading blanks skipped), read by the general parsers of
// NumberText.h and noted in the context's m_readNotes when it is not wholly a number of its type.
// Whole is int or long; largest is the magnitude the key's type holds (FLT_MAX for a float).
template <class Whole>
Whole ReadNotedWholeValue(CParamFileContext* context, std::string_view text, long long line);
double ReadNotedRealValue(CParamFileContext* context, std::string_view text, long long line, double largest);

// A PF_NOTE_RANGE key's value outside its (inclusive) range, handed over as it stands: noted with
// the record being read.
void NoteOutOfRange(CParamFileContext* context, const ParamDesc& entry, double number, long long line);
