#pragma once

// Interrupts a real save at its write, at a known place. The work runs in a child process that
// the test traces (ptrace), stopping it at every system call; each write call (write, pwrite,
// writev ...) into a file the test picks by its path is counted, and from the chosen one on the
// child is either killed (SIGKILL) as soon as that write returns, as a crash or a power cut
// would stop it, or the writes fail with an error (ENOSPC: a full disk) without writing. A plan
// may count another call instead (an extended attribute refused), and may show the child a file
// system that keeps no birth times (statx answers without them) or no inode generation numbers
// (their request is refused). The child leaves through _exit; its report comes back as text
// (core/support/ChildProcess.h).
//
// Tracing needs a system that lets a process trace its child; making calls fail or changing what
// they answer needs x86-64 (the registers and the answer are set by hand). Where either is
// missing the run says so and the test skips.

#include "core/support/ChildProcess.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <functional>
#include <string>

#include <linux/fs.h>
#include <sys/ptrace.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>
#if defined(__x86_64__)
#include <sys/user.h>
#endif

struct CWritePlan {
    enum class Action { Kill, Fail };
    Action action = Action::Kill;
    int from = 1;          // the first write (counted from 1) that is interrupted
    int count = INT_MAX;   // how many writes fail (Fail only)
    int error = ENOSPC;    // the error they fail with
    long call = -1;        // the system call counted instead of the write calls (SYS_fsetxattr ...)
    bool noBirthTimes = false;  // no file tells its birth time
    bool noGenerations = false; // no file tells its inode's generation number
};

struct CInterruptedRun {
    bool traced = false;      // false: the system would not let the test trace its child
    bool interrupted = false; // the planned write came
    int result = -1;          // what the work returned when the child ended by itself
    std::string report;
};

namespace write_interruption {

// The path the child's descriptor fd leads to ("" when it has none).
inline std::string DescriptorPath(pid_t child, unsigned long long fd)
{
    char link[64];
    std::snprintf(link, sizeof link, "/proc/%d/fd/%llu", static_cast<int>(child), fd);
    char target[PATH_MAX];
    const ssize_t n = ::readlink(link, target, sizeof target);
    return n > 0 ? std::string(target, static_cast<std::size_t>(n)) : std::string();
}

inline bool IsPlannedCall(const CWritePlan& plan, unsigned long long number)
{
    if (plan.call >= 0)
        return number == static_cast<unsigned long long>(plan.call);
    return number == SYS_write || number == SYS_pwrite64 || number == SYS_writev || number == SYS_pwritev ||
           number == SYS_pwritev2;
}

inline bool CanFailCalls()
{
#if defined(__x86_64__)
    return true;
#else
    return false;
#endif
}

// At the call's entry: no call is made. At its exit: it returned -error.
inline void SkipCall(pid_t child, bool atEntry, int error)
{
#if defined(__x86_64__)
    user_regs_struct regs {};
    if (::ptrace(PTRACE_GETREGS, child, nullptr, &regs) != 0)
        return;
    if (atEntry)
        regs.orig_rax = static_cast<unsigned long long>(-1);
    else
        regs.rax = static_cast<unsigned long long>(-static_cast<long long>(error));
    ::ptrace(PTRACE_SETREGS, child, nullptr, &regs);
#else
    (void)child;
    (void)atEntry;
    (void)error;
#endif
}

// Shows the child a file system that keeps no birth times or no generation numbers, as plan
// says: at the entry of a generation request it is skipped (and refused at its exit); at the exit
// of a statx the birth time is taken out of the answer's mask. buffer keeps the answer's address
// between.
inline void HideBirthTimes(pid_t child, const CWritePlan& plan, const __ptrace_syscall_info& info,
                           unsigned long long& buffer, bool& refused)
{
    if (info.op == PTRACE_SYSCALL_INFO_ENTRY) {
        refused = plan.noGenerations && info.entry.nr == SYS_ioctl && info.entry.args[1] == FS_IOC_GETVERSION;
        buffer = plan.noBirthTimes && info.entry.nr == SYS_statx ? info.entry.args[4] : 0;
        if (refused)
            SkipCall(child, true, ENOTTY);
        return;
    }
    if (info.op != PTRACE_SYSCALL_INFO_EXIT)
        return;
    if (refused)
        SkipCall(child, false, ENOTTY);
    if (buffer != 0 && info.exit.rval == 0) {
        // stx_mask is the first field: the low half of the word read (x86-64 is little-endian).
        errno = 0;
        const long word = ::ptrace(PTRACE_PEEKDATA, child, buffer, nullptr);
        if (errno == 0)
            ::ptrace(PTRACE_POKEDATA, child, buffer, word & ~static_cast<long>(STATX_BTIME));
    }
    refused = false;
    buffer = 0;
}

} // namespace write_interruption

