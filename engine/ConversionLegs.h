// The conversion legs as templates, for the engine's one-value functions and its loops over
// many values alike. Internal to the engine.
#pragma once

#ifndef PEVRAND_ENGINE_INTERNAL
#error "ConversionLegs.h is the engine's own: use Conversion.h"
#endif

#include "CheckedMath.h"
#include "Conversion.h"
#include "Editions.h"
#include "Quantities.h"

#include <cmath>

namespace pevrand::legs
{

// The classic factors, as held: the doubles nearest to their decimals (Editions.h).
inline constexpr const EnergyFactors &ClassicFactors = RowOf(Edition::Classic).Factors;

// The constants every edition's steps share.
constexpr double Half = 0.5;
constexpr double MicrometresPerMetre = 1000000.0;
constexpr float MillimetresPerMetre = 1000.0f;

constexpr bool UsesAngle(Quantity side)
{
    return RowOf(side).ReadsAngle;
}

// What the legs read of one conversion's geometry, formed once for all the values that share
// it: sin(theta), which only the angular legs read; the time-of-flight input leg's numerator
// (L * 10^6)^2 * 5.2276e-06, with L * 10^6 rounded to single; and the time-of-flight output leg's
// L * 1000 in double. G is a double, or two doubles, one a lane, where the values of two pixels
// go through the legs at once.
template <class G> struct LegGeometry {
    G SinTheta{}, TofNumerator{}, FlightPathMm{};
};

// What the legs read of one value: the value and its square (singles as the Checks hold them).
template <class Checks> struct LegInputs {
    typename Checks::Single InputValue, InputSquare;
};

// The geometry that the legs of the input side `side` (or of the output side) read, from the
// flight path and theta; what that side does not read is left 0. The steps are checked as the
// legs' are.
template <class Checks>
LegGeometry<double> SideGeometry(Quantity side, bool inputSide, typename Checks::Single flightPath,
                                 typename Checks::Single theta, const EnergyFactors &factors,
                                 Checks &checks)
{
    LegGeometry<double> geometry;
    if (UsesAngle(side))
        geometry.SinTheta = std::sin(static_cast<double>(theta));
    if (side == Quantity::Tof && inputSide) {
        const double lMicro = static_cast<double>(
            checks.Round(checks.Finite(static_cast<double>(flightPath) * MicrometresPerMetre)));
        geometry.TofNumerator = checks.Finite(checks.Finite(lMicro * factors.Velocity) * lMicro);
    }
    if (side == Quantity::Tof && !inputSide) {
        // L * 1000 stays a double: it is not rounded to single before the product.
        geometry.FlightPathMm = checks.Finite(static_cast<double>(flightPath) *
                                              static_cast<double>(MillimetresPerMetre));
    }
    return geometry;
}

// Both sides' geometry at once, for a loop over values that share it.
template <class Checks>
LegGeometry<double> PairGeometry(Quantity input, Quantity output,
                                 typename Checks::Single flightPath, typename Checks::Single theta,
                                 const EnergyFactors &factors, Checks &checks)
{
    LegGeometry<double> geometry = SideGeometry(input, true, flightPath, theta, factors, checks);
    const LegGeometry<double> out = SideGeometry(output, false, flightPath, theta, factors, checks);
    if (UsesAngle(output))
        geometry.SinTheta = out.SinTheta;
    geometry.FlightPathMm = out.FlightPathMm;
    return geometry;
}

// The legs, written once for every caller and every edition: the Checks policy throws (one
// conversion) or notes (a loop over many values, one or two at a time) and keeps each step's
// value in single or double precision, the factors are the edition's, and the geometry is the
// pair's, formed once. Always inlined, so that a loop over one pair runs without a call, and the
// classic factors are the constants they always were.
template <Quantity Input, class Checks, class G>
[[gnu::always_inline]] inline typename Checks::Single
EnergyOf(const LegInputs<Checks> &inputs, const LegGeometry<G> &geometry,
         const EnergyFactors &factors, Checks &checks)
{
    const auto x = checks.Wide(inputs.InputValue);
    const auto x2 = checks.Wide(inputs.InputSquare);
    const G &sinTheta = geometry.SinTheta;
    if constexpr (Input == Quantity::Energy) {
        return inputs.InputValue;
    } else if constexpr (Input == Quantity::Wavelength) {
        return checks.Round(checks.Divide(factors.Wavelength, x2));
    } else if constexpr (Input == Quantity::Nu) {
        return checks.Round(checks.Finite(x * factors.Frequency));
    } else if constexpr (Input == Quantity::Velocity) {
        return checks.Round(checks.Finite(x2 * factors.Velocity));
    } else if constexpr (Input == Quantity::Momentum) {
        return checks.Round(checks.Finite(x2 * factors.Wavevector));
    } else if constexpr (Input == Quantity::Temperature) {
        return checks.Round(checks.Finite(x * factors.Temperature));
    } else if constexpr (Input == Quantity::Invcm) {
        return checks.Round(checks.Finite(x * factors.Wavenumber));
    } else if constexpr (Input == Quantity::Q) {
        const auto k = checks.Wide(checks.Round(checks.Divide(checks.Finite(x * Half), sinTheta)));
        return checks.Round(checks.Finite(checks.Finite(k * factors.Wavevector) * k));
    } else if constexpr (Input == Quantity::Dspacing) {
        const auto lambda =
            checks.Wide(checks.Round(checks.Finite(checks.Finite(x + x) * sinTheta)));
        return checks.Round(checks.Divide(factors.Wavelength, checks.Finite(lambda * lambda)));
    } else {
        static_assert(Input == Quantity::Tof);
        return checks.Round(checks.Divide(geometry.TofNumerator, x2));
    }
}

template <Quantity Output, class Checks, class G>
[[gnu::always_inline]] inline typename Checks::Single
ResultOf(typename Checks::Single energyMeV, const LegGeometry<G> &geometry,
         const EnergyFactors &factors, Checks &checks)
{
    const auto e = checks.Wide(energyMeV);
    const G &sinTheta = geometry.SinTheta;
    if constexpr (Output == Quantity::Energy) {
        return energyMeV;
    } else if constexpr (Output == Quantity::Wavelength) {
        return checks.Round(checks.Sqrt(checks.Divide(factors.Wavelength, e)));
    } else if constexpr (Output == Quantity::Nu) {
        return checks.Round(checks.Divide(e, factors.Frequency));
    } else if constexpr (Output == Quantity::Velocity) {
        return checks.Round(checks.Sqrt(checks.Divide(e, factors.Velocity)));
    } else if constexpr (Output == Quantity::Momentum) {
        return checks.Round(checks.Sqrt(checks.Divide(e, factors.Wavevector)));
    } else if constexpr (Output == Quantity::Temperature) {
        return checks.Round(checks.Divide(e, factors.Temperature));
    } else if constexpr (Output == Quantity::Invcm) {
        return checks.Round(checks.Divide(e, factors.Wavenumber));
    } else if constexpr (Output == Quantity::Q) {
        const auto k = checks.Wide(checks.Round(checks.Sqrt(checks.Divide(e, factors.Wavevector))));
        return checks.Round(checks.Finite(checks.Finite(k + k) * sinTheta));
    } else if constexpr (Output == Quantity::Dspacing) {
        const auto lambda =
            checks.Wide(checks.Round(checks.Sqrt(checks.Divide(factors.Wavelength, e))));
        return checks.Round(checks.Divide(checks.Finite(lambda * Half), sinTheta));
    } else {
        static_assert(Output == Quantity::Tof);
        const auto r = checks.Sqrt(checks.Divide(factors.Tof, e));
        return checks.Round(checks.Finite(geometry.FlightPathMm * r));
    }
}

// One value, or two, through the square and both legs, its checks noted in `checks`, which
// also takes the value and the result (each must be greater than 0), for the loops over many
// values: Single is one number or two, G the geometry's doubles, the same for both or one a
// lane.
template <Quantity Input, Quantity Output, class Checks, class G>
[[gnu::always_inline]] inline typename Checks::Single
Converted(typename Checks::Single value, const LegGeometry<G> &geometry,
          const EnergyFactors &factors, Checks &checks)
{
    const auto x = checks.Wide(value);
    checks.Positive(x);
    const LegInputs<Checks> inputs{value, checks.Round(x * x)};
    const auto energy = EnergyOf<Input>(inputs, geometry, factors, checks);
    const auto result = ResultOf<Output>(energy, geometry, factors, checks);
    checks.Positive(checks.Wide(result));
    return checks.Result(result);
}

// A pixel's geometry as the legs read it.
inline LegGeometry<double> GeometryOf(const PixelGeometry &pixel)
{
    return {pixel.SinTheta, pixel.TofNumerator, pixel.FlightPathMm};
}

#if defined(__SSE2__)
// Two pixels' geometry, one a lane, for two values of two pixels at once. (Only what the pair's
// legs read is loaded: the rest is dropped as unused.)
inline LegGeometry<checked::DoublePair> LanesOf(const PixelGeometry &low, const PixelGeometry &high)
{
    return {_mm_set_pd(high.SinTheta, low.SinTheta),
            _mm_set_pd(high.TofNumerator, low.TofNumerator),
            _mm_set_pd(high.FlightPathMm, low.FlightPathMm)};
}
#endif

// Calls body.template operator()<quantity>(): a quantity known at run time made a constant.
template <class Body> decltype(auto) WithQuantity(Quantity quantity, Body &&body)
{
    switch (quantity) {
    case Quantity::Energy:
        return body.template operator()<Quantity::Energy>();
    case Quantity::Wavelength:
        return body.template operator()<Quantity::Wavelength>();
    case Quantity::Nu:
        return body.template operator()<Quantity::Nu>();
    case Quantity::Velocity:
        return body.template operator()<Quantity::Velocity>();
    case Quantity::Momentum:
        return body.template operator()<Quantity::Momentum>();
    case Quantity::Temperature:
        return body.template operator()<Quantity::Temperature>();
    case Quantity::Invcm:
        return body.template operator()<Quantity::Invcm>();
    case Quantity::Q:
        return body.template operator()<Quantity::Q>();
    case Quantity::Dspacing:
        return body.template operator()<Quantity::Dspacing>();
    case Quantity::Tof:
        break;
    }
    return body.template operator()<Quantity::Tof>();
}

} // namespace pevrand::legs
