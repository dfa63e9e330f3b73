#pragma once

// Commands and their menu state.
//
// A command is a number. The Qt layer routes it along a chain of command targets (the active
// view, its document, its frame, the main frame, the application): the first target whose
// OnCommand returns true has handled it. Before a menu shows, or whenever the state may have
// changed, the same chain is asked for the command's state through OnUpdateCommand; a command
// whose update handler disables it is never carried out.
//
// Every target answers OnUpdateCommand (true) for each command it handles, if only to leave it
// enabled: a command that no target answers for is disabled.

#include <optional>
#include <string>

class CCmdUI {
public:
    explicit CCmdUI(unsigned id) : m_nID(id) {}

    void Enable(bool enable = true) { m_bEnabled = enable; }
    void SetCheck(int check = 1) { m_nCheck = check; }
    void SetText(const std::string& text) { m_text = text; }

    unsigned m_nID;
    bool m_bEnabled = true;
    int m_nCheck = 0;                  // 0 clear, 1 checked
    std::optional<std::string> m_text; // a new menu text, when the handler gives one
};

class CCmdTarget {
public:
    virtual ~CCmdTarget() = default;
    // Carries out the command; false when this target does not handle it.
    virtual bool OnCommand(unsigned /*id*/) { return false; }
    // Sets the command's state; false when this target does not handle the command.
    virtual bool OnUpdateCommand(CCmdUI& /*ui*/) { return false; }
};
