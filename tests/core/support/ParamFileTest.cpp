#include "support/ParamFile.h"

#include "core/support/CheckedItems.h"
#include "support/NumberText.h"

#include "core/support/LocaleGuard.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cstring>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// Records every handler call as "key=value" (numbers in their converted form).
class CRecorder : public CParamFileContext {
public:
    std::vector<std::string> calls;
    int endHookCalls = 0;
    const char* endHookKey = "not called";
    const void* endHookValue = nullptr;
    int endHookResult = 0;
    int failOnKey = 0;              // a handler result to return for key "fail"
    std::string failMessage;        // written before returning failOnKey when not empty
};

CRecorder& Rec(CParamFileContext* context)
{
    return *static_cast<CRecorder*>(context);
}

int OnText(CParamFileContext* context, const char* key, const void* value)
{
    Rec(context).calls.push_back(std::string(key) + "=" + ParamText(value));
    return 0;
}

int OnInt(CParamFileContext* context, const char* key, const void* value)
{
    Rec(context).calls.push_back(std::string(key) + "=" + std::to_string(ParamInt(value)));
    return 0;
}

int OnLong(CParamFileContext* context, const char* key, const void* value)
{
    Rec(context).calls.push_back(std::string(key) + "=" + std::to_string(ParamLong(value)));
    return 0;
}

int OnChar(CParamFileContext* context, const char* key, const void* value)
{
    Rec(context).calls.push_back(std::string(key) + "=" + std::string(1, ParamChar(value)));
    return 0;
}

std::vector<float> g_floats;
std::vector<double> g_doubles;

int OnFloat(CParamFileContext* context, const char* key, const void* value)
{
    g_floats.push_back(ParamFloat(value));
    Rec(context).calls.push_back(key);
    return 0;
}

int OnDouble(CParamFileContext* context, const char* key, const void* value)
{
    g_doubles.push_back(ParamDouble(value));
    Rec(context).calls.push_back(key);
    return 0;
}

int OnFail(CParamFileContext* context, const char*, const void*)
{
    CRecorder& rec = Rec(context);
    if (!rec.failMessage.empty())
        rec.m_errorText = rec.failMessage;
    return rec.failOnKey;
}

int OnEnd(CParamFileContext* context, const char* key, const void* value)
{
    CRecorder& rec = Rec(context);
    ++rec.endHookCalls;
    rec.endHookKey = key;
    rec.endHookValue = value;
    return rec.endHookResult;
}

// A table of every type, with the end hook.
ParamDesc s_keys[] = {
    {"filetype", 's', OnText, PF_REQUIRED | PF_ONCE, 0, 0, 0},
    {"version", 'i', OnInt, PF_REQUIRED | PF_ONCE | PF_MIN_INCL | PF_MAX_INCL, 1, 2, 0},
    {"name", 's', OnText, 0, 0, 0, 0},
    {"raw", 's', OnText, PF_KEEP_BLANKS, 0, 0, 0},
    {"count", 'i', OnInt, 0, 0, 0, 0},
    {"big", 'l', OnLong, 0, 0, 0, 0},
    {"ratio", 'f', OnFloat, 0, 0, 0, 0},
    {"bound", 'f', OnFloat, PF_MAX_INCL, 0, 1e39, 0},
    {"amount", 'd', OnDouble, PF_MIN_EXCL | PF_MAX_EXCL, 0, 10, 0},
    {"mark", 'c', OnChar, PF_MIN_INCL | PF_MAX_INCL, 'a', 'z', 0},
    {"fail", 's', OnFail, 0, 0, 0, 0},
    {nullptr, 0, OnEnd, 0, 0, 0, 0},
};

// The same keys without required entries and without end hook.
ParamDesc s_optional[] = {
    {"name", 's', OnText, 0, 0, 0, 0},
    {"a", 's', OnText, 0, 0, 0, 0},
    {"k", 's', OnText, 0, 0, 0, 0},
    {"count", 'i', OnInt, 0, 0, 0, 0},
    {nullptr, 0, nullptr, 0, 0, 0, 0},
};

// A key of each numeric type, without range.
ParamDesc s_numbers[] = {
    {"count", 'i', OnInt, 0, 0, 0, 0},
    {"big", 'l', OnLong, 0, 0, 0, 0},
    {"ratio", 'f', OnFloat, 0, 0, 0, 0},
    {"value", 'd', OnDouble, 0, 0, 0, 0},
    {nullptr, 0, nullptr, 0, 0, 0, 0},
};

const std::string kHeader = "filetype = Oxidarium Glazes\nversion =  2\n";

struct Outcome {
    int result;
    std::string message;
};

Outcome Read(CRecorder& rec, const std::string& text, ParamDesc* table = s_keys, int lineLimit = 0)
{
    std::istringstream in(text);
    const int result = ParseParameterFile(rec.m_errorText, in, table, &rec, lineLimit);
    return {result, rec.m_errorText};
}

