#pragma once

// The application context: the one owner of the program-wide objects that the rest of the code
// reaches by their global names (`g_savedPrefs`, `g_prefs`, ...).
//
// Why: those objects hold strings and lists, so as ordinary namespace-scope objects they would be
// built by dynamic initialisation in an order no one controls, and destroyed at exit after parts
// of the program that still use them. Instead each global name is a reference, bound at compile
// time (constinit) to reserved storage; the context constructs the objects in that storage in one
// fixed order and destroys them in the reverse order. So `g_prefs.decrecipe` reads as it always
// would, and the lifetime is explicit:
//
//     int main() { CAppContext context; ... }       // the program
//     TEST(...)  { CAppContext context; ... }       // every test gets fresh objects
//
// The globals may be used only while a context exists. Only one context owns them at a time: a
// context created while another one owns them owns nothing and leaves them alone.
//
// Adding a global: reserve its storage and bind its name in AppContext.cpp, and add one entry to
// the ordered table there; construction follows the table, destruction runs backwards.

class CAppContext {
public:
    // Creates every global object in order: the stored preferences first, then the working
    // preferences (both with their defaults), then the empty in-program clipboards.
    CAppContext();
    // Destroys the objects this context created, in the reverse order.
    ~CAppContext();

    CAppContext(const CAppContext&) = delete;
    CAppContext& operator=(const CAppContext&) = delete;

    // True when this context created the globals (false for a context made while another one
    // already owned them).
    bool OwnsGlobals() const { return m_ownsGlobals; }

    // True while some context owns the globals.
    static bool IsActive();

    // Called with the global's name after each object is constructed (created true) and before
    // each is destroyed (created false). Lets a caller see the order; null for none.
    using LifecycleObserver = void (*)(const char* name, bool created);
    static void SetLifecycleObserver(LifecycleObserver observer);

private:
    bool m_ownsGlobals = false;
};
