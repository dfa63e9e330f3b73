// The built-in element table `g_defaultElements`: 104 constant rows in z order,
// exactly as the reference table gives them, with one mend:
//
// - Ce (58): the reference table prints the oxide "CeO2" (ncat 1, nan 2) with the molecular weight 156.1194,
//   which is the weight of CeO. Every other row obeys the table's own rule
//   oxideMW = ncat x atomic weight + nan x 15.9994, so the row stores 172.1188
//   (140.12 + 2 x 15.9994) and the tests check the rule on every row.
//
// Texts are taken as they stand ("Aluminum", "Cesium", "Protoactinium", symbol "Lw" for 103).
// z 0 stands for sodium and potassium together; its text is "KNaO" although its counts (2, 1)
// would build "KNa2O" (the weight 78.0875 follows the counts).
//
// Reduction fields, where a row leaves them out: no different oxide, ncatred 1, nanred 0,
// oxideRed equal to the symbol, weight 0, rolered alkali (0x10). Ne (10) and Na (11) have an
// empty oxideRed; Fe (26) forms FeO in reduction.

#include "elements/ElementRecord.h"

#include <array>

// clang-format off
constinit const SDefaultElementRow g_defaultElements[kElementCount] = {
    // {z, symbol, name, weight, oxide, ncat, nan, oxideMW, priority, role letters, expansion, unusual,
    //  viscosity, stension, hazards[, difoxinred, ncatred, nanred, oxideRed, oxideRedMW, rolered]}
    {0,   "KNa", "Sodium/Potassium",  31.04405, "KNaO",  2, 1,   78.0875, 1, "1",  -999.0, 0, 0.0, -999.0, 0},
    {1,   "H",   "Hydrogen",           1.00794, "H2O",   2, 1,  18.01528, 3, "v",  -999.0, 0, 0.0, -999.0, 0},
    {2,   "He",  "Helium",              4.0026, "He",    1, 0,    4.0026, 3, "x",  -999.0, 0, 0.0, -999.0, 0},
    {3,   "Li",  "Lithium",              6.941, "Li2O",  2, 1,   29.8814, 3, "1",    0.67, 1, 3.0,    4.6, 0},
    {4,   "Be",  "Beryllium",          9.01218, "BeO",   1, 1,  25.01158, 3, "1",  -999.0, 0, 0.0, -999.0, 0},
    {5,   "B",   "Boron",               10.811, "B2O3",  2, 3,   69.6202, 2, "2",    0.31, 1, 3.0,    0.8, 0},
    {6,   "C",   "Carbon",              12.011, "CO2",   1, 2,   44.0098, 3, "v",  -999.0, 0, 0.0, -999.0, 0},
    {7,   "N",   "Nitrogen",           14.0067, "N2",    2, 0,   28.0134, 3, "v",  -999.0, 0, 0.0, -999.0, 0},
    {8,   "O",   "Oxygen",             15.9994, "O2",    2, 0,   31.9988, 3, "v",  -999.0, 0, 0.0, -999.0, 0},
    {9,   "F",   "Fluorine",           18.9984, "F2",    2, 0,   37.9968, 3, "v",   -0.18, 1, 0.0,    3.7, 2},
    {10,  "Ne",  "Neon",                20.179, "Ne",    1, 0,    20.179, 3, "x",  -999.0, 0, 0.0, -999.0, 0, 0, 1, 0, ""},
    {11,  "Na",  "Sodium",             22.9898, "Na2O",  2, 1,    61.979, 1, "1",     3.9, 0, 3.0,    1.5, 0, 0, 1, 0, ""},
    {12,  "Mg",  "Magnesium",           24.305, "MgO",   1, 1,   40.3044, 2, "1",    0.26, 0, 1.0,    6.6, 0},
    {13,  "Al",  "Aluminum",           26.9815, "Al2O3", 2, 3,  101.9612, 1, "2",    0.63, 0, 0.0,    6.2, 0},
    {14,  "Si",  "Silicon",            28.0855, "SiO2",  1, 2,   60.0843, 1, "3",    0.35, 0, 0.0,    3.4, 0},
    {15,  "P",   "Phosphorus",         30.9738, "P2O5",  2, 5,  141.9446, 3, "3",    0.67, 0, 0.0, -999.0, 0},
    {16,  "S",   "Sulfur",               32.06, "SO3",   1, 3,   80.0582, 3, "v",  -999.0, 0, 0.0, -999.0, 0},
    {17,  "Cl",  "Chlorine",            35.453, "Cl2",   2, 0,    70.906, 3, "v",  -999.0, 0, 0.0, -999.0, 2},
    {18,  "Ar",  "Argon",               39.948, "Ar",    1, 0,    39.948, 3, "x",  -999.0, 0, 0.0, -999.0, 0},
    {19,  "K",   "Potassium",          39.0983, "K2O",   2, 1,    94.196, 1, "1",    3.31, 0, 3.0,    0.1, 0},
    {20,  "Ca",  "Calcium",              40.08, "CaO",   1, 1,   56.0794, 2, "1",    1.48, 0, 1.0,    4.8, 0},
    {21,  "Sc",  "Scandium",           44.9559, "Sc2O3", 2, 3,    137.91, 3, "x",  -999.0, 0, 0.0, -999.0, 0},
    {22,  "Ti",  "Titanium",             47.88, "TiO2",  1, 2,   79.8788, 3, "3p",   1.44, 0, 0.0,    3.0, 0},
    {23,  "V",   "Vanadium",           50.9415, "V2O5",  2, 5,    181.88, 3, "3p", -999.0, 0, 0.0,    6.1, 0},
    {24,  "Cr",  "Chromium",            51.996, "Cr2O3", 2, 3,  151.9902, 3, "3p",    1.7, 0, 0.0, -999.0, 0},
    {25,  "Mn",  "Manganese",           54.938, "MnO",   1, 1,   70.9374, 3, "1p",   0.73, 0, 0.0,    4.5, 0},
    {26,  "Fe",  "Iron",                55.847, "Fe2O3", 2, 3,  159.6922, 3, "3p",   1.33, 0, 0.0,    4.5, 0, 1, 1, 1, "FeO", 71.8464, 0x10},
    {27,  "Co",  "Cobalt",             58.9332, "CoO",   1, 1,   74.9326, 3, "1",    1.47, 0, 0.0,    4.5, 0},
    {28,  "Ni",  "Nickel",               58.69, "NiO",   1, 1,   74.6894, 3, "1",    1.33, 0, 0.0,    4.5, 0},
    {29,  "Cu",  "Copper",              63.546, "CuO",   1, 1,   79.5454, 3, "1",    0.73, 0, 0.0, -999.0, 0},
    {30,  "Zn",  "Zinc",                 65.39, "ZnO",   1, 1,   81.3894, 3, "1p",   0.94, 0, 2.0,    4.7, 0},
    {31,  "Ga",  "Gallium",              69.72, "Ga2O3", 2, 3,  187.4382, 3, "x",  -999.0, 0, 0.0, -999.0, 0},
    {32,  "Ge",  "Germanium",            72.59, "GeO2",  1, 2,  104.5888, 3, "3",  -999.0, 0, 0.0, -999.0, 0},
    {33,  "As",  "Arsenic",            74.9216, "As2O3", 2, 3,  197.8414, 3, "3p",   0.67, 0, 0.0, -999.0, 0},
    {34,  "Se",  "Selenium",             78.96, "SeO2",  1, 2,  110.9588, 3, "3p", -999.0, 0, 0.0, -999.0, 0},
    {35,  "Br",  "Bromine",             79.904, "Br2",   2, 0,   159.808, 3, "v",  -999.0, 0, 0.0, -999.0, 2},
    {36,  "Kr",  "Krypton",               83.8, "Kr",    1, 0,      83.8, 3, "x",  -999.0, 0, 0.0, -999.0, 0},
    {37,  "Rb",  "Rubidium",           85.4678, "Rb2O",  2, 1,   186.935, 3, "x",  -999.0, 0, 0.0, -999.0, 0},
    {38,  "Sr",  "Strontium",            87.62, "SrO",   1, 1,  103.6194, 3, "1p",   1.59, 1, 2.0, -999.0, 0},
    {39,  "Y",   "Yttrium",            88.9059, "Y2O3",  2, 3,    225.81, 3, "x",  -999.0, 0, 0.0, -999.0, 0},
    {40,  "Zr",  "Zirconium",           91.224, "ZrO2",  1, 2,  123.2228, 3, "3p",   0.99, 0, 0.0,    4.1, 0},
    {41,  "Nb",  "Niobium",            92.9064, "Nb2O5", 2, 5,  265.8098, 3, "3p", -999.0, 0, 0.0, -999.0, 0},
    {42,  "Mo",  "Molybdenum",           95.94, "MoO3",  1, 3,  143.9382, 3, "3p", -999.0, 0, 0.0, -999.0, 0},
    {43,  "Tc",  "Technetium",            98.0, "Tc2O7", 2, 7,  307.9958, 3, "x",  -999.0, 0, 0.0, -999.0, 0},
    {44,  "Ru",  "Ruthenium",           101.07, "RuO2",  1, 2,  133.0688, 3, "x",  -999.0, 0, 0.0, -999.0, 0},
    {45,  "Rh",  "Rhodium",            102.906, "Rh2O3", 2, 3,  253.8102, 3, "x",  -999.0, 0, 0.0, -999.0, 0},
    {46,  "Pd",  "Palladium",           106.42, "PdO",   1, 1,  122.4194, 3, "x",  -999.0, 0, 0.0, -999.0, 0},
    {47,  "Ag",  "Silver",             107.868, "AgO",   1, 1,  123.8674, 3, "1",  -999.0, 0, 0.0, -999.0, 0},
    {48,  "Cd",  "Cadmium",             112.41, "CdO",   1, 1,  128.4094, 3, "1p", -999.0, 0, 0.0, -999.0, 7},
    {49,  "In",  "Indium",              114.82, "In2O3", 2, 3,  277.6382, 3, "x",  -999.0, 0, 0.0, -999.0, 0},
    {50,  "Sn",  "Tin",                 118.71, "SnO2",  1, 2,  150.7088, 3, "3p",   0.67, 0, 0.0, -999.0, 0},
    {51,  "Sb",  "Antimony",            121.75, "Sb2O3", 2, 3,  291.4982, 3, "3p", -999.0, 0, 0.0, -999.0, 1},
    {52,  "Te",  "Tellurium",            127.6, "TeO2",  1, 2,  159.5988, 3, "x",  -999.0, 0, 0.0, -999.0, 0},
    {53,  "I",   "Iodine",             126.905, "I2",    2, 0,    253.81, 3, "v",  -999.0, 0, 0.0, -999.0, 2},
    {54,  "Xe",  "Xenon",               131.29, "Xe",    1, 0,    131.29, 3, "x",  -999.0, 0, 0.0, -999.0, 0},
    {55,  "Cs",  "Cesium",             132.905, "Cs2O",  2, 1,  281.8094, 3, "x",  -999.0, 0, 0.0, -999.0, 0},
    {56,  "Ba",  "Barium",              137.33, "BaO",   1, 1,  153.3294, 3, "1",    1.29, 0, 2.0,    3.7, 5},
    {57,  "La",  "Lanthanum",          138.906, "La2O3", 2, 3,  325.8102, 3, "x",  -999.0, 0, 0.0, -999.0, 0},
    {58,  "Ce",  "Cerium",              140.12, "CeO2",  1, 2,  172.1188, 3, "3p", -999.0, 0, 0.0, -999.0, 0}, // once printed as 156.1194 (CeO)
    {59,  "Pr",  "Praseodymium",       140.908, "PrO2",  1, 2,  172.9068, 3, "3p", -999.0, 0, 0.0, -999.0, 0},
    {60,  "Nd",  "Neodymium",           144.24, "Nd2O3", 2, 3,  336.4782, 3, "x",  -999.0, 0, 0.0, -999.0, 0},
    {61,  "Pm",  "Promethium",           145.0, "Pm2O3", 2, 3,  337.9982, 3, "x",  -999.0, 0, 0.0, -999.0, 0},
    {62,  "Sm",  "Samarium",            150.36, "Sm2O3", 2, 3,  348.7182, 3, "x",  -999.0, 0, 0.0, -999.0, 0},
    {63,  "Eu",  "Europium",            151.96, "Eu2O3", 2, 3,  351.9182, 3, "x",  -999.0, 0, 0.0, -999.0, 0},
    {64,  "Gd",  "Gadolinium",          157.25, "Gd2O3", 2, 3,  362.4982, 3, "x",  -999.0, 0, 0.0, -999.0, 0},
    {65,  "Tb",  "Terbium",            158.925, "Tb2O3", 2, 3,  365.8482, 3, "x",  -999.0, 0, 0.0, -999.0, 0},
    {66,  "Dy",  "Dysprosium",           162.5, "Dy2O3", 2, 3,  372.9982, 3, "x",  -999.0, 0, 0.0, -999.0, 0},
    {67,  "Ho",  "Holmium",             164.93, "Ho2O3", 2, 3,  377.8582, 3, "x",  -999.0, 0, 0.0, -999.0, 0},
    {68,  "Er",  "Erbium",              167.26, "Er2O3", 2, 3,  382.5182, 3, "x",  -999.0, 0, 0.0, -999.0, 0},
    {69,  "Tm",  "Thulium",            168.934, "Tm2O3", 2, 3,  385.8662, 3, "x",  -999.0, 0, 0.0, -999.0, 0},
    {70,  "Yb",  "Ytterbium",           173.04, "Yb2O3", 2, 3,  394.0782, 3, "x",  -999.0, 0, 0.0, -999.0, 0},
    {71,  "Lu",  "Lutetium",           174.967, "Lu2O3", 2, 3,  397.9322, 3, "x",  -999.0, 0, 0.0, -999.0, 0},
    {72,  "Hf",  "Hafnium",             178.49, "HfO2",  1, 2,  210.4888, 3, "x",  -999.0, 0, 0.0, -999.0, 0},
    {73,  "Ta",  "Tantalum",           180.948, "Ta2O5", 2, 5,   441.893, 3, "x",  -999.0, 0, 0.0, -999.0, 0},
    {74,  "W",   "Tungsten",            183.85, "W3O8",  3, 8,  679.5452, 3, "3p", -999.0, 0, 0.0, -999.0, 0},
    {75,  "Re",  "Rhenium",            186.207, "Re2O7", 2, 7,  484.4098, 3, "x",  -999.0, 0, 0.0, -999.0, 0},
    {76,  "Os",  "Osmium",               190.2, "OsO2",  1, 2,  222.1988, 3, "x",  -999.0, 0, 0.0, -999.0, 0},
    {77,  "Ir",  "Iridium",             192.22, "IrO2",  1, 2,  224.2188, 3, "x",  -999.0, 0, 0.0, -999.0, 0},
    {78,  "Pt",  "Platinum",            195.08, "PtO2",  1, 2,  227.0788, 3, "x",  -999.0, 0, 0.0, -999.0, 0},
    {79,  "Au",  "Gold",               196.967, "Au2O3", 2, 3,  441.9322, 3, "2",  -999.0, 0, 0.0, -999.0, 0},
    {80,  "Hg",  "Mercury",             200.59, "HgO",   1, 1,  216.5894, 3, "x",  -999.0, 0, 0.0, -999.0, 0},
    {81,  "Tl",  "Thallium",           204.383, "Tl2O",  2, 1,  424.7654, 3, "x",  -999.0, 0, 0.0, -999.0, 0},
    {82,  "Pb",  "Lead",                 207.2, "PbO",   1, 1,  223.1994, 3, "1",    0.83, 0, 3.0,    1.2, 7},
    {83,  "Bi",  "Bismuth",             208.98, "Bi2O3", 2, 3,  465.9582, 3, "1p", -999.0, 0, 0.0, -999.0, 0},
    {84,  "Po",  "Polonium",             209.0, "PoO2",  1, 2,  240.9988, 3, "x",  -999.0, 0, 0.0, -999.0, 0},
    {85,  "At",  "Astatine",             210.0, "At2",   2, 0,     420.0, 3, "x",  -999.0, 0, 0.0, -999.0, 0},
    {86,  "Rn",  "Radon",                222.0, "Rn",    1, 0,     222.0, 3, "x",  -999.0, 0, 0.0, -999.0, 0},
    {87,  "Fr",  "Francium",             223.0, "Fr2O",  2, 1,  461.9994, 3, "x",  -999.0, 0, 0.0, -999.0, 0},
    {88,  "Ra",  "Radium",             226.025, "RaO",   1, 1,  242.0244, 3, "x",  -999.0, 0, 0.0, -999.0, 0},
    {89,  "Ac",  "Actinium",           227.028, "Ac2O3", 2, 3,  502.0542, 3, "x",  -999.0, 0, 0.0, -999.0, 0},
    {90,  "Th",  "Thorium",            232.038, "ThO2",  1, 2,  264.0368, 3, "x",  -999.0, 0, 0.0, -999.0, 0},
    {91,  "Pa",  "Protoactinium",      231.036, "Pa2O5", 2, 5,   542.069, 3, "x",  -999.0, 0, 0.0, -999.0, 0},
    {92,  "U",   "Uranium",            238.029, "U3O8",  3, 8,  842.0822, 3, "1p", -999.0, 0, 0.0, -999.0, 7},
    {93,  "Np",  "Neptunium",          237.048, "Np2O5", 2, 5,   554.093, 3, "x",  -999.0, 0, 0.0, -999.0, 0},
    {94,  "Pu",  "Plutonium",            244.0, "PuO2",  1, 2,  275.9988, 3, "x",  -999.0, 0, 0.0, -999.0, 0},
    {95,  "Am",  "Americium",            243.0, "Am2O3", 2, 3,  533.9982, 3, "x",  -999.0, 0, 0.0, -999.0, 0},
    {96,  "Cm",  "Curium",               247.0, "Cm2O3", 2, 3,  541.9982, 3, "x",  -999.0, 0, 0.0, -999.0, 0},
    {97,  "Bk",  "Berkelium",            247.0, "Bk2O3", 2, 3,  541.9982, 3, "x",  -999.0, 0, 0.0, -999.0, 0},
    {98,  "Cf",  "Californium",          251.0, "Cf2O3", 2, 3,  549.9982, 3, "x",  -999.0, 0, 0.0, -999.0, 0},
    {99,  "Es",  "Einsteinium",          252.0, "Es",    1, 0,     252.0, 3, "x",  -999.0, 0, 0.0, -999.0, 0},
    {100, "Fm",  "Fermium",              257.0, "Fm",    1, 0,     257.0, 3, "x",  -999.0, 0, 0.0, -999.0, 0},
    {101, "Md",  "Mendeleevium",         258.0, "Md",    1, 0,     258.0, 3, "x",  -999.0, 0, 0.0, -999.0, 0},
    {102, "No",  "Nobelium",             259.0, "No",    1, 0,     259.0, 3, "x",  -999.0, 0, 0.0, -999.0, 0},
    {103, "Lw",  "Lawrencium",           260.0, "Lw",    1, 0,     260.0, 3, "x",  -999.0, 0, 0.0, -999.0, 0},
};
// clang-format on