std::string Lines(int count, const std::string& line)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += line + "\n";
    return text;
}

} // namespace

TEST(ParamFileTest, AHeaderAndRecordsAreHandedToTheHandlersInOrder)
{
    CRecorder rec;
    rec.m_errorText = "stale";
    const Outcome out = Read(rec, kHeader + "\nname = Celadon\ncount = 12\nbig = 5000000000\nmark = q\n");
    EXPECT_EQ(out.result, 0);
    EXPECT_EQ(out.message, "");
    EXPECT_EQ(rec.calls, (std::vector<std::string>{"filetype=Oxidarium Glazes", "version=2", "name=Celadon",
                                                   "count=12", "big=5000000000", "mark=q"}));
    EXPECT_EQ(rec.endHookCalls, 1);
    EXPECT_EQ(rec.endHookKey, nullptr);
    EXPECT_EQ(rec.endHookValue, &rec.m_errorText);
}

TEST(ParamFileTest, AVersionOutOfRangeNamesTheKeyAndLine)
{
    CRecorder rec;
    const Outcome out = Read(rec, "filetype = x\n# note\nversion = 3\n");
    EXPECT_EQ(out.result, 3);
    EXPECT_EQ(out.message, "Parameter 'version' out of range, line 3");
    EXPECT_EQ(rec.endHookCalls, 0);
}

TEST(ParamFileTest, ASecondOnceOnlyKeyNamesTheLineOfTheSecondOccurrence)
{
    CRecorder rec;
    const Outcome out = Read(rec, kHeader + "\nname = a\nfiletype = again\n");
    EXPECT_EQ(out.result, 4);
    EXPECT_EQ(out.message, "Multiple occurrences of parameter 'filetype', line 5");
}

TEST(ParamFileTest, AMissingRequiredKeyIsNamed)
{
    CRecorder rec;
    const Outcome out = Read(rec, "version = 2\nname = x\n");
    EXPECT_EQ(out.result, 5);
    EXPECT_EQ(out.message, "Parameter 'filetype' not found");
    EXPECT_EQ(rec.endHookCalls, 1);
}

TEST(ParamFileTest, CommentsBlankAndShortLinesAreSkipped)
{
    const std::string text = "# comment\n\n  \nab\n;x = 1\n9abc = 1\n@key = 1\n[key] = 1\n_key = 1\n\xE9t\xE9 = 1\n";
    CRecorder rec;
    EXPECT_EQ(Read(rec, text, s_optional).result, 0);
    EXPECT_TRUE(rec.calls.empty());

    CRecorder required;
    const Outcome out = Read(required, text);
    EXPECT_EQ(out.result, 5);
    EXPECT_EQ(out.message, "Parameter 'filetype' not found");
}

TEST(ParamFileTest, ALetterLineWithoutEqualsIsAParseErrorUnlessCommentedOut)
{
    CRecorder rec;
    Outcome out = Read(rec, "name = a\n\nabc\nname = b\n", s_optional);
    EXPECT_EQ(out.result, 1);
    EXPECT_EQ(out.message, "Parse error in line 3");
    EXPECT_EQ(rec.calls, std::vector<std::string>{"name=a"});

    CRecorder commented;
    out = Read(commented, "name = a\n\n#abc\nname = b\n", s_optional);
    EXPECT_EQ(out.result, 0);
    EXPECT_EQ(commented.calls, (std::vector<std::string>{"name=a", "name=b"}));
}

TEST(ParamFileTest, OnlyTheFirstEqualsSignSplits)
{
    CRecorder rec;
    EXPECT_EQ(Read(rec, "a=b=c\n", s_optional).result, 0);
    EXPECT_EQ(rec.calls, std::vector<std::string>{"a=b=c"});
}

TEST(ParamFileTest, KeysAreCaseSensitive)
{
    CRecorder rec;
    EXPECT_EQ(Read(rec, "Name = x\nNAME = y\nname = z\n", s_optional).result, 0);
    EXPECT_EQ(rec.calls, std::vector<std::string>{"name=z"});
}

TEST(ParamFileTest, StringValuesLoseTrailingBlanksUnlessKeepBlanks)
{
    CRecorder rec;
    EXPECT_EQ(Read(rec, kHeader + "   name=Tenmoku  \n\t raw=Tenmoku  \n").result, 0);
    ASSERT_EQ(rec.calls.size(), 4u);
    EXPECT_EQ(ItemAt(rec.calls, 2), "name=Tenmoku");
    EXPECT_EQ(ItemAt(rec.calls, 3), "raw=Tenmoku  ");
}

