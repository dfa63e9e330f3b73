#pragma once

// A widget test never waits for good on a modal window it did not expect (a dialog or message box
// that a fault opened, or one its driver left open). The test program starts the watchdog once:
// while any event loop turns it looks at the active modal window, and one under which the
// program has waited longer than the limit while no driver is at work fails the running test,
// naming the window's class and title, and is rejected (then hidden) so that the test goes on to
// its end.
//
// Waiting is measured by SleptMs: a window that nobody answers leaves the program asleep in its
// event loop, while long work under a progress dialog, or a busy machine that shares its cores
// out, keeps it at work or waiting its turn, which does not count. So no load on the machine
// makes a window that is being answered look like one that is not.
//
// A driver (WhenDialogShows) holds a CModalDriverToken from the moment it is scheduled until it
// has run or given up: a driver that takes its time inside its dialog is no unexpected window.

#include <memory>

// The limit in seconds: OXI_MODAL_WATCHDOG_SECONDS when set (a test of the watchdog itself runs
// it short), else kModalWatchdogSeconds.
inline constexpr int kModalWatchdogSeconds = 10;
void StartModalWatchdog();

// How long the calling thread (the program's) has slept so far, in milliseconds: blocked in an
// event loop with nothing to do, or on a lock or the disk. Time it ran, or was ready to run while
// the machine's cores ran others, is left out. Only differences mean anything. Where the system
// keeps no scheduler statistics for the thread, the time on the clock.
double SleptMs();

class CModalDriverToken {
public:
    CModalDriverToken();
    ~CModalDriverToken();
    CModalDriverToken(const CModalDriverToken&) = delete;
    CModalDriverToken& operator=(const CModalDriverToken&) = delete;

    // A token to keep in the driver's callbacks, shared by their copies.
    static std::shared_ptr<CModalDriverToken> Make() { return std::make_shared<CModalDriverToken>(); }
};