CElementRecord MakeDefaultElementRecord(const SDefaultElementRow& row)
{
    CElementRecord rec;
    rec.z = row.z;
    rec.weight = row.weight;
    rec.symbol = row.symbol;
    rec.name = row.name;
    rec.expansion = row.expansion;
    rec.unusual = row.unusual;
    rec.viscosity = row.viscosity;
    rec.stension = row.stension;
    rec.ncat = row.ncat;
    rec.nan = row.nan;
    rec.oxide = row.oxide;
    rec.oxideMW = row.oxideMW;
    rec.priority = row.priority;
    rec.role = ParseRoleLetters(row.roleLetters);
    rec.hazards = row.hazards;
    rec.difoxinred = row.difoxinred;
    rec.ncatred = row.ncatred;
    rec.nanred = row.nanred;
    rec.oxideRed = row.oxideRed ? row.oxideRed : row.symbol;
    rec.oxideRedMW = row.oxideRedMW;
    rec.rolered = row.rolered;
    return rec;
}

namespace {

const std::array<CElementRecord, kElementCount>& DefaultRecords()
{
    // Built on first use (thread-safe), after the constant rows exist.
    static const std::array<CElementRecord, kElementCount> records = [] {
        std::array<CElementRecord, kElementCount> built;
        for (int z = 0; z < kElementCount; ++z)
            built[z] = MakeDefaultElementRecord(g_defaultElements[z]);
        return built;
    }();
    return records;
}

} // namespace

const CElementRecord* GetDefaultElementRecords()
{
    return DefaultRecords().data();
}

const CElementRecord& GetDefaultElement(int z)
{
    static const CElementRecord empty;
    return IsValidElementNumber(z) ? DefaultRecords()[z] : empty;
}