TEST(ParamFileTest, WhitespaceIsSpaceAndNineToThirteen)
{
    CRecorder rec;
    EXPECT_EQ(Read(rec, "\v\f\tname\t\v= \f Shino \t\v\f\n", s_optional).result, 0);
    EXPECT_EQ(rec.calls, std::vector<std::string>{"name=Shino"});
}

TEST(ParamFileTest, AnEmptyValueIsAnEmptyStringOrZero)
{
    CRecorder rec;
    EXPECT_EQ(Read(rec, "name =\ncount =   \n", s_optional).result, 0);
    EXPECT_EQ(rec.calls, (std::vector<std::string>{"name=", "count=0"}));
}

// Regression: such values were read without a word, and a save wrote them as read.
TEST(ParamFileTest, NumbersFollowThePrefixRulesAndThoseThatAreNotNumbersAreNoted)
{
    CRecorder rec;
    EXPECT_EQ(Read(rec, "count = 7\ncount = 12abc\ncount = abc\ncount = 0x1F\ncount = 99999999999\n", s_optional).result, 0);
    EXPECT_EQ(rec.calls, (std::vector<std::string>{"count=7", "count=12", "count=0", "count=0", "count=2147483647"}));
    const CParamNote& noted = rec.m_readNotes.notNumbers;
    EXPECT_EQ(noted.count, 4);
    EXPECT_EQ(noted.line, 2);
    EXPECT_EQ(noted.text, "\"12abc\" is not a number; read as 12");

    // Of each type, what is noted and what is a number as written (blanks after it, a whole
    // number with a fraction of nothing, an empty value: nothing is lost).
    const std::pair<std::string, std::string> values[] = {
        {"value = 1,5", "\"1,5\" is not a number; read as 1"},
        {"value = nan", "\"nan\" is not a number; read as 0"},
        {"value = inf", "\"inf\" is not a number; read as 0"},
        {"value = 0x10", "\"0x10\" is not a number; read as 0"},
        {"value = 5e", "\"5e\" is not a number; read as 5"},
        {"value = 1e999", "\"1e999\" is too large a number; read as 1.7976931348623157e+308"},
        {"ratio = -1e39", "\"-1e39\" is too large a number; read as -3.4028234663852886e+38"},
        {"count = 2.5", "\"2.5\" is not a whole number; read as 2"},
        {"count = -3000000000  ", "\"-3000000000\" is too large a number; read as -2147483648"},
        {"big = 1.5e3", "\"1.5e3\" is not a whole number; read as 1"},
        {"value = 2.5  ", ""}, {"value = .5", ""}, {"value = -1.5e3", ""}, {"count = +10.0", ""},
        {"count = -12", ""}, {"big = 5000000000", ""}, {"value = ", ""}, {"count =", ""},
    };
    for (const auto& [line, note] : values) {
        CRecorder one;
        EXPECT_EQ(Read(one, "# first\n" + line + "\n", s_numbers).result, 0) << line;
        EXPECT_EQ(one.m_readNotes.notNumbers.text, note) << line;
        EXPECT_EQ(one.m_readNotes.notNumbers.count, note.empty() ? 0 : 1) << line;
        EXPECT_EQ(one.m_readNotes.notNumbers.line, note.empty() ? 0 : 2) << line;
    }
}

// Every number a file holds, short or long, gets the value of the general number parsers, to
// the last bit: whole numbers around nine digits, decimals of up to fifteen digits and beyond,
// signs, exponents, a point without digits, text after the number.
TEST(ParamFileTest, NumbersGetTheValuesOfTheGeneralParsers)
{
    const std::vector<std::string> numbers = {
        "0", "-0", "+7", "007", "999999999", "-999999999", "1000000000", "2147483647", "-2147483648",
        "99999999999", "12.5", "0.1", "-0.3", "5.", ".5", "-.5", "1.25abc", "3.14159265358979",
        "123456.123456789", "123456789.123456", "123456789.1234567", "987654321.987654321", "167760436.373878287",
        "0.000000001", "0.0000000001", "1.5e3", "2E-2", "7e", "1.1.1", "+", "-", "."};
    std::string text;
    for (const std::string& number : numbers)
        text += "count = " + number + "\nbig = " + number + "\nratio = " + number + "\nvalue = " + number + "\n";
    g_floats.clear();
    g_doubles.clear();
    CRecorder rec;
    ASSERT_EQ(Read(rec, text, s_numbers).result, 0) << rec.m_errorText;
    ASSERT_EQ(g_doubles.size(), numbers.size());
    ASSERT_EQ(g_floats.size(), numbers.size());
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        SCOPED_TRACE(numbers[i]);
        EXPECT_EQ(ItemAt(rec.calls, 4 * i), "count=" + std::to_string(ParseInt(numbers[i])));
        EXPECT_EQ(ItemAt(rec.calls, 4 * i + 1), "big=" + std::to_string(ParseLong(numbers[i])));
        const double expected = ParseDouble(numbers[i]);
        const float expectedFloat = static_cast<float>(expected);
        EXPECT_EQ(std::memcmp(&g_floats[i], &expectedFloat, sizeof expectedFloat), 0);
        EXPECT_EQ(std::memcmp(&g_doubles[i], &expected, sizeof expected), 0) << g_doubles[i] << " " << expected;
    }
}

