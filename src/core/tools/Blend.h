#pragma once

// Line, triaxial and square blends: a test series between two, three or four glazes of the
// current glaze database, generated into a new untitled glaze database with one glaze per grid
// point. The blend dialogs fill a CRecipeBlendRequest; RunRecipeBlend does the rest. The source
// database is never changed.
//
// Every endpoint is copied, converted to weights and scaled so that its components and additions
// make 100, so a blend mixes equal total weights of the endpoint batches; each generated glaze is
// then expressed per 100 of components. Lines of the same material (ignoring case) merge into
// the first one.

#include <array>
#include <string>
#include <vector>

class CGlazeList;
class CGlazesDoc;

enum RecipeBlendKind : int {
    kLineBlend = 0,
    kTriaxialBlend = 1,
    kSquareBlend = 2,
};

// The range of every intermediate point count.
inline constexpr int kMinBlendPoints = 1;
inline constexpr int kMaxBlendPoints = 99;

// What the Line, Triaxial and Square Blend dialogs collect.
struct CRecipeBlendRequest {
    int kind = kLineBlend;
    // Indices into the current database's glaze list, -1 for none chosen: A and B (line); A, B
    // and C (triaxial); A upper left, B upper right, C lower left, D lower right (square).
    std::array<int, 4> endpoints{-1, -1, -1, -1};
    int pointsAB = 5; // between A and B; for the triaxial blend along each edge
    int pointsAC = 5; // square blend only: between A and C
};

// A request as the dialog opens: the selected rows (ascending) preset the endpoints in order,
// and the point counts come from the working preferences.
CRecipeBlendRequest MakeRecipeBlendRequest(int kind, const std::vector<int>& selectedRows);

// 2, 3 or 4.
int BlendEndpointCount(int kind);

// The endpoint weights of one grid point; they sum to 1 (unused endpoints weigh 0).
using BlendWeights = std::array<double, 4>;

// The grid points of a blend in the order its glazes are generated (point counts held to
// 1..99): line A to B; triaxial by distance from A, each row from the A-B edge to the A-C edge;
// square row by row from the A-B side, each row from the A-C side.
std::vector<BlendWeights> MakeBlendGrid(int kind, int pointsAB, int pointsAC);

// Builds the glazes, database name and information lines of the blend into result (emptied
// first). 0 on success; -1, silently, when an endpoint is not chosen or not in source; 1 when an
// endpoint cannot be converted to weight or has no ingredients, with the message in error.
int BuildRecipeBlend(const CRecipeBlendRequest& request, const CGlazeList& source, CGlazeList& result,
                     std::string& error);

// The command after its dialog's OK: remembers the point counts, builds the blend (a failure is
// shown with the stop icon) and puts it into a new glaze database, which is returned; null when
// nothing was made.
CGlazesDoc* RunRecipeBlend(const CRecipeBlendRequest& request, CGlazesDoc& source);
