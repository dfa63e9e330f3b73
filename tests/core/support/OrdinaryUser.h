#pragma once

// Runs a piece of a test as an ordinary user, whoever runs the tests: in a child process that,
// when the tests run as the superuser, becomes nobody (65534) first. What the superuser may do
// anyway (write in any folder) is then refused as it is for a user. The child runs no Qt and
// leaves through _exit, so no test teardown, no exit handler and no leak check runs in it.

#include <functional>
#include <string>

#include <grp.h>
#include <sys/prctl.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

// The user the child runs as: nobody for the superuser, else the user running the tests.
inline uid_t OrdinaryUserId()
{
    return ::geteuid() == 0 ? 65534 : ::geteuid();
}

inline gid_t OrdinaryGroupId()
{
    return ::geteuid() == 0 ? 65534 : ::getegid();
}

// Runs work in the child and gives its result (what work returned, 0 to 255), or -1 when the
// child could not become the ordinary user or did not end normally. report receives what
// work wrote into the string it is handed.
inline int RunAsOrdinaryUser(const std::function<int(std::string& report)>& work, std::string& report)
{
    int channel[2];
    if (::pipe(channel) != 0)
        return -1;
    const pid_t child = ::fork();
    if (child < 0)
        return -1;
    if (child == 0) {
        ::close(channel[0]);
        int result = -1;
        if (::geteuid() != 0 ||
            (::setgroups(0, nullptr) == 0 && ::setgid(OrdinaryGroupId()) == 0 && ::setuid(OrdinaryUserId()) == 0)) {
            // A changed user makes the process undumpable, which hides /proc/self from it (the
            // address sanitizer reads it).
            ::prctl(PR_SET_DUMPABLE, 1);
            std::string text;
            result = work(text);
            for (std::size_t done = 0; done < text.size();) {
                const ssize_t n = ::write(channel[1], text.data() + done, text.size() - done);
                if (n <= 0)
                    break;
                done += static_cast<std::size_t>(n);
            }
        }
        ::_exit(result < 0 ? 255 : result);
    }
    ::close(channel[1]);
    report.clear();
    char block[4096];
    for (ssize_t n; (n = ::read(channel[0], block, sizeof block)) > 0;)
        report.append(block, static_cast<std::size_t>(n));
    ::close(channel[0]);
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) == 255)
        return -1;
    return WEXITSTATUS(status);
}
