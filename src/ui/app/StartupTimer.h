#pragma once

// The program's own start-up measurement (the --startup-time switch): the time from the launch
// of the process until the main window has been painted for the first time, with every window
// start-up opened filled. The timer then reports it and ends the event loop, so a script can run
// the program over and over on large databases.

#include <QObject>

#include <functional>

class QWidget;

class CStartupTimer : public QObject {
public:
    // Seconds since the process was started: on Linux from the start time the kernel keeps
    // (/proc/self/stat, in steps of its clock tick, usually 1/100 s); elsewhere since the first
    // call.
    static double SecondsSinceLaunch();

    // Watches window: after its first paint (at once when it is hidden or minimised) report gets
    // the seconds since launch and the event loop is asked to quit.
    CStartupTimer(QWidget* window, std::function<void(double)> report);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Finish();

    QWidget* m_window;
    std::function<void(double)> m_report;
    bool m_done = false;
};