TEST(ParamFileTest, FloatsBeyondTheFloatRangeAreClamped)
{
    g_floats.clear();
    CRecorder rec;
    EXPECT_EQ(Read(rec, kHeader + "ratio = 1e300\nratio = -1e300\nratio = 0.25\n").result, 0);
    EXPECT_EQ(g_floats, (std::vector<float>{FLT_MAX, -FLT_MAX, 0.25f}));
}

TEST(ParamFileTest, TheRangeCheckUsesTheUnnarrowedDouble)
{
    g_floats.clear();
    CRecorder rec;
    // 1e40 narrows to FLT_MAX (below the bound 1e39), but the double itself is beyond it.
    const Outcome out = Read(rec, kHeader + "bound = 1e38\nbound = 1e40\n");
    EXPECT_EQ(out.result, 3);
    EXPECT_EQ(out.message, "Parameter 'bound' out of range, line 4");
    EXPECT_EQ(g_floats, std::vector<float>{1e38f});
}

TEST(ParamFileTest, ExclusiveBoundsRejectTheBoundItself)
{
    g_doubles.clear();
    CRecorder rec;
    EXPECT_EQ(Read(rec, kHeader + "amount = 9.5\n").result, 0);
    EXPECT_EQ(Read(rec, kHeader + "amount = 10\n").result, 3);
    EXPECT_EQ(Read(rec, kHeader + "amount = 0\n").result, 3);
    EXPECT_EQ(Read(rec, kHeader + "amount = 1e999\n").result, 3);
    EXPECT_EQ(g_doubles, std::vector<double>{9.5});
}

// A setting that what uses it bounds is read as it stands: its file stays readable and a save
// writes it back unchanged.
TEST(ParamFileTest, AValueOutsideANotedRangeIsHandedOverAndNoted)
{
    ParamDesc table[] = {
        {"level", 'i', OnInt, PF_MIN_INCL | PF_MAX_INCL | PF_NOTE_RANGE, 0, 100, 0},
        {"size", 'd', OnDouble, PF_MIN_INCL | PF_MAX_INCL | PF_NOTE_RANGE, 0.5, 2.5, 0},
        {nullptr, 0, nullptr, 0, 0, 0, 0},
    };
    CRecorder rec;
    EXPECT_EQ(Read(rec, "level = 100\nlevel = 150\nsize = 0.25\nlevel = -1\n", table).result, 0);
    EXPECT_EQ(rec.calls, (std::vector<std::string>{"level=100", "level=150", "size", "level=-1"}));
    EXPECT_EQ(rec.m_readNotes.outOfRange.count, 3);
    EXPECT_EQ(rec.m_readNotes.outOfRange.line, 2);
    EXPECT_EQ(rec.m_readNotes.outOfRange.text, "level = 150 is outside its range, 0 to 100; kept as it is, it is used as 100");
    CRecorder low;
    EXPECT_EQ(Read(low, "size = 0.25\n", table).result, 0);
    EXPECT_EQ(low.m_readNotes.outOfRange.text, "size = 0.25 is outside its range, 0.5 to 2.5; kept as it is, it is used as 0.5");
}

TEST(ParamFileTest, ACharacterValueIsRangeCheckedByItsCode)
{
    CRecorder rec;
    EXPECT_EQ(Read(rec, kHeader + "mark = m and more\n").result, 0);
    EXPECT_EQ(LastItem(rec.calls), "mark=m");
    const Outcome out = Read(rec, kHeader + "mark = M\n");
    EXPECT_EQ(out.result, 3);
    EXPECT_EQ(out.message, "Parameter 'mark' out of range, line 3");
    EXPECT_EQ(Read(rec, kHeader + "mark = \xE9\n").result, 3); // a negative signed char
}

TEST(ParamFileTest, NumbersIgnoreTheLocale)
{
    CDecimalCommaLocale locale;
    OXI_REQUIRE_DECIMAL_COMMA_LOCALE(locale);
    g_doubles.clear();
    CRecorder rec;
    EXPECT_EQ(Read(rec, kHeader + "amount = 1.5\namount = 2,5\n").result, 0);
    EXPECT_EQ(g_doubles, (std::vector<double>{1.5, 2.0}));
}

