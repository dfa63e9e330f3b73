#pragma once

// The nine 16 x 16 images of the database tree, drawn in code on a transparent background.
// Entries show the image of their kind while their file is open in the program and the
// not-open image otherwise; the category branches show the image of their kind.

#include <QIcon>
#include <QPixmap>

#include <vector>

enum DbTreeImage : int {
    DbTreeImageUnknown = 0,        // an entry of unknown kind
    DbTreeImageNotOpen = 1,        // a database that is not open
    DbTreeImageElements = 2,
    DbTreeImageMaterials = 3,
    DbTreeImageSubstitutions = 4,
    DbTreeImageLimitFormulas = 5,
    DbTreeImageGlazes = 6,
    DbTreeImageTextFile = 7,
    DbTreeImageGraphTemplates = 8,
};

inline constexpr int kDbTreeImageCount = 9;
inline constexpr int kDbTreeImageSize = 16;

// One image; an index outside 0..8 gives the unknown-kind image.
QPixmap DrawDbTreeImage(int index);

// All nine, in index order.
std::vector<QIcon> MakeDbTreeImageList();
