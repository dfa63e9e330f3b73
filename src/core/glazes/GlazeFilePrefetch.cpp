#include "glazes/GlazeFilePrefetch.h"

#include "glazes/GlazeList.h"
#include "support/FileStamp.h"
#include "support/InputFile.h"

namespace {

CGlazeFilePrefetch* s_active = nullptr;

} // namespace

struct CGlazeFilePrefetch::Read {
    std::string path;
    CFileStamp stamp; // what identifies the file's contents as read
    CGlazeList list;
    int result = 0;
    bool done = false; // read through (whatever its result)
};

CGlazeFilePrefetch::CGlazeFilePrefetch(std::vector<std::string> paths)
{
    for (std::string& path : paths) {
        auto read = std::make_unique<Read>();
        read->path = std::move(path);
        m_reads.push_back(std::move(read));
    }
    s_active = this;
    try {
        m_thread = std::thread([this] { ReadAll(); });
    } catch (...) {
        // Without a thread every document reads its own file.
        m_reads.clear();
    }
}

CGlazeFilePrefetch::~CGlazeFilePrefetch()
{
    Wait();
    if (s_active == this)
        s_active = nullptr;
}

void CGlazeFilePrefetch::ReadAll()
{
    for (auto& read : m_reads) {
        try {
            CInputFile in;
            if (!in.Open(read->path))
                continue; // the document reads it again and says why it cannot
            read->result = read->list.ReadFile(in);
            read->stamp = in.Stamp();
            read->done = CFileStamp::Of(read->path) == read->stamp;
        } catch (...) {
            read->done = false; // the document reads the file itself
        }
    }
}

void CGlazeFilePrefetch::Wait()
{
    if (m_thread.joinable())
        m_thread.join();
}

bool CGlazeFilePrefetch::Take(const std::string& path, CGlazeList& list, int& result)
{
    CGlazeFilePrefetch* prefetch = s_active;
    if (!prefetch)
        return false;
    prefetch->Wait();
    for (auto& read : prefetch->m_reads) {
        if (!read->done || read->path != path || CFileStamp::Of(path) != read->stamp)
            continue;
        read->done = false;
        list.m_glazes = std::move(read->list.m_glazes);
        list.m_name = std::move(read->list.m_name);
        list.m_infoLines = std::move(read->list.m_infoLines);
        list.m_version = read->list.m_version;
        list.m_errorText = std::move(read->list.m_errorText);
        list.m_readNotes = std::move(read->list.m_readNotes);
        result = read->result;
        return true;
    }
    return false;
}
