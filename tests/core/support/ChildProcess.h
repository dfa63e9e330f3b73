#pragma once

// Runs a piece of a test in a child process of its own: what may only happen once, or must not
// touch the test program (a changed user, a memory limit, a kill). The child runs no Qt and
// leaves through _exit, so no test teardown, no exit handler and no leak check runs in it; what
// it has to tell comes back through a pipe as text.

#include <functional>
#include <string>

#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

// The child's half: runs work and sends its report down the pipe, then ends with work's result.
[[noreturn]] inline void RunChildWork(int channel, const std::function<int(std::string& report)>& work)
{
    std::string text;
    const int result = work(text);
    for (std::size_t done = 0; done < text.size();) {
        const ssize_t n = ::write(channel, text.data() + done, text.size() - done);
        if (n <= 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    ::_exit(result < 0 ? 255 : result);
}

// The parent's half: everything the child sent, once it closed its end.
inline std::string ReadChildReport(int channel)
{
    std::string report;
    char block[4096];
    for (ssize_t n; (n = ::read(channel, block, sizeof block)) > 0;)
        report.append(block, static_cast<std::size_t>(n));
    ::close(channel);
    return report;
}

// Runs work in a child, after prepare (false: the child gives up before work). Gives what work
// returned (0 to 254), or -1 when the child gave up or did not end normally; report receives
// what work wrote into the string it is handed.
inline int RunInChildProcess(const std::function<int(std::string& report)>& work, std::string& report,
                             const std::function<bool()>& prepare = nullptr)
{
    int channel[2];
    if (::pipe(channel) != 0)
        return -1;
    const pid_t child = ::fork();
    if (child < 0)
        return -1;
    if (child == 0) {
        ::close(channel[0]);
        if (prepare && !prepare())
            ::_exit(255);
        RunChildWork(channel[1], work);
    }
    ::close(channel[1]);
    report = ReadChildReport(channel[0]);
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) == 255)
        return -1;
    return WEXITSTATUS(status);
}
