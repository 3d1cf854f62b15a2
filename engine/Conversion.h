// The conversion engine: one positive value in one of ten neutron quantities, turned into
// another through the neutron energy in meV.
//
// Every working value is a single; each step is evaluated in double precision and rounded to
// single only where the physics table of the conversion says so. Each step is checked: a zero
// divisor, a non-finite double or a double too large for single precision throws
// ArithmeticError. Underflow is not an error.
#pragma once

#include "engine/ArithmeticError.h"

#include <cstddef>
#include <optional>
#include <span>

namespace pevrand
{

// The ten quantities, in the order in which the Convert command tests the options.
enum class Quantity {
    Energy,
    Wavelength,
    Nu,
    Velocity,
    Momentum,
    Temperature,
    Invcm,
    Q,
    Dspacing,
    Tof
};

// One conversion's single-precision inputs.
struct ConversionInputs {
    float InputValue;  // x, in the unit of the input quantity, greater than 0
    float InputSquare; // single(x * x)
    float FlightPath;  // total flight path L in metres
    float Theta;       // Bragg angle in radians, half the scattering angle
};

// Fresh inputs: value and square 0, flight path 10 m, theta a quarter of pi.
ConversionInputs DefaultConversionInputs();

// Fresh inputs for the value `value`: its square single(value * value) formed at once, the
// geometry at its defaults. Throws ArithmeticError when the square overflows single precision
// (a value of 2^64 or more), whatever the quantities.
ConversionInputs InputsForValue(float value);

// True when exactly one side is time-of-flight; an unselected side is not.
bool NeedsFlightPath(std::optional<Quantity> input, std::optional<Quantity> output);

// True when exactly one side is Q or d-spacing; an unselected side is neither.
bool NeedsAngle(std::optional<Quantity> input, std::optional<Quantity> output);

// Theta in radians from 2 theta in degrees (the caller has checked 0..180):
// single((Pi * twoTheta) / 360).
float ThetaFromTwoTheta(float twoTheta);

// The input leg: the neutron energy in meV of inputs.InputValue given in `input`.
// Throws ArithmeticError.
float EnergyFromInput(Quantity input, const ConversionInputs &inputs);

// The output leg: the value in `output` of the energy `energyMeV`. Throws ArithmeticError.
float ResultFromEnergy(Quantity output, float energyMeV, const ConversionInputs &inputs);

// Both legs for many values of one pair and one geometry: results[i] is
// ResultFromEnergy(output, EnergyFromInput(input, inputs), inputs) for the inputs of values[i]
// (InputsForValue, with the flight path and theta given), or NaN where values[i] is not greater
// than 0, where any of those steps would throw (the square's included) or where the result is 0,
// which has no significant figures. `shown`: each result as the output box shows it instead,
// ShownResult(result). True when no result is NaN. Never throws; the two spans are equally long.
bool ConvertValues(Quantity input, Quantity output, float flightPath, float theta,
                   std::span<const float> values, std::span<float> results, bool shown);

// ConvertValues for values given as doubles, each read as the single nearest to it.
bool ConvertValues(Quantity input, Quantity output, float flightPath, float theta,
                   std::span<const double> values, std::span<float> results, bool shown);

// One detector pixel's geometry as ConvertValuesByPixel takes it, formed once for all the
// pixel's values: sin(theta) where the pair reads the angle, and what the time-of-flight legs
// make of the flight path where it reads that. NaN throughout where forming it failed, or for a
// pixel whose values must all fail.
struct PixelGeometry {
    double SinTheta = 0.0, TofNumerator = 0.0, FlightPathMm = 0.0;
};

// The geometry ConvertValues converts with for this pair, flight path and theta.
PixelGeometry PreparePixel(Quantity input, Quantity output, float flightPath, float theta);

// A pixel whose every value fails.
PixelGeometry FailingPixel();

// ConvertValues for the values of many pixels at once, in any order: values[i] is converted with
// pixels[pixelOf[i]] (every index below pixels.size()), bit for bit as ConvertValues converts it
// with that pixel's flight path and theta. The spans values, pixelOf and results are equally
// long. True when no result is NaN. Never throws.
bool ConvertValuesByPixel(Quantity input, Quantity output, std::span<const PixelGeometry> pixels,
                          std::span<const std::size_t> pixelOf, std::span<const float> values,
                          std::span<float> results, bool shown);

// ConvertValuesByPixel for values given as doubles, each read as the single nearest to it.
bool ConvertValuesByPixel(Quantity input, Quantity output, std::span<const PixelGeometry> pixels,
                          std::span<const std::size_t> pixelOf, std::span<const double> values,
                          std::span<float> results, bool shown);

} // namespace pevrand