TEST(ParamFileTest, ABadTypeFailsBeforeAnyLineIsRead)
{
    static ParamDesc table[] = {
        {"first", 's', OnText, 0, 0, 0, 0},
        {"second", 'x', OnText, 0, 0, 0, 0},
        {nullptr, 0, OnEnd, 0, 0, 0, 0},
    };
    CRecorder rec;
    std::istringstream in("first = 1\n");
    EXPECT_EQ(ParseParameterFile(rec.m_errorText, in, table, &rec, 0), 6);
    EXPECT_EQ(rec.m_errorText, "Bad ptype 'x' for parameter 'second'");
    EXPECT_TRUE(rec.calls.empty());
    EXPECT_EQ(rec.endHookCalls, 0);
    EXPECT_EQ(in.tellg(), 0);
}

TEST(ParamFileTest, AnEntryWithoutHandlerFailsBeforeAnyLineIsRead)
{
    static ParamDesc table[] = {
        {"first", 's', OnText, 0, 0, 0, 0},
        {"second", 'i', nullptr, 0, 0, 0, 0},
        {nullptr, 0, nullptr, 0, 0, 0, 0},
    };
    CRecorder rec;
    const Outcome out = Read(rec, "first = 1\n", table);
    EXPECT_EQ(out.result, 6);
    EXPECT_EQ(out.message, "No callback for parameter 'second'");
    EXPECT_TRUE(rec.calls.empty());
}

TEST(ParamFileTest, TheLineLimitStopsAfterTheFirstKeyLineAtOrBeyondIt)
{
    // Key lines at 99 and 101 (line 100 is a comment: the limit is tested only after key lines).
    std::string text = Lines(98, "# filler") + "name = 99\n# 100\nname = 101\nname = 102\nfiletype = late\n";
    CRecorder rec;
    std::istringstream in(text);
    const int result = ParseParameterFile(rec.m_errorText, in, s_keys, &rec, 100);
    EXPECT_EQ(result, 5);
    EXPECT_EQ(rec.m_errorText, "Parameter 'filetype' not found");
    EXPECT_EQ(rec.calls, (std::vector<std::string>{"name=99", "name=101"}));
    EXPECT_EQ(rec.endHookCalls, 1);
    // The stream stands just after the last line read.
    std::string next;
    std::getline(in, next);
    EXPECT_EQ(next, "name = 102");
}

TEST(ParamFileTest, AnUnknownKeyLineAlsoEndsALimitedRead)
{
    std::string text = Lines(99, "# filler") + "unknown = 1\nname = after\n";
    CRecorder rec;
    EXPECT_EQ(Read(rec, text, s_optional, 100).result, 0);
    EXPECT_TRUE(rec.calls.empty());
}

TEST(ParamFileTest, TheLimitIsIgnoredWhenZero)
{
    CRecorder rec;
    EXPECT_EQ(Read(rec, Lines(150, "name = x"), s_optional, 0).result, 0);
    EXPECT_EQ(rec.calls.size(), 150u);
}

// Regression: a last line without a line break was passed over, so the next save lost it (a
// hazard note, a whole record, the last preference). It is read like any other line, and noted,
// since a file cut short ends so too.
TEST(ParamFileTest, ALastLineWithoutLineBreakIsReadAndNoted)
{
    CRecorder rec;
    EXPECT_EQ(Read(rec, "name = first\n\ncount = 3", s_optional).result, 0);
    EXPECT_EQ(rec.calls, (std::vector<std::string>{"name=first", "count=3"}));
    EXPECT_EQ(rec.m_readNotes.lastLineUnterminated.count, 1);
    EXPECT_EQ(rec.m_readNotes.lastLineUnterminated.line, 3);
    EXPECT_EQ(rec.m_readNotes.lastLineUnterminated.text, "count = 3");
    EXPECT_EQ(rec.m_readNotes.lines, 3);

    // A required key there counts; a letter line without '=' there is a parse error.
    CRecorder required;
    EXPECT_EQ(Read(required, "filetype = x\nversion = 2").result, 0) << required.m_errorText;
    CRecorder cut;
    EXPECT_EQ(Read(cut, "name = first\r\nabc", s_optional).message, "Parse error in line 2");

    // A long last line is quoted by its start.
    CRecorder longLine;
    EXPECT_EQ(Read(longLine, "name = " + std::string(300, 'x'), s_optional).result, 0);
    EXPECT_EQ(longLine.calls, std::vector<std::string>{"name=" + std::string(300, 'x')});
    EXPECT_EQ(longLine.m_readNotes.lastLineUnterminated.text, "name = " + std::string(193, 'x') + "...");

    // A whole file, or one ending in blanks, is complete; a new read starts afresh. Without the
    // blank line that ends a record, the file is noted as ending in one (line, text); a line that
    // ends the reader's first block is no last line when more follows.
    const std::string block(4096 - 8, 'x');
    const struct {
        std::string text;
        long long endsInRecord; // its line, or 0
        std::string last;
    } rows[] = {
        {"name = first\n", 1, "name = first"},
        {"name = first\r", 1, "name = first"},
        {"name = first\r\n", 1, "name = first"},
        {"name = first\n\n", 0, ""},
        {"name = first\r\n\r\n", 0, ""},
        {"name = first\n \t", 0, ""},
        {"", 0, ""},
        {"name = " + block + "\n\n", 0, ""},
        {"name = " + block + "\nk = 3\n", 2, "k = 3"},
        {"name = " + block + "\n", 1, "name = " + std::string(193, 'x') + "..."},
    };
    for (const auto& row : rows) {
        CRecorder whole;
        whole.m_readNotes.lastLineUnterminated.count = 1;
        whole.m_readNotes.endsInRecord.count = 1;
        EXPECT_EQ(Read(whole, row.text, s_optional).result, 0);
        EXPECT_EQ(whole.m_readNotes.lastLineUnterminated.count, 0) << row.text.substr(0, 20);
        EXPECT_EQ(whole.m_readNotes.endsInRecord.count, row.endsInRecord ? 1 : 0) << row.text.substr(0, 20);
        EXPECT_EQ(whole.m_readNotes.endsInRecord.line, row.endsInRecord) << row.text.substr(0, 20);
        EXPECT_EQ(whole.m_readNotes.endsInRecord.text, row.last) << row.text.substr(0, 20);
    }
    CRecorder unterminated;
    EXPECT_EQ(Read(unterminated, "name = first\ncount = 3", s_optional).result, 0);
    EXPECT_EQ(unterminated.m_readNotes.endsInRecord.count, 0) << "told as a last line without a line break";
}

