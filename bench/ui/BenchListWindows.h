#pragma once

// The program's windows on generated databases (bench/generated), as widget benchmarks use them:
// a main frame holding the materials list on materialCount materials and the glaze list on
// glazeCount glazes whose recipes use the first recipeMaterials of those materials.
// ListWindowsOnce makes them on first use and keeps them for every benchmark; they close after the
// last one, before the application object goes (BenchWindows.h).

#include "BenchWindows.h"

#include <memory>

class CGlazesDoc;
class CGlazesView;
class CMaterialsDoc;
class CMaterialsView;

class CBenchListWindows {
public:
    CBenchListWindows(int materialCount, int glazeCount, int recipeMaterials);
    ~CBenchListWindows();
    CBenchListWindows(const CBenchListWindows&) = delete;
    CBenchListWindows& operator=(const CBenchListWindows&) = delete;

    CMaterialsDoc* materials = nullptr;
    CMaterialsView* materialsView = nullptr;
    CGlazesDoc* glazes = nullptr;
    CGlazesView* glazesView = nullptr;

private:
    struct CParts;
    std::unique_ptr<CParts> m_parts;
};

// Once per set of sizes: the first caller pays for generating and opening.
template <int MaterialCount, int GlazeCount, int RecipeMaterials>
CBenchListWindows& ListWindowsOnce()
{
    static CBenchListWindows* windows = nullptr;
    if (!windows) {
        windows = new CBenchListWindows(MaterialCount, GlazeCount, RecipeMaterials);
        AtBenchmarksEnd([] {
            delete windows;
            windows = nullptr;
        });
    }
    return *windows;
}
