#include "support/DbFileInfo.h"

#include "support/InputFile.h"
#include "support/MessagePath.h"
#include "support/Services.h"

#include <filesystem>
#include <system_error>

namespace {

CDbFileInfo& Probe(CParamFileContext* context)
{
    return *static_cast<CDbFileInfo*>(context);
}

int OnFileType(CParamFileContext* context, const char*, const void* value)
{
    Probe(context).MapFileTypeName(ParamText(value));
    return 0;
}

int OnVersion(CParamFileContext* context, const char*, const void* value)
{
    Probe(context).m_version = ParamInt(value);
    return 0;
}

int OnDbName(CParamFileContext* context, const char*, const void* value)
{
    Probe(context).m_dbname = ParamText(value);
    return 0;
}

int OnInfoLine(CParamFileContext* context, const char*, const void* value)
{
    Probe(context).m_infoLines.push_back(InfoLineFromValue(ParamText(value)));
    return 0;
}

ParamDesc s_headerKeys[] = {
    {"filetype", 's', OnFileType, PF_REQUIRED | PF_ONCE, 0, 0, 0},
    {"version", 'i', OnVersion, PF_REQUIRED | PF_ONCE | PF_MIN_INCL | PF_MAX_INCL, 1, 2, 0},
    {"dbname", 's', OnDbName, 0, 0, 0, 0},
    {"I", 's', OnInfoLine, 0, 0, 0, 0},
    {nullptr, 0, DbHeaderDefaultHandler, 0, 0, 0, 0},
};

bool HasTextExtension(std::string_view path)
{
    if (path.size() < 4)
        return false;
    const std::string_view tail = path.substr(path.size() - 4);
    static constexpr std::string_view kExtension = ".txt";
    for (std::size_t i = 0; i < 4; ++i) {
        const char c = tail[i];
        const char lower = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        if (lower != kExtension[i])
            return false;
    }
    return true;
}

std::string FileNameOf(const std::string& path)
{
    std::error_code error;
    std::filesystem::path full = std::filesystem::absolute(path, error);
    if (error)
        full = path;
    return full.filename().string();
}

} // namespace

int DbHeaderDefaultHandler(CParamFileContext*, const char*, const void*)
{
    return 0;
}

std::string InfoLineFromValue(std::string_view value)
{
    if (!value.empty() && value.front() == '|')
        value.remove_prefix(1);
    return std::string(value);
}

CDbFileInfo::CDbFileInfo(std::string path, bool quick)
    : m_path(std::move(path))
{
    CInputFile in;
    if (!in.Open(m_path)) {
        m_result = 1;
        m_errorMessage = MessagePath(m_path) + ": " + (in.NotRegular() ? in.OpenFailureWords() : "unable to open");
        return;
    }
    if (HasTextExtension(m_path)) {
        MapFileTypeName(DbFileTypeText(DbFileType::TextFile));
        m_dbname = FileNameOf(m_path);
        m_result = 0;
        return;
    }
    CBusyScope busy;
    m_result = ReadHeader(in, quick);
    if (m_result != 0)
        m_errorMessage = MessagePath(m_path) + ": " + m_errorText;
}

int CDbFileInfo::ReadHeader(std::istream& in, bool quick)
{
    m_dbname.clear();
    m_infoLines.clear();
    m_filetype.clear();
    m_type = DbFileType::Unknown;
    m_version = 0;
    return ParseParameterFile(m_errorText, in, s_headerKeys, this, quick ? kDbHeaderQuickLineLimit : 0);
}

void CDbFileInfo::MapFileTypeName(std::string_view text)
{
    m_filetype.assign(text);
    m_type = DbFileTypeFromText(text);
}