// The old reader cut lines at 4095 characters and handled the rest as a line of its own.
TEST(ParamFileTest, LongLinesArriveWhole)
{
    const std::string value(10000, 'v');
    CRecorder rec;
    EXPECT_EQ(Read(rec, "name = " + value + "\nname = next\n", s_optional).result, 0);
    ASSERT_EQ(rec.calls.size(), 2u);
    EXPECT_EQ(ItemAt(rec.calls, 0), "name=" + value);
    EXPECT_EQ(ItemAt(rec.calls, 1), "name=next");

    // Longer than the reader's block, crossing several block boundaries.
    const std::string huge(1000000, 'h');
    CRecorder big;
    EXPECT_EQ(Read(big, "a = b\nname = " + huge + "\nk = 3\n", s_optional).result, 0);
    EXPECT_EQ(big.calls, (std::vector<std::string>{"a=b", "name=" + huge, "k=3"}));
}

TEST(ParamFileTest, CrLfAndLoneCrFilesReadTheSameAsLf)
{
    const std::string lf = "# c\nname = one  \n\n  a = two\nk=\nk =\nname = last\n"; // "k=" is too short
    auto replaced = [&](const std::string& eol) {
        std::string out;
        for (char c : lf)
            out += c == '\n' ? eol : std::string(1, c);
        return out;
    };
    CRecorder byLf, byCrLf, byCr;
    EXPECT_EQ(Read(byLf, lf, s_optional).result, 0);
    EXPECT_EQ(Read(byCrLf, replaced("\r\n"), s_optional).result, 0);
    EXPECT_EQ(Read(byCr, replaced("\r"), s_optional).result, 0);
    EXPECT_EQ(byLf.calls, (std::vector<std::string>{"name=one", "a=two", "k=", "name=last"}));
    EXPECT_EQ(byCrLf.calls, byLf.calls);
    EXPECT_EQ(byCr.calls, byLf.calls);

    // Line numbers agree too (the CR LF pair is one line break, blank lines count).
    const std::string bad = "name = a\n\nname = b\nxyz\n";
    CRecorder e1, e2, e3;
    EXPECT_EQ(Read(e1, bad, s_optional).message, "Parse error in line 4");
    EXPECT_EQ(Read(e2, "name = a\r\n\r\nname = b\r\nxyz\r\n", s_optional).message, "Parse error in line 4");
    EXPECT_EQ(Read(e3, "name = a\r\rname = b\rxyz\r", s_optional).message, "Parse error in line 4");
}

TEST(ParamFileTest, ACrLfPairSplitAcrossBlocksIsOneLineBreak)
{
    // A first line that fills the reader's buffer ends exactly at its growing sizes (4 KiB,
    // 8 KiB, ...): the CR is the last byte of one read and the LF the first of the next.
    for (std::size_t blockEnd : {4096u, 8192u, 16384u, 65536u, 131072u, 262144u}) {
        std::string text = "name = ";
        text += std::string(blockEnd - 1 - text.size(), 'x');
        text += "\r\nxyz\r\n";
        ASSERT_EQ(text[blockEnd - 1], '\r');
        CRecorder rec;
        const Outcome out = Read(rec, text, s_optional);
        EXPECT_EQ(out.result, 1) << blockEnd;
        EXPECT_EQ(out.message, "Parse error in line 2") << blockEnd;
    }
}

