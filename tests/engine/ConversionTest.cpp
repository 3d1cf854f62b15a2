#include "engine/Conversion.h"

#include "engine/BitCast.h"

#include "tests/RowName.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace pevrand
{
namespace
{

constexpr std::array AllQuantities = {
    Quantity::Energy,   Quantity::Wavelength,  Quantity::Nu,    Quantity::Velocity,
    Quantity::Momentum, Quantity::Temperature, Quantity::Invcm, Quantity::Q,
    Quantity::Dspacing, Quantity::Tof};

ConversionInputs Inputs(float x, float flightPath = 10.0f, std::optional<float> twoTheta = {})
{
    ConversionInputs inputs = DefaultConversionInputs();
    inputs.InputValue = x;
    inputs.InputSquare = static_cast<float>(static_cast<double>(x) * static_cast<double>(x));
    inputs.FlightPath = flightPath;
    if (twoTheta)
        inputs.Theta = ThetaFromTwoTheta(*twoTheta);
    return inputs;
}

float Convert(Quantity from, Quantity to, const ConversionInputs &inputs)
{
    return ResultFromEnergy(to, EnergyFromInput(from, inputs), inputs);
}

struct Example {
    const char *name;
    Quantity from, to;
    float value;
    float flightPath;
    std::optional<float> twoTheta;
    float expected; // the engine's single, bit for bit
};

class WorkedExample : public testing::TestWithParam<Example>
{
};

TEST_P(WorkedExample, GivesTheSingleOfTheDoubleSteps)
{
    const Example &row = GetParam();
    EXPECT_EQ(Convert(row.from, row.to, Inputs(row.value, row.flightPath, row.twoTheta)),
              row.expected);
}

using Q = Quantity;
INSTANTIATE_TEST_SUITE_P(
    Examples, WorkedExample,
    testing::Values(
        Example{"StartUpEnergyToWavelength", Q::Energy, Q::Wavelength, 25, 10, {}, 1.8087233f},
        Example{"EnergyToVelocity", Q::Energy, Q::Velocity, 25, 10, {}, 2186.8491f},
        Example{"EnergyToTemperature", Q::Energy, Q::Temperature, 25, 10, {}, 290.14102f},
        Example{"EnergyToInvcm", Q::Energy, Q::Invcm, 25, 10, {}, 201.65356f},
        Example{"EnergyToMomentum", Q::Energy, Q::Momentum, 25, 10, {}, 3.473814f},
        Example{"EnergyToNu", Q::Energy, Q::Nu, 1, 10, {}, 0.24181458f},
        Example{"EnergyToTofTenMetres", Q::Energy, Q::Tof, 1, 10, {}, 22863.945f},
        Example{"WavelengthToNu", Q::Wavelength, Q::Nu, 4, 10, {}, 1.2360806f},
        Example{"TofToEnergyTenMetres", Q::Tof, Q::Energy, 10000, 10, {}, 5.2276001f},
        Example{"TofToTofIgnoresFlightPath", Q::Tof, Q::Tof, 1000, 10, {}, 1000.0f},
        Example{"QToDspacingNeedsNoAngle", Q::Q, Q::Dspacing, 1, 10, {}, 6.2831683f},
        Example{"DspacingToQNeedsNoAngle", Q::Dspacing, Q::Q, 2, 10, {}, 3.1415844f},
        Example{"QToQ", Q::Q, Q::Q, 1, 10, {}, 1.0f},
        Example{"EnergyToQAt90", Q::Energy, Q::Q, 25, 10, 90.0f, 4.912715f},
        Example{"EnergyToDspacingAt90", Q::Energy, Q::Dspacing, 25, 10, 90.0f, 1.2789605f},
        Example{"DspacingToTofBothGeometries", Q::Dspacing, Q::Tof, 2, 10, 90.0f, 7150.79f}),
    RowName());

TEST(Conversion, WavelengthInputGoesThroughTheEnergy)
{
    EXPECT_EQ(EnergyFromInput(Quantity::Wavelength, Inputs(4)), 5.1116877f);
}

TEST(Conversion, AnglesAreTheSinglesOfTheDoubleSteps)
{
    EXPECT_EQ(DefaultConversionInputs().Theta, 0.7853981852531433f);
    EXPECT_EQ(DefaultConversionInputs().FlightPath, 10.0f);
    EXPECT_EQ(ThetaFromTwoTheta(180), 1.5707963705062866f);
    EXPECT_EQ(ThetaFromTwoTheta(90), DefaultConversionInputs().Theta);
    EXPECT_EQ(ThetaFromTwoTheta(0), 0.0f);
}

struct Needs {
    const char *name;
    std::optional<Quantity> in, out;
    bool flightPath, angle;
};

class GeometryNeeded : public testing::TestWithParam<Needs>
{
};

TEST_P(GeometryNeeded, OnlyWhenExactlyOneSideUsesIt)
{
    const Needs &row = GetParam();
    EXPECT_EQ(NeedsFlightPath(row.in, row.out), row.flightPath);
    EXPECT_EQ(NeedsAngle(row.in, row.out), row.angle);
}

INSTANTIATE_TEST_SUITE_P(
    Pairs, GeometryNeeded,
    testing::Values(Needs{"EnergyToWavelength", Q::Energy, Q::Wavelength, false, false},
                    Needs{"TofIn", Q::Tof, Q::Energy, true, false},
                    Needs{"TofOut", Q::Energy, Q::Tof, true, false},
                    Needs{"TofBothSides", Q::Tof, Q::Tof, false, false},
                    Needs{"TofInNoOutput", Q::Tof, std::nullopt, true, false},
                    Needs{"NothingSelected", std::nullopt, std::nullopt, false, false},
                    Needs{"QIn", Q::Q, Q::Energy, false, true},
                    Needs{"DspacingOut", Q::Energy, Q::Dspacing, false, true},
                    Needs{"QToDspacing", Q::Q, Q::Dspacing, false, false},
                    Needs{"DspacingToDspacing", Q::Dspacing, Q::Dspacing, false, false},
                    Needs{"DspacingToTof", Q::Dspacing, Q::Tof, true, true},
                    Needs{"NoInputQOut", std::nullopt, Q::Q, false, true}),
    RowName());

struct Failure {
    const char *name;
    Quantity from, to;
    float value;
    std::optional<float> twoTheta;
};

class ArithmeticFailure : public testing::TestWithParam<Failure>
{
};

TEST_P(ArithmeticFailure, Throws)
{
    const Failure &row = GetParam();
    EXPECT_THROW(Convert(row.from, row.to, Inputs(row.value, 10, row.twoTheta)), ArithmeticError);
}

INSTANTIATE_TEST_SUITE_P(
    Failures, ArithmeticFailure,
    testing::Values(Failure{"ZeroAngleDspacingOut", Q::Energy, Q::Dspacing, 25, 0.0f},
                    Failure{"ZeroAngleDspacingIn", Q::Dspacing, Q::Energy, 2, 0.0f},
                    Failure{"ZeroAngleQIn", Q::Q, Q::Energy, 1, 0.0f},
                    Failure{"SquareUnderflowWavelengthIn", Q::Wavelength, Q::Energy, 1e-30f, {}},
                    Failure{"SquareUnderflowTofIn", Q::Tof, Q::Energy, 1e-30f, {}},
                    Failure{
                        "EnergyUnderflowWavelengthOut", Q::Temperature, Q::Wavelength, 1e-45f, {}},
                    Failure{"EnergyUnderflowTofOut", Q::Invcm, Q::Tof, 1e-45f, {}},
                    Failure{"SingleOverflowNuIn", Q::Nu, Q::Energy, 3e38f, {}},
                    Failure{"SingleOverflowInvcmOut", Q::Energy, Q::Invcm, 3e38f, {}},
                    Failure{"SingleOverflowTemperatureOut", Q::Energy, Q::Temperature, 3e38f, {}}),
    RowName());

TEST(Conversion, InputsForValueSquaresInSingleOrThrows)
{
    const ConversionInputs inputs = InputsForValue(3.0f);
    EXPECT_EQ(inputs.InputSquare, 9.0f);
    EXPECT_EQ(inputs.FlightPath, DefaultConversionInputs().FlightPath);
    EXPECT_EQ(InputsForValue(0x1p63f).InputSquare, 0x1p126f);
    EXPECT_THROW(InputsForValue(0x1p64f), ArithmeticError);
}

TEST(Conversion, QOutputAtZeroAngleIsExactlyZero)
{
    EXPECT_EQ(Convert(Q::Energy, Q::Q, Inputs(25, 10, 0.0f)), 0.0f);
}

TEST(Conversion, UnderflowIsNotAnError)
{
    // A tiny energy stays tiny, and one that underflows to zero passes through as zero.
    EXPECT_GT(Convert(Q::Energy, Q::Nu, Inputs(1e-30f)), 0.0f);
    EXPECT_EQ(Convert(Q::Invcm, Q::Temperature, Inputs(1e-45f)), 0.0f);
}

// Every pair there and back again, geometry included: a leg that used the wrong constant,
// the wrong side of a fraction or the wrong geometry would not come back.
TEST(Conversion, EveryPairRoundTrips)
{
    const float flightPath = 12.5f;
    const float twoTheta = 60.0f;
    for (Quantity a : AllQuantities) {
        // 25 meV in quantity a, an ordinary magnitude for every quantity.
        const float start = Convert(Q::Energy, a, Inputs(25, flightPath, twoTheta));
        for (Quantity b : AllQuantities) {
            const float there = Convert(a, b, Inputs(start, flightPath, twoTheta));
            const float back = Convert(b, a, Inputs(there, flightPath, twoTheta));
            EXPECT_NEAR(back / start, 1.0f, 1e-5f)
                << static_cast<int>(a) << " -> " << static_cast<int>(b) << ": " << start
                << " came back as " << back;
        }
    }
}

// The loop over many values takes the legs with their checks noted instead of thrown, two values
// at a time where it can: for every pair, over values from below the smallest single's square to
// beyond the largest and values that are not positive, at an ordinary angle and at 0, it must
// give each value's result, or NaN exactly where they throw or give 0, both for a whole array
// and for one value alone.
TEST(Conversion, ConvertValuesIsEachValuesLegsOrNaNWhereTheyFail)
{
    std::vector<float> values{0.0f, -2.0f, std::numeric_limits<float>::quiet_NaN()};
    for (float value = 1e-45f; value < 3e38f; value *= 7.3f)
        values.push_back(value);
    values.push_back(std::numeric_limits<float>::max());
    std::vector<float> results(values.size());
    const auto bits = [](float value) { return BitCast<std::uint32_t>(value); };
    for (const float twoTheta : {60.0f, 0.0f}) {
        const float theta = ThetaFromTwoTheta(twoTheta);
        for (Quantity from : AllQuantities) {
            for (Quantity to : AllQuantities) {
                ConvertValues(from, to, 12.5f, theta, values, results, false);
                for (std::size_t i = 0; i < values.size(); ++i) {
                    float expected = std::numeric_limits<float>::quiet_NaN();
                    try {
                        ConversionInputs inputs = InputsForValue(values[i]);
                        inputs.FlightPath = 12.5f;
                        inputs.Theta = theta;
                        const float result = Convert(from, to, inputs);
                        expected = values[i] > 0.0f && result > 0.0f ? result : expected;
                    } catch (const ArithmeticError &) {
                    }
                    float alone = 0.0f;
                    ConvertValues(from, to, 12.5f, theta, std::span(&values[i], 1),
                                  std::span(&alone, 1), false);
                    ASSERT_EQ(bits(results[i]), bits(expected))
                        << static_cast<int>(from) << " -> " << static_cast<int>(to) << " of "
                        << values[i] << " at 2 theta " << twoTheta;
                    ASSERT_EQ(bits(alone), bits(expected)) << values[i] << " alone";
                }
            }
        }
    }
}

// Values of several pixels interleaved, an ordinary one, one at 2 theta = 0 and one whose flight
// path is NaN (as the module marks an unusable pixel): each value's result, shown or not, must be
// ConvertValues' for it with its own pixel's geometry, in every pair.
TEST(Conversion, ConvertValuesByPixelIsConvertValuesWithEachValuesPixel)
{
    const std::array<std::pair<float, float>, 3> geometry{
        {{12.5f, 60.0f}, {12.5f, 0.0f}, {std::numeric_limits<float>::quiet_NaN(), 150.0f}}};
    std::vector<float> values;
    std::vector<std::size_t> pixelOf;
    for (float value = 1e-30f; value < 1e30f; value *= 9.1f) {
        values.push_back(value);
        pixelOf.push_back((values.size() * 7) % geometry.size());
    }
    std::vector<float> results(values.size());
    const auto bits = [](float value) { return BitCast<std::uint32_t>(value); };
    for (Quantity from : AllQuantities) {
        for (Quantity to : AllQuantities) {
            std::vector<PixelGeometry> pixels;
            for (const auto &[path, twoTheta] : geometry)
                pixels.push_back(PreparePixel(from, to, path, ThetaFromTwoTheta(twoTheta)));
            for (const bool shown : {false, true}) {
                ConvertValuesByPixel(from, to, pixels, pixelOf, values, results, shown);
                for (std::size_t i = 0; i < values.size(); ++i) {
                    const auto &[path, twoTheta] = geometry[pixelOf[i]];
                    float alone = 0.0f;
                    ConvertValues(from, to, path, ThetaFromTwoTheta(twoTheta),
                                  std::span(&values[i], 1), std::span(&alone, 1), shown);
                    ASSERT_EQ(bits(results[i]), bits(alone))
                        << static_cast<int>(from) << " -> " << static_cast<int>(to) << " of "
                        << values[i] << " at pixel " << pixelOf[i];
                }
            }
        }
    }
}

} // namespace
} // namespace pevrand
