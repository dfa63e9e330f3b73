// The preferences file ("prefs.dat") through the program's own load: the key handlers, the range
// and list validation and the fall-back to defaults. A file the load accepts must save to a file
// that loads again and saves to the same bytes; a file it refuses leaves every setting at its
// default.

#include "FuzzFiles.h"
#include "materials/ChemistryListChecks.h"
#include "shell/AppContext.h"
#include "shell/Preferences.h"
#include "support/Profile.h"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

namespace {

std::string Written(const CPreferences& prefs)
{
    return ReadFuzzFile(prefs.m_strFilePath);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static CAppContext context;
    static CProfile profile(FuzzDirectory() + "/Oxidarium.ini");
    static const bool installed = (SetProfile(&profile), true);
    (void)installed;
    const std::string path = WriteFuzzFile("prefs.dat", data, size);
    profile.WriteString("Preferences", "PrefFileName", path);

    CPreferences prefs;
    if (prefs.Load(CChemistryListChecks()) != 0) {
        CPreferences defaults;
        defaults.SetDefaults();
        FuzzCheck(prefs.Validate(CChemistryListChecks()) == 0);
        FuzzCheck(prefs.mattyp == defaults.mattyp && prefs.prtfont == defaults.prtfont);
        return 0;
    }
    FuzzCheck(prefs.Validate(CChemistryListChecks()) == 0);
    FuzzCheck(prefs.Save() == 0);
    const std::string first = Written(prefs);
    CPreferences again;
    FuzzCheck(again.Load(CChemistryListChecks()) == 0);
    FuzzCheck(again.Save() == 0);
    FuzzCheck(Written(again) == first);
    return 0;
}