TEST(ParamFileTest, ManyLinesOfEveryLengthReadTheSameWithEveryLineEnd)
{
    std::string lf, crlf, cr;
    for (int i = 0; i < 5000; ++i) {
        const std::string line = (i % 11 == 0 ? "# " : "name = ") + std::string(static_cast<std::size_t>(i % 97), 'a' + i % 26);
        lf += line + "\n";
        crlf += line + "\r\n";
        cr += line + "\r";
    }
    CRecorder byLf, byCrLf, byCr;
    EXPECT_EQ(Read(byLf, lf, s_optional).result, 0);
    EXPECT_EQ(Read(byCrLf, crlf, s_optional).result, 0);
    EXPECT_EQ(Read(byCr, cr, s_optional).result, 0);
    EXPECT_EQ(byLf.calls.size(), 5000u - 455u);
    EXPECT_EQ(byCrLf.calls, byLf.calls);
    EXPECT_EQ(byCr.calls, byLf.calls);
    // The line count agrees as well.
    CRecorder e1, e2;
    EXPECT_EQ(Read(e1, crlf + "xyz\r\n", s_optional).message, "Parse error in line 5001");
    EXPECT_EQ(Read(e2, cr + "xyz\r", s_optional).message, "Parse error in line 5001");
}

TEST(ParamFileTest, AHandlersOwnMessageReplacesTheDefault)
{
    CRecorder rec;
    rec.failOnKey = 7;
    Outcome out = Read(rec, kHeader + "fail = now\nname = never\n");
    EXPECT_EQ(out.result, 7);
    EXPECT_EQ(out.message, "Error: parameter 'fail', line 3");
    EXPECT_EQ(rec.endHookCalls, 0);

    CRecorder own;
    own.failOnKey = -1;
    own.failMessage = "Incorrect file type: now";
    out = Read(own, kHeader + "fail = now\n");
    EXPECT_EQ(out.result, -1);
    EXPECT_EQ(out.message, "Incorrect file type: now");
}

TEST(ParamFileTest, AnEndHookFailureGivesTheValidationMessage)
{
    CRecorder rec;
    rec.endHookResult = 9;
    const Outcome out = Read(rec, kHeader);
    EXPECT_EQ(out.result, 9);
    EXPECT_EQ(out.message, "Validation error at end of file");
}

TEST(ParamFileTest, TheEndHookRunsBeforeTheRequiredKeyCheck)
{
    CRecorder rec;
    rec.endHookResult = 2;
    EXPECT_EQ(Read(rec, "name = x\n").result, 2);
}

TEST(ParamFileTest, CountsAreResetForEveryRead)
{
    CRecorder rec;
    EXPECT_EQ(Read(rec, kHeader + "name = a\nname = b\n").result, 0);
    EXPECT_EQ(s_keys[0].count, 1);
    EXPECT_EQ(s_keys[2].count, 2);
    EXPECT_EQ(Read(rec, kHeader).result, 0);
    EXPECT_EQ(s_keys[2].count, 0);
}

TEST(ParamFileTest, TheTextOfALineEndsAtANulByte)
{
    CRecorder rec;
    EXPECT_EQ(Read(rec, std::string("name = ab\0cd\nk = \0\n", 19), s_optional).result, 0);
    EXPECT_EQ(rec.calls, (std::vector<std::string>{"name=ab", "k="}));
}

TEST(ParamFileTest, AFullReadSetsEndOfFile)
{
    CRecorder rec;
    std::istringstream in("name = a\n");
    EXPECT_EQ(ParseParameterFile(rec.m_errorText, in, s_optional, &rec, 0), 0);
    EXPECT_TRUE(in.eof());
    EXPECT_FALSE(in.fail());
}

TEST(ParamFileTest, AFailedStreamIsAReadError)
{
    CRecorder rec;
    std::istringstream in("name = a\n");
    in.setstate(std::ios::failbit);
    EXPECT_EQ(ParseParameterFile(rec.m_errorText, in, s_optional, &rec, 0), 2);
    EXPECT_EQ(rec.m_errorText, "Read error after line 0");
    EXPECT_TRUE(rec.calls.empty());
}

namespace {

// Hands out its text in small pieces, then fails the way a broken device would.
class CFailingBuffer : public std::streambuf {
public:
    explicit CFailingBuffer(std::string text) : m_text(std::move(text)) {}
    int reads = 0;

protected:
    int_type underflow() override
    {
        ++reads;
        if (m_pos >= m_text.size())
            throw std::runtime_error("device error");
        const std::size_t n = std::min<std::size_t>(4, m_text.size() - m_pos);
        std::memcpy(m_piece, m_text.data() + m_pos, n);
        m_pos += n;
        setg(m_piece, m_piece, m_piece + n);
        return traits_type::to_int_type(m_piece[0]);
    }

private:
    std::string m_text;
    std::size_t m_pos = 0;
    char m_piece[4];
};

} // namespace

