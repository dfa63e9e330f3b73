// Writes generated databases for the start-up benchmark (bench/startup.sh):
//   oxidarium_bench_databases DIRECTORY MATERIALS GLAZES
// writes DIRECTORY/materials.mat with MATERIALS materials and DIRECTORY/glazes.glz with GLAZES
// glazes whose recipes use them.

#include "GeneratedDatabases.h"

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s DIRECTORY MATERIALS GLAZES\n", argv[0]);
        return 2;
    }
    const std::string directory = argv[1];
    const int materials = std::atoi(argv[2]);
    const int glazes = std::atoi(argv[3]);
    if (!WriteGeneratedFile(directory + "/materials.mat", GeneratedMaterialsFile(materials)) ||
        !WriteGeneratedFile(directory + "/glazes.glz", GeneratedGlazesFile(glazes, materials))) {
        std::fprintf(stderr, "cannot write into %s\n", directory.c_str());
        return 1;
    }
    return 0;
}
