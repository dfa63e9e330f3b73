// Whole-process reads for the scripts bench/readspeed.sh and bench/glazepeak.sh:
//
//   oxidarium_read_bench write-keys RECORDS FILE   writes the key = value benchmark file
//   oxidarium_read_bench keys FILE [plain]         reads it with the key = value reader, exits
//                                                  (in pieces on several threads, as the program
//                                                  reads a database; plain: in one piece)
//   oxidarium_read_bench glazes FILE whole|plain   opens a glaze database as the program does
//                                                  (whole: the file at once, in pieces on several
//                                                  threads; plain: the one-piece stream read)
//                                                  and prints the glazes, the seconds the read
//                                                  took and the process's peak resident memory

#include "GeneratedDatabases.h"
#include "KeyValueReading.h"

#include "glazes/GlazeList.h"
#include "shell/AppContext.h"
#include "support/ParamFilePieces.h"

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

int Usage(const char* program)
{
    std::fprintf(stderr, "usage: %s write-keys RECORDS FILE | keys FILE [plain] | glazes FILE whole|plain\n", program);
    return 2;
}

bool NoHeaderKey(const char*)
{
    return false;
}

int ReadKeys(const char* path, bool inPieces)
{
    std::ifstream in(path, std::ios::in | std::ios::binary);
    CKeyValueBenchContext context;
    std::vector<std::unique_ptr<CKeyValueBenchContext>> pieces;
    const CParamPieceFormat format{g_keyValueBenchKeys, "name", NoHeaderKey};
    if (in.is_open() && inPieces && ReadParamFileInPieces(in, format, pieces)) {
        for (const auto& piece : pieces) {
            context.names += piece->names;
            context.sum += piece->sum;
            context.total += piece->total;
        }
    } else if (!in.is_open() || ParseParameterFile(context.m_errorText, in, g_keyValueBenchKeys, &context, 0) != 0) {
        std::fprintf(stderr, "%s: %s\n", path, context.m_errorText.c_str());
        return 1;
    }
    // What was read, so that nothing of it can be left out.
    std::printf("%lld %lld %.0f\n", context.names, context.sum, context.total);
    return 0;
}

int ReadGlazes(const char* path, bool whole)
{
    CAppContext context;
    std::ifstream in(path, std::ios::in | std::ios::binary);
    CGlazeList list;
    const auto start = std::chrono::steady_clock::now();
    const int result = in.is_open() ? (whole ? list.ReadFile(in) : list.Read(in)) : -1;
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
    if (result != 0) {
        std::fprintf(stderr, "%s: %s\n", path, list.m_errorText.c_str());
        return 1;
    }
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    std::printf("glazes %d read %.3f s peak %.1f MB\n", list.GetCount(), seconds.count(),
                static_cast<double>(usage.ru_maxrss) / 1024.0);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::strcmp(argv[1], "write-keys") == 0)
        return WriteGeneratedFile(argv[3], GeneratedKeyValueFile(std::atoi(argv[2]))) ? 0 : 1;
    if ((argc == 3 || (argc == 4 && std::strcmp(argv[3], "plain") == 0)) && std::strcmp(argv[1], "keys") == 0)
        return ReadKeys(argv[2], argc == 3);
    if (argc == 4 && std::strcmp(argv[1], "glazes") == 0 &&
        (std::strcmp(argv[3], "whole") == 0 || std::strcmp(argv[3], "plain") == 0))
        return ReadGlazes(argv[2], std::strcmp(argv[3], "whole") == 0);
    return Usage(argv[0]);
}
