#include "support/ParamFileNotes.h"

#include "support/NumberText.h"
#include "support/TextHelpers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <type_traits>

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::string_view WithoutTrailingBlanks(std::string_view text)
{
    while (!text.empty() && IsWhitespaceChar(text.back()))
        text.remove_suffix(1);
    return text;
}

enum class NumberFault { None, NotNumber, NotWhole, TooLarge };

// What is wrong, if anything, with the text (leading blanks skipped) of a whole-number value read
// as read; lowest..highest is the type's range. Nothing is lost, and nothing noted, when the text
// is empty (it reads as 0) or is a number written with a fraction or an exponent that reads as
// the same whole number ("10.0").
NumberFault WholeNumberFault(std::string_view text, long read, long lowest, long highest)
{
    const std::string_view field = WithoutTrailingBlanks(text);
    if (field.empty())
        return NumberFault::None;
    const bool plus = field[0] == '+';
    const std::string_view digits = field.substr(plus ? 1 : 0);
    if (!digits.empty() && (IsDigit(digits[0]) || (!plus && digits[0] == '-'))) {
        long long number = 0;
        const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
        if (end == digits.data() + digits.size()) {
            if (error == std::errc::result_out_of_range || (error == std::errc() && (number < lowest || number > highest)))
                return NumberFault::TooLarge;
            if (error == std::errc())
                return NumberFault::None;
        }
    }
    double number = 0;
    if (!ReadNumberText(field, number))
        return NumberFault::NotNumber;
    return number == static_cast<double>(read) ? NumberFault::None : NumberFault::NotWhole;
}

// The same for a value of a floating-point type whose largest magnitude is largest, read as read
// from its first used characters.
NumberFault RealNumberFault(std::string_view text, double read, std::size_t used, double largest)
{
    // used is 0 of an empty value, which reads as 0: nothing is lost.
    if (used != WithoutTrailingBlanks(text).size())
        return NumberFault::NotNumber;
    // The parser gives the largest double for any magnitude beyond it.
    const double magnitude = std::fabs(read);
    return magnitude > largest || magnitude == DBL_MAX ? NumberFault::TooLarge : NumberFault::None;
}

void NoteNumber(CParamFileContext* context, long long line, std::string_view text, NumberFault fault,
                const std::string& readAs)
{
    if (!context || !context->m_readNotes.notNumbers.Add(line))
        return;
    static constexpr const char* kWhat[] = {"", " is not a number", " is not a whole number", " is too large a number"};
    context->m_readNotes.notNumbers.text = "\"" + Excerpt(WithoutTrailingBlanks(text)) + "\"" +
                                           kWhat[static_cast<int>(fault)] + "; read as " + readAs;
}

std::string RangeNumberText(const ParamDesc& entry, double number)
{
    return entry.type == 'd' || entry.type == 'f' ? FormatDoubleShortest(number)
                                                  : std::to_string(static_cast<long long>(number));
}

} // namespace

std::string Excerpt(std::string_view text)
{
    constexpr std::size_t kMostShown = 200;
    if (text.size() <= kMostShown)
        return std::string(text);
    return std::string(text.substr(0, kMostShown)) + "...";
}

template <class Whole>
Whole ReadNotedWholeValue(CParamFileContext* context, std::string_view text, long long line)
{
    const Whole read = std::is_same_v<Whole, int> ? ParseInt(text) : ParseLong(text);
    const NumberFault fault =
        WholeNumberFault(text, read, std::numeric_limits<Whole>::min(), std::numeric_limits<Whole>::max());
    if (fault != NumberFault::None)
        NoteNumber(context, line, text, fault, std::to_string(read));
    return read;
}

double ReadNotedRealValue(CParamFileContext* context, std::string_view text, long long line, double largest)
{
    std::size_t used = 0;
    const double read = ParseDoublePrefix(text, used);
    const NumberFault fault = RealNumberFault(text, read, used, largest);
    if (fault != NumberFault::None)
        NoteNumber(context, line, text, fault, FormatDoubleShortest(largest == FLT_MAX ? NarrowToFloat(read) : read));
    return read;
}

template int ReadNotedWholeValue<int>(CParamFileContext*, std::string_view, long long);
template long ReadNotedWholeValue<long>(CParamFileContext*, std::string_view, long long);

void NoteOutOfRange(CParamFileContext* context, const ParamDesc& entry, double number, long long line)
{
    if (!context || !context->m_readNotes.outOfRange.Add(line))
        return;
    std::string record = context->DescribeCurrentRecord();
    if (!record.empty())
        record += ": ";
    const double bound = std::clamp(number, entry.min, std::max(entry.min, entry.max));
    context->m_readNotes.outOfRange.text = record + entry.key + " = " + RangeNumberText(entry, number) +
                                           " is outside its range, " + RangeNumberText(entry, entry.min) + " to " +
                                           RangeNumberText(entry, entry.max) + "; kept as it is, it is used as " +
                                           RangeNumberText(entry, bound);
}

bool CParamNote::Add(long long atLine)
{
    if (count++ > 0)
        return false;
    line = atLine;
    return true;
}

void CParamReadNotes::Append(const CParamReadNotes& next)
{
    for (auto note : {&CParamReadNotes::lastLineUnterminated, &CParamReadNotes::notNumbers, &CParamReadNotes::outOfRange}) {
        const CParamNote& later = next.*note;
        CParamNote& mine = this->*note;
        if (later.count == 0)
            continue;
        if (mine.count == 0) {
            mine.line = lines + later.line;
            mine.text = later.text;
        }
        mine.count += later.count;
    }
    // Only the file's end ends in a record: a piece ends where the next one's record begins.
    if (next.lines > 0) {
        endsInRecord = next.endsInRecord;
        if (endsInRecord.count > 0)
            endsInRecord.line += lines;
    }
    lines += next.lines;
}
