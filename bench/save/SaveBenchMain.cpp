// Whole-process saves for bench/savepeak.sh:
//
//   oxidarium_save_bench FILE ordinary|inplace
//
// opens the glaze database FILE as the program does, then saves it over itself through the safe
// save: "ordinary" as a lone file (a new file renamed over it), "inplace" with a second name (a
// hard link beside it, removed afterwards), which is written in place. Prints the glazes, the
// file's bytes, the resident memory before the save, the peak resident memory during the save
// (the peak is reset just before it) and the seconds the save took. The kept copies go to the
// user's data directory: point XDG_DATA_HOME at a scratch folder.

#include "glazes/GlazeList.h"
#include "shell/AppContext.h"
#include "support/SafeFile.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include <unistd.h>

namespace {

// A field of /proc/self/status in MB ("VmRSS", "VmHWM"); -1 when it cannot be read.
double StatusMegabytes(const char* field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string prefix = std::string(field) + ":";
    while (std::getline(status, line)) {
        if (line.compare(0, prefix.size(), prefix) == 0)
            return std::strtod(line.c_str() + prefix.size(), nullptr) / 1024.0;
    }
    return -1.0;
}

// Starts the peak resident memory afresh from what the process holds now.
bool ResetPeak()
{
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
    return static_cast<bool>(clear.flush());
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3 || (std::strcmp(argv[2], "ordinary") != 0 && std::strcmp(argv[2], "inplace") != 0)) {
        std::fprintf(stderr, "usage: %s FILE ordinary|inplace\n", argv[0]);
        return 2;
    }
    const std::string path = argv[1];
    const bool inPlace = std::strcmp(argv[2], "inplace") == 0;
    CAppContext context;
    CGlazeList list;
    {
        std::ifstream in(path, std::ios::in | std::ios::binary);
        if (!in.is_open() || list.ReadFile(in) != 0) {
            std::fprintf(stderr, "%s: %s\n", path.c_str(), list.m_errorText.c_str());
            return 1;
        }
    }
    const std::string link = path + ".second-name";
    if (inPlace && ::link(path.c_str(), link.c_str()) != 0) {
        std::perror(link.c_str());
        return 1;
    }
    const double before = StatusMegabytes("VmRSS");
    if (!ResetPeak())
        std::fprintf(stderr, "the peak cannot be reset: it includes the read\n");
    const auto start = std::chrono::steady_clock::now();
    std::string reason;
    const SafeSaveResult result =
        WriteFileSafely(path, [&list](std::ostream& out) { return list.Write(out) == 0; }, &reason);
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
    const double peak = StatusMegabytes("VmHWM");
    if (inPlace)
        ::unlink(link.c_str());
    if (result != SafeSaveResult::Ok) {
        std::fprintf(stderr, "%s\n", SaveFailureMessage(path, result, reason).c_str());
        return 1;
    }
    std::ifstream saved(path, std::ios::binary | std::ios::ate);
    std::printf("glazes %d bytes %lld before %.1f MB peak %.1f MB save %.3f s\n", list.GetCount(),
                static_cast<long long>(saved.tellg()), before, peak, seconds.count());
    return 0;
}
