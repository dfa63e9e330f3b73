#pragma once

// A report written line by line into the Information window: the window is emptied and kept
// minimised while the lines arrive (so it does not repaint for each one), then shown again.

#include <string>

class CFrameHost;

class CInformationReport {
public:
    // Empties the Information window (made first when needed) and minimises its frame.
    CInformationReport();
    // Shows the frame again unless Finish already did.
    ~CInformationReport();
    CInformationReport(const CInformationReport&) = delete;
    CInformationReport& operator=(const CInformationReport&) = delete;

    // Appends one line.
    void Line(const std::string& text);
    // Shows the frame normally again, the caret at the start of the report.
    void Finish();

private:
    CFrameHost* Frame() const;

    bool m_finished = false;
};
