#include "shell/AppContext.h"

#include "glazes/GlazeClipboard.h"
#include "graphs/GraphTemplateClipboard.h"
#include "limits/LimitFormulaClipboard.h"
#include "materials/MaterialClipboard.h"
#include "shell/Clipboards.h"
#include "substitutions/SubstitutionList.h"
#include "shell/Preferences.h"

#include <cstddef>
#include <memory>

namespace {

// Storage for one global object. Constant-initialised (nothing runs before main); the object
// itself exists only between Create and Destroy.
template <class T>
class CGlobalSlot {
public:
    constexpr CGlobalSlot() noexcept : m_none() {}
    // The context destroys the object; nothing is left to do at program exit.
    ~CGlobalSlot() {}
    CGlobalSlot(const CGlobalSlot&) = delete;
    CGlobalSlot& operator=(const CGlobalSlot&) = delete;

    constexpr T& Object() noexcept { return m_object; }

    void Create()
    {
        std::construct_at(&m_object);
        m_alive = true;
    }
    void Destroy() noexcept
    {
        if (m_alive) {
            m_alive = false;
            std::destroy_at(&m_object);
        }
    }

private:
    union {
        char m_none;
        T m_object;
    };
    bool m_alive = false;
};

constinit CGlobalSlot<CPreferences> s_savedPrefs;
constinit CGlobalSlot<CPreferences> s_prefs;
constinit CGlobalSlot<CMaterialArray> s_materialClipboard;
constinit CGlobalSlot<CSubstitutionList> s_substitutionClipboard;
constinit CGlobalSlot<CGlazeList> s_glazeClipboard;
constinit CGlobalSlot<CLimitFormulaDB> s_limitFormulaClipboard;
constinit CGlobalSlot<CGraphTemplateDatabase> s_graphTemplateClipboard;

// One global: its name and how to make and unmake it.
struct SGlobalEntry {
    const char* name;
    void (*create)();
    void (*destroy)() noexcept;
};

// Construction order; destruction runs backwards. The stored preferences come first because
// start-up loads them and then copies them into the working preferences. The in-program
// clipboards follow, so that the records they hold go before the preferences.
constexpr SGlobalEntry kGlobals[] = {
    {"g_savedPrefs", [] { s_savedPrefs.Create(); }, []() noexcept { s_savedPrefs.Destroy(); }},
    {"g_prefs", [] { s_prefs.Create(); }, []() noexcept { s_prefs.Destroy(); }},
    {"g_materialClipboard", [] { s_materialClipboard.Create(); },
     []() noexcept { s_materialClipboard.Destroy(); }},
    {"g_substitutionClipboard", [] { s_substitutionClipboard.Create(); },
     []() noexcept { s_substitutionClipboard.Destroy(); }},
    {"g_glazeClipboard", [] { s_glazeClipboard.Create(); }, []() noexcept { s_glazeClipboard.Destroy(); }},
    {"g_limitFormulaClipboard", [] { s_limitFormulaClipboard.Create(); },
     []() noexcept { s_limitFormulaClipboard.Destroy(); }},
    {"g_graphTemplateClipboard", [] { s_graphTemplateClipboard.Create(); },
     []() noexcept { s_graphTemplateClipboard.Destroy(); }},
};
constexpr std::size_t kGlobalCount = sizeof(kGlobals) / sizeof(kGlobals[0]);

bool s_active = false;
CAppContext::LifecycleObserver s_observer = nullptr;

void Notify(const char* name, bool created)
{
    if (s_observer != nullptr) {
        s_observer(name, created);
    }
}

// Destroys the first `count` globals of the table, last first.
void DestroyGlobals(std::size_t count) noexcept
{
    while (count > 0) {
        --count;
        Notify(kGlobals[count].name, false);
        kGlobals[count].destroy();
    }
}

} // namespace

constinit CPreferences& g_savedPrefs = s_savedPrefs.Object();
constinit CPreferences& g_prefs = s_prefs.Object();
constinit CMaterialArray& g_materialClipboard = s_materialClipboard.Object();
constinit CSubstitutionList& g_substitutionClipboard = s_substitutionClipboard.Object();
constinit CGlazeList& g_glazeClipboard = s_glazeClipboard.Object();
constinit CLimitFormulaDB& g_limitFormulaClipboard = s_limitFormulaClipboard.Object();
constinit CGraphTemplateDatabase& g_graphTemplateClipboard = s_graphTemplateClipboard.Object();

CAppContext::CAppContext()
{
    if (s_active) {
        return;
    }
    std::size_t created = 0;
    try {
        while (created < kGlobalCount) {
            kGlobals[created].create();
            ++created;
            Notify(kGlobals[created - 1].name, true);
        }
    } catch (...) {
        // Out of memory while starting: leave nothing half made behind.
        DestroyGlobals(created);
        throw;
    }
    s_active = true;
    m_ownsGlobals = true;
}

CAppContext::~CAppContext()
{
    if (!m_ownsGlobals) {
        return;
    }
    DestroyGlobals(kGlobalCount);
    s_active = false;
}

bool CAppContext::IsActive()
{
    return s_active;
}

void CAppContext::SetLifecycleObserver(LifecycleObserver observer)
{
    s_observer = observer;
}
