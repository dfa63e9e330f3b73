#pragma once

// Runs a piece of a test as an ordinary user, whoever runs the tests: in a child process
// (core/support/ChildProcess.h) that, when the tests run as the superuser, becomes nobody (65534)
// first. What the superuser may do anyway (write in any folder) is then refused as it is for a
// user.

#include "core/support/ChildProcess.h"

#include <functional>
#include <string>

#include <grp.h>
#include <sys/prctl.h>
#include <sys/types.h>
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

// Runs work in the child and gives its result (what work returned, 0 to 254), or -1 when the
// child could not become the ordinary user or did not end normally. report receives what work
// wrote into the string it is handed.
inline int RunAsOrdinaryUser(const std::function<int(std::string& report)>& work, std::string& report)
{
    return RunInChildProcess(work, report, [] {
        if (::geteuid() != 0)
            return true;
        if (::setgroups(0, nullptr) != 0 || ::setgid(OrdinaryGroupId()) != 0 || ::setuid(OrdinaryUserId()) != 0)
            return false;
        // A changed user makes the process undumpable, which hides /proc/self from it (the
        // address sanitizer reads it).
        ::prctl(PR_SET_DUMPABLE, 1);
        return true;
    });
}
