// The design's faces and the faces that stand in for them, for every toolkit: the Qt windows ask
// fontconfig for them in this order, the page names them as CSS font stacks.
#pragma once

#include <array>
#include <string_view>

namespace pevrand
{

// The dialog font's size, in points; its face is the first of the dialog face's families
// installed.
inline constexpr double DialogPoints = 8;

// The generic family that ends a list, for a toolkit that falls back by kind.
enum class GenericFamily { SansSerif, Serif };

// A designed face (empty: the dialog font) with the families to ask for, in the order tried: the
// face itself, then faces with the same metrics, then the closest look-alikes. Unused places of
// Families are empty.
struct FaceFamilies {
    std::string_view Family;
    GenericFamily Generic;
    std::array<std::string_view, 5> Families;
};

// Each face, then faces drawn to the same widths (Liberation, Croscore, Comic Relief, URW's
// Nimbus), then the look-alike the desktop may have.
inline constexpr std::array KnownFaces{
    FaceFamilies{"",
                 GenericFamily::SansSerif,
                 {"Liberation Sans", "Arimo", "Arial", "Helvetica", "Nimbus Sans"}},
    FaceFamilies{"Times New Roman",
                 GenericFamily::Serif,
                 {"Times New Roman", "Liberation Serif", "Tinos", "Times", "Nimbus Roman"}},
    FaceFamilies{
        "Comic Sans MS", GenericFamily::SansSerif, {"Comic Sans MS", "Comic Relief", "Comic Neue"}},
};

// The families known for `family`, or null for a family without known stand-ins.
constexpr const FaceFamilies *FindFaceFamilies(std::string_view family)
{
    for (const FaceFamilies &known : KnownFaces)
        if (known.Family == family)
            return &known;
    return nullptr;
}

} // namespace pevrand
