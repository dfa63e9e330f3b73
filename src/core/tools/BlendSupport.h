#pragma once

// What the recipe blends, the Varrow blend, Mix Glazes and Average Glazes share: the texts of
// percentages and mixing notes, adding weighted recipe lines, and handing a finished set of
// generated glazes to a new glaze database.
//
// The commands that combine glazes never touch their sources: they work on copies converted to
// weights, scaled so that components and additions together make 100, and they express each
// result per 100 of components.

#include <string>

class CGlaze;
class CGlazeList;
class CGlazesDoc;
class CIngredientList;

// Help contexts of the messages of the blends, and of Mix and Average Glazes.
inline constexpr unsigned kBlendHelpId = 0x30580;
inline constexpr unsigned kMixGlazesHelpId = 0x30581;

// A percentage as generated glaze names show it: "%.1f" with trailing zeros and then a trailing
// point removed (100.0 -> "100", 50.0 -> "50", 66.666... -> "66.7").
std::string FormatBlendPercent(double percent);

// "  %5.1f%% %s": one note line naming a source with its share.
std::string FormatBlendNote(double percent, const std::string& name);

// "Cannot convert \"<name>\" to recipe by weight" with an exclamation mark for the first source
// of a command and without one for the others.
std::string CannotConvertMessage(const std::string& name, bool first);

// Appends a copy of every line of from to to, with its amount multiplied by weight.
void AppendWeightedLines(CIngredientList& to, const CIngredientList& from, double weight);

// Copies source into copy and makes the copy a recipe by weight whose components and additions
// together make 100. 0 on success; 1 when the recipe cannot be converted to weight; 2 when it
// has nothing to scale (components plus additions total 0 or less).
int PrepareBlendSource(const CGlaze& source, CGlaze& copy);

// Opens a new untitled glaze database through the application, puts copies of the glazes of
// built into it, gives it built's database name and information lines, marks it modified and
// announces it as reloaded (kind 5, code 17) so its list fills. Null when no database could be
// opened.
CGlazesDoc* PublishGlazeDatabase(const CGlazeList& built);
