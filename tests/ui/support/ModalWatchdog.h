#pragma once

// A widget test never waits for good on a modal window it did not expect (a dialog or message box
// that a fault opened, or one its driver left open). The test program starts the watchdog once:
// while any event loop turns it looks at the active modal window, and one that stands longer than
// the limit while no driver is at work fails the running test, naming the window's class and
// title, and is rejected (then hidden) so that the test goes on to its end.
//
// A driver (WhenDialogShows) holds a CModalDriverToken from the moment it is scheduled until it
// has run or given up: a driver that takes its time inside its dialog is no unexpected window.

#include <memory>

// The limit in seconds: OXI_MODAL_WATCHDOG_SECONDS when set (a test of the watchdog itself runs
// it short), else kModalWatchdogSeconds.
inline constexpr int kModalWatchdogSeconds = 10;
void StartModalWatchdog();

class CModalDriverToken {
public:
    CModalDriverToken();
    ~CModalDriverToken();
    CModalDriverToken(const CModalDriverToken&) = delete;
    CModalDriverToken& operator=(const CModalDriverToken&) = delete;

    // A token to keep in the driver's callbacks, shared by their copies.
    static std::shared_ptr<CModalDriverToken> Make() { return std::make_shared<CModalDriverToken>(); }
};
