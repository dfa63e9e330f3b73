#pragma once

// Check Material: one material, as an edit form holds it, checked against the materials
// database. Every problem is reported in its own message box: names and codes that another
// material also uses, a mapping that does not lead to another material, a formula that does not
// parse or holds unexpected elements. A percentage formula whose sum is not 100 is offered a
// repair (the remainder as LOI, or normalising), which changes only the formula text given. Cancel
// in any box that offers it ends the check at once; otherwise a closing box gives the count.

#include <string>
#include <vector>

class CMaterial;
class CMaterialArray;

// Help contexts of the check's boxes.
inline constexpr unsigned kCheckDuplicateHelpId = 0x30250;
inline constexpr unsigned kCheckMappingHelpId = 0x30251;
inline constexpr unsigned kCheckInvalidFormulaHelpId = 0x30252;
inline constexpr unsigned kCheckUnexpectedHelpId = 0x30253;
inline constexpr unsigned kCheckAddLoiHelpId = 0x30254;
inline constexpr unsigned kCheckNormalizeAfterNoHelpId = 0x30255;
inline constexpr unsigned kCheckMolePercentHelpId = 0x30256;
inline constexpr unsigned kCheckOver100HelpId = 0x30257;
inline constexpr unsigned kCheckTotalHelpId = 0x30258;
inline constexpr unsigned kCheckOkayHelpId = 0x30259;

struct CMaterialCheckFields {
    std::vector<std::string> keys; // name, code, other names and their codes (empty ones skipped)
    std::string mapping;
    std::string formula;           // repaired in place when the user agrees
};

struct CMaterialCheckResult {
    bool cancelled = false;
    int problems = 0;
    bool formulaRepaired = false;
};

// currentIndex is the record the form edits (skipped in the duplicate search, -1 for none);
// ownRecord is that record (a mapping that leads back to it is reported).
CMaterialCheckResult CheckMaterialFields(CMaterialArray& materials, int currentIndex, const CMaterial* ownRecord,
                                         CMaterialCheckFields& fields);
