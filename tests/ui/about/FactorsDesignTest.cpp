// The factors picture's one description, which both painters set: its numbers against the
// engine's. Its text, faces and fraction are checked as the Qt painter lays them out.
#include "ui/about/FactorsDesign.h"
#include "convert/ConvertCommand.h"
#include "tests/RowName.h"

#include <gtest/gtest.h>

#include <string>

namespace pevrand
{
namespace
{

// The line's text, pieces run together.
std::string Reading(std::span<const factors::Piece> line)
{
    std::string text;
    for (const factors::Piece &piece : line)
        text += piece.Text;
    return text;
}

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
    testing::Values(FactorRow{"Momentum", Quantity::Momentum, "1", "2.0717", " 2.0717k"},
                    FactorRow{"Wavelength", Quantity::Wavelength, "1", "81.787", " 81.787\u03BB"},
                    FactorRow{"Nu", Quantity::Nu, "1", "4.1354", " 4.1354\u03BD"},
                    FactorRow{"Velocity", Quantity::Velocity, "1000", "5.2276",
                              " 5.2276\u00D710\u22126v"},
                    FactorRow{"Temperature", Quantity::Temperature, "1", "0.086165", " 0.086165T"}),
    RowName());

} // namespace
} // namespace pevrand
