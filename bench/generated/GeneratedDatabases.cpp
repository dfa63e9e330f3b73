#include "GeneratedDatabases.h"

#include <cstdio>
#include <fstream>

namespace {

const char* const kFormulas[] = {
    "SiO2", "K2O Al2O3 6SiO2", "Na2O Al2O3 6SiO2", "CaCO3", "Al2O3 2SiO2 2H2O", "3MgO 4SiO2 H2O", "ZnO",
    "% 60.4 SiO2  23.6 Al2O3  10.2 Na2O  4.8 K2O  0.4 CaO  0.6 LOI", "Li2O Al2O3 4SiO2", "BaCO3",
};
const char* const kTypes[] = {"silica", "feldspar", "feldspar", "flux", "clay", "flux", "flux", "frit", "flux", "flux"};
const char* const kColours[] = {"celadon", "tenmoku", "shino", "clear", "white", "blue", "ash", "matte"};

// prefix and i in five digits: "M00042".
std::string Number(const char* prefix, int i)
{
    char text[64];
    std::snprintf(text, sizeof text, "%s%05d", prefix, i);
    return text;
}

void AppendMaterial(std::string& file, int i)
{
    const int source = i % 10 == 9 ? i - 1 : i;
    file += Number("name      = Material ", i) + "\n";
    file += "date      = 01/15/2025\n";
    file += Number("code      = M", i) + "\n";
    if (i % 3 == 0)
        file += Number("aka       = Other ", i) + Number("\nakacode   = O", i) + "\n";
    file += std::string("type      = ") + kTypes[source % 10] + "\n";
    file += (source != i ? Number("mapto     = Material ", source) : std::string("mapto     = ")) + "\n";
    file += std::string("formula   = ") + kFormulas[source % 10] + "\n";
    file += "density   = " + std::to_string(50 + source % 40) + ".0\n";
    file += "available = y\n";
    file += "costperlb = " + std::to_string(1 + source % 7) + ".25\n";
    if (i % 5 == 0)
        file += "note = |Supplier lot " + std::to_string(i) + ", analysis on file.\n";
    file += "\n";
}

void AppendGlaze(std::string& file, int n, int materialCount, const char* first)
{
    const char* colour = kColours[n % 8];
    file += Number("name   = Glaze ", n) + " " + colour + "\n";
    file += "index  = G" + std::to_string(n) + "\n";
    file += "date   = 0" + std::to_string(1 + n % 9) + "/15/2024\n";
    file += "source = Studio notebook " + std::to_string(n % 300) + "\n";
    file += "type   = glossy\nrange  = " + std::to_string(4 + n % 4) + "-" + std::to_string(6 + n % 4) + "\n";
    file += "firetype     = oxidation\n";
    file += std::string("color        = ") + colour + "\n";
    file += "vistexture   = smooth\nquality      = glossy\ntransparency = translucent\nxtals        = \n";
    file += "bubbles      = \nflow         = \ndurability   = good\nflaws     = \ntested    = yes\n";
    file += "imagefile = \nnotefile  = \nlimform   = Cone 6 gloss\nby_vol    = n\nbatchsize = 100\n";
    for (int k = 0; k < 6; ++k) {
        const int material = (n * 7 + k * 1009) % materialCount;
        file += (first && k == 0 ? std::string("component = ") + first : Number("component = Material ", material)) + "\n";
        file += "amount    = " + std::to_string(5 + (n * 13 + k * 7) % 30) + "\n";
    }
    file += Number("addition  = Material ", (n * 11 + 3) % materialCount) + "\n";
    file += "amount    = " + std::to_string(1 + n % 4) + ".5\n";
    file += "note = |Test tile " + std::to_string(n) + " in the blue box; runs when applied thickly.\n\n";
}

} // namespace

std::string GeneratedMaterialsFile(int count)
{
    std::string file = "filetype = Oxidarium Materials\nversion =  2\n\ndbname  = Generated Materials\n"
                       "I = |Generated for the benchmarks.\n\ncursym   = $\ncostunit = 0\ncostrod  = 2\n"
                       "costlod  = 3\ndensunit = 0\n";
    file.reserve(static_cast<std::size_t>(count) * 260);
    for (int i = 0; i < count; ++i)
        AppendMaterial(file, i);
    return file;
}

std::string GeneratedGlazesFile(int count, int materialCount, const char* first)
{
    std::string file = "filetype = Oxidarium Glazes\nversion =  2\n\ndbname  = Generated Glazes\n"
                       "I = |Generated for the benchmarks.\n\n";
    file.reserve(static_cast<std::size_t>(count) * 720);
    for (int n = 0; n < count; ++n)
        AppendGlaze(file, n, materialCount < 10 ? 10 : materialCount, first);
    return file;
}

std::string GeneratedKeyValueFile(int records)
{
    std::string out;
    out.reserve(static_cast<std::size_t>(records) * 110);
    for (int i = 0; i < records; ++i) {
        out += "name = Celadon glaze number " + std::to_string(i) + "\n";
        out += "cone = " + std::to_string(i % 15) + "\n";
        out += "amount = " + std::to_string(i % 1000) + ".125\n";
        out += "comment = a short note  \n";
        out += "colour = " + std::to_string(i * 7 % 16777216) + "\n";
    }
    return out;
}

bool WriteGeneratedFile(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
    out.close();
    return static_cast<bool>(out);
}
