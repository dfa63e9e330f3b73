#pragma once

// The thirteen descriptive choice fields of the glaze edit form's Description page, in form
// order: the label, the glaze field each one edits and the preferences' vocabulary its list
// offers. The page builder and the exchange between the controls and the glaze share the table.

#include "glazes/Glaze.h"
#include "shell/Preferences.h"

#include <array>
#include <string>

struct CGlazeChoiceField {
    const char* label;
    std::string CGlaze::*member;
    CStringArrayEx CPreferences::*vocabulary;
};

inline constexpr std::array<CGlazeChoiceField, 13> kGlazeChoiceFields = {{
    {"Glaze Type :", &CGlaze::m_type, &CPreferences::glztyp},
    {"Range :", &CGlaze::m_range, &CPreferences::glzrng},
    {"Firing Type :", &CGlaze::m_firetype, &CPreferences::glzftyp},
    {"Surface :", &CGlaze::m_quality, &CPreferences::glzqual},
    {"Transparency :", &CGlaze::m_transparency, &CPreferences::glzxpar},
    {"Color :", &CGlaze::m_color, &CPreferences::glzcol},
    {"Visual Texture :", &CGlaze::m_vistexture, &CPreferences::glzvtex},
    {"Crystals :", &CGlaze::m_xtals, &CPreferences::glzxtal},
    {"Bubbles :", &CGlaze::m_bubbles, &CPreferences::glzbub},
    {"Flow :", &CGlaze::m_flow, &CPreferences::glzflow},
    {"Flaws :", &CGlaze::m_flaws, &CPreferences::glzflaw},
    {"Durability :", &CGlaze::m_durability, &CPreferences::glzdur},
    {"Testing :", &CGlaze::m_tested, &CPreferences::glztest},
}};
