// The conversion in double precision throughout, for the editions whose steps keep every double
// (the CODATA ones): the same legs through the energy in meV as the classic conversion, with the
// edition's factors, each step checked against the double range instead of the single one.
#pragma once

#include "engine/ArithmeticError.h"
#include "engine/Conversion.h"
#include "engine/Editions.h"

#include <cstddef>
#include <span>

namespace pevrand
{

// One conversion's inputs in double precision.
struct WideInputs {
    double InputValue;  // x, in the unit of the input quantity, greater than 0
    double InputSquare; // x * x
    double FlightPath;  // total flight path L in metres
    double Theta;       // Bragg angle in radians, half the scattering angle
};

// Fresh inputs for `value`: its square formed at once, the flight path 10 m and theta a
// quarter of pi. Throws ArithmeticError where the square overflows double precision.
WideInputs WideInputsForValue(double value);

// Theta in radians from 2 theta in degrees (the caller has checked 0..180): (pi * twoTheta) / 360
// in double precision.
double WideThetaFromTwoTheta(double twoTheta);

// The input leg with `edition`'s factors: the neutron energy in meV of inputs.InputValue given in
// `input`. Throws ArithmeticError.
double WideEnergyFromInput(Edition edition, Quantity input, const WideInputs &inputs);

// The output leg with `edition`'s factors: the value in `output` of the energy `energyMeV`.
// Throws ArithmeticError.
double WideResultFromEnergy(Edition edition, Quantity output, double energyMeV,
                            const WideInputs &inputs);

// Both legs for many values of one pair and one geometry: results[i] is what the two legs give
// for values[i], or NaN where it is not greater than 0, where a step would throw or where the
// result is not greater than 0. `shown`: each result as five significant figures show it,
// ShownWideValue(result). True when no result is NaN. Never throws; the spans are equally long.
bool ConvertWideValues(Edition edition, Quantity input, Quantity output, double flightPath,
                       double theta, std::span<const double> values, std::span<double> results,
                       bool shown);

// The geometry ConvertWideValuesByPixel converts a pixel's values with.
PixelGeometry PrepareWidePixel(Edition edition, Quantity input, Quantity output, double flightPath,
                               double theta);

// ConvertWideValues for the values of many pixels: values[i] with pixels[pixelOf[i]].
bool ConvertWideValuesByPixel(Edition edition, Quantity input, Quantity output,
                              std::span<const PixelGeometry> pixels,
                              std::span<const std::size_t> pixelOf, std::span<const double> values,
                              std::span<double> results, bool shown);

} // namespace pevrand