// A stream error other than end of file must end the read, not repeat the failed read.
TEST(ParamFileTest, AStreamErrorEndsTheRead)
{
    CFailingBuffer buffer("name = a\nname = b\nname = c");
    std::istream in(&buffer);
    CRecorder rec;
    EXPECT_EQ(ParseParameterFile(rec.m_errorText, in, s_optional, &rec, 0), 2);
    EXPECT_EQ(rec.m_errorText, "Read error after line 0");
    EXPECT_TRUE(in.bad());
    EXPECT_LT(buffer.reads, 20);
    EXPECT_EQ(rec.endHookCalls, 0);
}

TEST(ParamFileTest, ARecordFieldBeforeTheFirstRecordEndsTheRead)
{
    struct CGlaze {
        std::string name;
        int cone = 0;
    };
    struct CGlazes : CParamFileContextOf<CGlaze> {};
    static ParamDesc table[] = {
        {"name", 's',
         [](CParamFileContext* ctx, const char*, const void* value) {
             auto* list = static_cast<CGlazes*>(ctx);
             list->m_records.push_back(std::make_unique<CGlaze>());
             list->CurrentRecord().name = ParamText(value);
             return 0;
         },
         0, 0, 0, 0},
        {"cone", 'i',
         [](CParamFileContext* ctx, const char*, const void* value) {
             auto* list = static_cast<CGlazes*>(ctx);
             if (list->NoCurrentRecord())
                 return -1;
             list->CurrentRecord().cone = ParamInt(value);
             return 0;
         },
         0, 0, 0, 0},
        {nullptr, 0, nullptr, 0, 0, 0, 0},
    };
    CGlazes glazes;
    EXPECT_TRUE(glazes.NoCurrentRecord());
    EXPECT_TRUE(glazes.NoCurrentItem());
    std::istringstream good("name = A\ncone = 6\nname = B\ncone = 10\n");
    EXPECT_EQ(ParseParameterFile(glazes.m_errorText, good, table, &glazes, 0), 0);
    ASSERT_EQ(glazes.m_records.size(), 2u);
    EXPECT_EQ(glazes.m_records[0]->cone, 6);
    EXPECT_EQ(glazes.CurrentRecord().name, "B");
    EXPECT_EQ(glazes.CurrentRecord().cone, 10);

    CGlazes orphan;
    std::istringstream bad("cone = 6\nname = A\n");
    EXPECT_EQ(ParseParameterFile(orphan.m_errorText, bad, table, &orphan, 0), -1);
    EXPECT_EQ(orphan.m_errorText, "Error: parameter 'cone', line 1");
    EXPECT_TRUE(orphan.m_records.empty());
}

TEST(ParamFileTest, ABareContextHasNoRecordsOrItems)
{
    CParamFileContext context;
    EXPECT_TRUE(context.NoCurrentRecord());
    EXPECT_TRUE(context.NoCurrentItem());
}

TEST(SplitParameterLineTest, SplitsAtTheFirstEqualsSign)
{
    auto split = [](std::string line, std::string& key, std::string& value) {
        line.push_back('\0');
        char* k = nullptr;
        char* v = nullptr;
        const int result = SplitParameterLine(line.data(), &k, &v);
        if (result == 0) {
            key = k;
            value = v;
        }
        return result;
    };
    std::string key, value;
    EXPECT_EQ(split("  key  =  value  ", key, value), 0);
    EXPECT_EQ(key, "key");
    EXPECT_EQ(value, "value  ");
    EXPECT_EQ(split("a=b=c", key, value), 0);
    EXPECT_EQ(key, "a");
    EXPECT_EQ(value, "b=c");
    EXPECT_EQ(split("two words = x", key, value), 0);
    EXPECT_EQ(key, "two words");
    EXPECT_EQ(split("k=", key, value), 0);
    EXPECT_EQ(key, "k");
    EXPECT_EQ(value, "");

    EXPECT_EQ(split("", key, value), 1);
    EXPECT_EQ(split(" \t ", key, value), 1);
    EXPECT_EQ(split("= value", key, value), 1);
    EXPECT_EQ(split("  =", key, value), 1);
    EXPECT_EQ(split("k", key, value), 1);
    EXPECT_EQ(split("  k", key, value), 1);
    EXPECT_EQ(split("abc", key, value), 1);
    EXPECT_EQ(SplitParameterLine(nullptr, nullptr, nullptr), 1);
}
