#include "engine/WideConversion.h"

#include "engine/BitCast.h"
#include "engine/EventConversions.h"
#include "engine/Quantities.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

namespace pevrand
{
namespace
{

std::uint64_t Bits(double value)
{
    return BitCast<std::uint64_t>(value);
}

// The loops over many values go two at a time, each lane with its own pixel's geometry: every
// value's result, shown or not, must be the one-value legs' for it, or NaN where they fail.
TEST(WideConversion, TheLoopsAreTheOneValueLegsInEveryPair)
{
    std::vector<double> values;
    std::vector<std::size_t> pixelOf;
    for (double value = 1e-300; value < 1e300; value *= 1e7) {
        values.insert(values.end(), {value, -value, value * 3.3});
        for (int k = 0; k < 3; ++k)
            pixelOf.push_back((values.size() + static_cast<std::size_t>(k)) % 3);
    }
    // An ordinary pixel, one at 2 theta = 0, one whose flight path overflows the steps.
    const std::array<std::pair<double, double>, 3> geometry{
        {{12.5, 60.0}, {12.5, 0.0}, {1e300, 150.0}}};
    std::vector<double> results(values.size()), byPixel(values.size());
    for (const QuantityRow &fromRow : QuantityTable) {
        for (const QuantityRow &toRow : QuantityTable) {
            const Quantity from = fromRow.Is, to = toRow.Is;
            std::vector<PixelGeometry> pixels;
            for (const auto &[path, twoTheta] : geometry)
                pixels.push_back(PrepareWidePixel(Edition::Codata2022, from, to, path,
                                                  WideThetaFromTwoTheta(twoTheta)));
            const auto &[path, twoTheta] = geometry[0];
            ConvertWideValues(Edition::Codata2022, from, to, path, WideThetaFromTwoTheta(twoTheta),
                              values, results, false);
            ConvertWideValuesByPixel(Edition::Codata2022, from, to, pixels, pixelOf, values,
                                     byPixel, false);
            for (std::size_t i = 0; i < values.size(); ++i) {
                const auto one = [&](double length, double angle) {
                    WideInputs inputs;
                    try {
                        if (!(values[i] > 0))
                            return std::numeric_limits<double>::quiet_NaN();
                        inputs = WideInputsForValue(values[i]);
                        inputs.FlightPath = length;
                        inputs.Theta = WideThetaFromTwoTheta(angle);
                        const double result = WideResultFromEnergy(
                            Edition::Codata2022, to,
                            WideEnergyFromInput(Edition::Codata2022, from, inputs), inputs);
                        return result > 0 ? result : std::numeric_limits<double>::quiet_NaN();
                    } catch (const ArithmeticError &) {
                        return std::numeric_limits<double>::quiet_NaN();
                    }
                };
                const auto &[pixelPath, pixelAngle] = geometry[pixelOf[i]];
                ASSERT_EQ(Bits(results[i]), Bits(one(path, twoTheta)))
                    << static_cast<int>(from) << " -> " << static_cast<int>(to) << " of "
                    << values[i];
                ASSERT_EQ(Bits(byPixel[i]), Bits(one(pixelPath, pixelAngle)))
                    << static_cast<int>(from) << " -> " << static_cast<int>(to) << " of "
                    << values[i] << " at pixel " << pixelOf[i];
            }
        }
    }
}

// A DIFA so small that the textbook root (-DIFC + sqrt(DIFC^2 + 4 DIFA D)) / (2 DIFA) loses
// nearly every digit to cancellation: the root used must keep them all (d = 2 - DIFA d^2 / DIFC
// to first order, the second order far below a double's step), and go back to the same time.
TEST(Calibration, ATinyDifaKeepsEveryDigitOfTheRoot)
{
    const double difc = 5000.0, difa = 1e-9;
    const auto prepared = events::TofToDspacing::Prepare({difc, difa, 12.0});
    events::Failure failure = events::Failure::None;
    const double d = events::TofToDspacing::Convert(10012.0, prepared, failure);
    ASSERT_EQ(failure, events::Failure::None);
    EXPECT_NEAR(d, 2.0 - difa * 4.0 / difc, 4e-16);
    EXPECT_NEAR(events::DspacingToTof::Convert(d, prepared, failure), 10012.0, 2e-12);
}

} // namespace
} // namespace pevrand