// Runs work in a traced child and interrupts its writes into the files watched picks (by the
// path of the descriptor written to) as plan says.
inline CInterruptedRun RunInterruptingWrites(const std::function<bool(const std::string& path)>& watched,
                                             const CWritePlan& plan,
                                             const std::function<int(std::string& report)>& work)
{
    using namespace write_interruption;
    CInterruptedRun run;
    if ((plan.action == CWritePlan::Action::Fail || plan.noBirthTimes || plan.noGenerations) && !CanFailCalls())
        return run;
    int channel[2];
    if (::pipe(channel) != 0)
        return run;
    const pid_t child = ::fork();
    if (child < 0)
        return run;
    if (child == 0) {
        ::close(channel[0]);
        if (::ptrace(PTRACE_TRACEME, 0, nullptr, nullptr) != 0)
            ::_exit(255);
        ::raise(SIGSTOP);
        RunChildWork(channel[1], work);
    }
    ::close(channel[1]);
    int status = 0;
    run.traced = ::waitpid(child, &status, 0) == child && WIFSTOPPED(status) &&
                 ::ptrace(PTRACE_SETOPTIONS, child, nullptr, PTRACE_O_TRACESYSGOOD | PTRACE_O_EXITKILL) == 0;
    int writes = 0;
    bool inWatchedWrite = false;
    bool failing = false;
    int signal = 0;
    unsigned long long statxBuffer = 0;
    bool refusedCall = false;
    while (run.traced && ::ptrace(PTRACE_SYSCALL, child, nullptr, signal) == 0 &&
           ::waitpid(child, &status, 0) == child && WIFSTOPPED(status)) {
        signal = 0;
        if (WSTOPSIG(status) != (SIGTRAP | 0x80)) {
            signal = WSTOPSIG(status); // the child's own signal goes on to it
            continue;
        }
        __ptrace_syscall_info info {};
        if (::ptrace(PTRACE_GET_SYSCALL_INFO, child, sizeof info, &info) <= 0)
            continue;
        if (plan.noBirthTimes || plan.noGenerations)
            HideBirthTimes(child, plan, info, statxBuffer, refusedCall);
        if (info.op == PTRACE_SYSCALL_INFO_ENTRY) {
            inWatchedWrite = IsPlannedCall(plan, info.entry.nr) && watched(DescriptorPath(child, info.entry.args[0]));
            if (inWatchedWrite)
                ++writes;
            failing = inWatchedWrite && plan.action == CWritePlan::Action::Fail && writes >= plan.from &&
                      writes - plan.from < plan.count;
            if (failing)
                SkipCall(child, true, plan.error);
            continue;
        }
        if (info.op != PTRACE_SYSCALL_INFO_EXIT || !inWatchedWrite || writes < plan.from)
            continue;
        run.interrupted = true;
        if (failing)
            SkipCall(child, false, plan.error);
        if (plan.action == CWritePlan::Action::Kill) {
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
            break;
        }
    }
    run.report = ReadChildReport(channel[0]);
    if (WIFEXITED(status)) {
        run.traced = run.traced || WEXITSTATUS(status) != 255;
        run.result = WEXITSTATUS(status) == 255 ? -1 : WEXITSTATUS(status);
    }
    return run;
}
