// The factors picture's one description, which both painters set: its text, its faces, its
// fraction, and its numbers against the engine's.
#include "ui/about/FactorsDesign.h"
#include "tests/RowName.h"
#include "ui/main/ConvertCommand.h"

#include <gtest/gtest.h>

#include <string>

namespace pevrand
{
namespace
{

using factors::Face;
using factors::Place;

// A line as a reader sees it, the fraction written as "(over/under)".
std::string Reading(std::span<const factors::Piece> line)
{
    std::string text;
    Place previous = Place::Line;
    for (const factors::Piece &piece : line) {
        if (piece.Where == Place::Numerator && previous != Place::Numerator)
            text += "(";
        if (piece.Where == Place::Denominator && previous == Place::Numerator)
            text += "/";
        if (piece.Where == Place::Line && previous == Place::Denominator)
            text += ")";
        if (piece.Style == Face::Superscript)
            text += '^';
        text += piece.Text;
        previous = piece.Where;
    }
    if (previous == Place::Denominator)
        text += ')';
    return text;
}

// The letters set in italics, in order.
std::string Italics(std::span<const factors::Piece> line)
{
    std::string letters;
    for (const factors::Piece &piece : line)
        if (piece.Style == Face::Symbol || piece.Style == Face::Greek)
            letters.append(piece.Text).append(" ");
    return letters;
}

struct LineRow {
    std::string name;
    std::size_t line;
    std::string reading, italics;
};

class FactorsLine : public testing::TestWithParam<LineRow>
{
};

TEST_P(FactorsLine, ReadsAsDesignedWithItsSymbolsInItalics)
{
    const LineRow &row = GetParam();
    EXPECT_EQ(Reading(factors::Lines[row.line]), row.reading);
    EXPECT_EQ(Italics(factors::Lines[row.line]), row.italics);
}

INSTANTIATE_TEST_SUITE_P(
    Picture, FactorsLine,
    testing::Values(
        LineRow{"Heading", 0, "Based on the following conversion factors\u2026", ""},
        LineRow{"Factors", 1,
                "E = 2.0717k^2 = (81.787/\u03BB^2) = 4.1354\u03BD = 5.2276\u00D710^\u22126v^2 = "
                "0.086165T",
                "E k \u03BB \u03BD T "},
        LineRow{"Units", 2,
                "E(meV), \u03BB(\u00C5), \u03BD(THz), v(m/sec), k(\u00C5^\u22121), T(\u00B0K)",
                "E \u03BB \u03BD k T "},
        LineRow{"Photon", 3, "For a photon: E(meV) = 0.123975/\u03BB(cm)", "E \u03BB "},
        LineRow{"Origin", 4,
                "(first known occurrence of these was at ICANS conference at Argonne in 1970s)",
                ""}),
    RowName());

// Each factor the picture shows is the engine's: one unit of the quantity (a thousand m/s for
// the velocity, whose factor the picture writes with its power of ten) converts to that energy.
struct FactorRow {
    std::string name;
    Quantity quantity;
    std::string input, energy, shown;
};

class PictureFactor : public testing::TestWithParam<FactorRow>
{
};

TEST_P(PictureFactor, IsTheEnginesConstant)
{
    const FactorRow &row = GetParam();
    const ConvertOutcome outcome = RunConvert({row.input, "", "", row.quantity, Quantity::Energy});
    EXPECT_EQ(outcome.OutputText, row.energy);
    EXPECT_NE(Reading(factors::Lines[1]).find(row.shown), std::string::npos) << row.shown;
}

INSTANTIATE_TEST_SUITE_P(
    Picture, PictureFactor,
    testing::Values(FactorRow{"Momentum", Quantity::Momentum, "1", "2.0717", "2.0717k^2"},
                    FactorRow{"Wavelength", Quantity::Wavelength, "1", "81.787", "(81.787/"},
                    FactorRow{"Nu", Quantity::Nu, "1", "4.1354", "4.1354\u03BD"},
                    FactorRow{"Velocity", Quantity::Velocity, "1000", "5.2276",
                              "5.2276\u00D710^\u22126v^2"},
                    FactorRow{"Temperature", Quantity::Temperature, "1", "0.086165", "0.086165T"}),
    RowName());

} // namespace
} // namespace pevrand
