// The About window's picture of the conversion factors, described once for every painter: five
// lines of text set like a formula, each a row of pieces in one face. The texts are UTF-8.
// Nothing in the picture is computed; its factors are the engine's conversion constants.
#pragma once

#include <array>
#include <span>
#include <string_view>

namespace pevrand::factors
{

// The picture's size at 96 DPI, in pixels: black on white.
inline constexpr int Width = 408;
inline constexpr int Height = 133;

// The text's size in pixels where the lines fit at it.
inline constexpr int NominalPixelSize = 12;

// A Times-like serif: its italics read as mathematical symbols, and it is narrow enough for
// the longest line.
inline constexpr std::array<std::string_view, 3> TextFamilies{"Liberation Serif", "Times New Roman",
                                                              "DejaVu Serif"};
// Greek letters from a face whose italic nu has a round bowl: in the Times-like faces it looks
// like an italic v, and the picture has both nu and v.
inline constexpr std::array<std::string_view, 3> GreekFamilies{"DejaVu Serif", "Cambria",
                                                               "Liberation Serif"};

// How a piece is set: upright text, an italic symbol (E, k, T), an italic Greek letter (lambda,
// nu), or a raised smaller exponent following the piece before it.
enum class Face { Text, Symbol, Greek, Superscript };

// Where a piece stands: on the line, or in a fraction over or under its rule. The pieces of one
// fraction follow each other: all of its numerator, then all of its denominator.
enum class Place { Line, Numerator, Denominator };

struct Piece {
    std::string_view Text;
    Face Style = Face::Text;
    Place Where = Place::Line;
};

using enum Face;
using enum Place;

inline constexpr std::string_view Lambda = "\u03BB";
inline constexpr std::string_view Nu = "\u03BD";

inline constexpr std::array Line1{Piece{"Based on the following conversion factors\u2026"}};

inline constexpr std::array Line2{
    Piece{"E", Symbol},
    Piece{" = 2.0717"},
    Piece{"k", Symbol},
    Piece{"2", Superscript},
    Piece{" = "},
    Piece{"81.787", Text, Numerator},
    Piece{Lambda, Greek, Denominator},
    Piece{"2", Superscript, Denominator},
    Piece{" = 4.1354"},
    Piece{Nu, Greek},
    Piece{" = 5.2276\u00D710"},
    Piece{"\u22126", Superscript},
    Piece{"v"},
    Piece{"2", Superscript},
    Piece{" = 0.086165"},
    Piece{"T", Symbol},
};

inline constexpr std::array Line3{
    Piece{"E", Symbol},  Piece{"(meV), "},   Piece{Lambda, Greek},
    Piece{"(\u00C5), "}, Piece{Nu, Greek},   Piece{"(THz), v(m/sec), "},
    Piece{"k", Symbol},  Piece{"(\u00C5"},   Piece{"\u22121", Superscript},
    Piece{"), "},        Piece{"T", Symbol}, Piece{"(\u00B0K)"},
};

inline constexpr std::array Line4{Piece{"For a photon: "}, Piece{"E", Symbol},
                                  Piece{"(meV) = 0.123975/"}, Piece{Lambda, Greek}, Piece{"(cm)"}};

inline constexpr std::array Line5{
    Piece{"(first known occurrence of these was at ICANS conference at Argonne in 1970s)"}};

// The five lines, top to bottom.
inline constexpr std::array<std::span<const Piece>, 5> Lines{Line1, Line2, Line3, Line4, Line5};

} // namespace pevrand::factors
