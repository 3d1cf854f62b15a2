// The conversions of event data beyond the elastic ones, each in double precision, one event at
// a time: the energy transfer of a direct- or indirect-geometry spectrometer from an event's
// time-of-flight, the momentum transfer |Q| from an energy transfer and a scattering angle, and
// a calibrated diffractometer's d-spacing from a time-of-flight (and back) in the GSAS
// convention, tof = DIFC d + DIFA d^2 + TZERO.
//
// Each conversion has parameters that are the same for all the events of a detector pixel (the
// flight paths, the fixed energy, the angle, the calibration): Prepare checks them and works out
// what every event of the pixel shares, once; Convert then takes one event. A failure says which
// argument was at fault.
#pragma once

#include "engine/Editions.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <limits>
#include <optional>
#include <string_view>

namespace pevrand::events
{

// Why an event, or a pixel's parameters, failed.
enum class Failure : unsigned char {
    None,
    TimeNotPositive,     // the time-of-flight is not positive and finite
    TimeTooShort,        // the neutron could not have arrived by then: t2 or t1 not positive
    TimeNotFinite,       // a calibrated time-of-flight that is not finite
    TransferNotFinite,   // an energy transfer that is not finite
    EnergyNotPositive,   // Ei - dE (direct) or Ef + dE (indirect) not positive
    NoPositiveDspacing,  // a time-of-flight at or before TZERO: no positive d-spacing
    DspacingNotPositive, // a d-spacing that is not positive and finite
    BeyondTurningPoint,  // past the turning point of a negative DIFA: the time no longer rises
    OutOfRange,          // a step beyond the double range
    ParameterUnusable,   // a pixel's parameter (Failed::Parameter says which)
};

// What a failure is about and what people read: the argument at fault is the event's own value
// for every failure but ParameterUnusable, which names the parameter.
std::string_view FailureText(Failure failure);

// Which energy a spectrometer fixes: the incident one (direct geometry, Ei) or the final one
// (indirect geometry, Ef).
enum class FixedEnergy { Incident, Final };

// The unit of an energy transfer: meV, or meV over the edition's E/wavenumber (cm-1) or E/nu
// (THz).
enum class TransferUnit { MilliElectronvolt, Wavenumber, Terahertz };

// The factor an energy transfer in `unit` is multiplied by to give meV.
double MilliElectronvoltsPer(TransferUnit unit, const EnergyFactors &factors);

// A parameter that failed its check, or with which a step went beyond the double range: its
// position among the conversion's parameters.
struct Unusable {
    std::size_t Parameter;
};

// Energy transfer dE = Ei - Ef from a time-of-flight in µs from the source pulse. Parameters:
// l1 (source to sample, m), l2 (sample to detector, m), and the fixed energy (meV), each
// positive and finite. Direct: vi from Ei, t2 = tof - l1/vi, vf = l2/t2, Ef from vf. Indirect:
// vf from Ef, t1 = tof - l2/vf, vi = l1/t1, Ei from vi. E = E/v^2 * v^2 with the edition's
// factor.
struct EnergyTransfer {
    static constexpr std::size_t Parameters = 3;
    // Whether parameter `parameter` may be `value`: positive and finite.
    static bool Usable(std::size_t parameter, double value);
    struct Prepared {
        double Time = 0;   // µs the other flight path takes at the fixed energy
        double Length = 0; // the flight path of the event's own leg, µm (m/s times µs)
        double Energy = 0; // the fixed energy, meV
        double Velocity = 0, Scale = 1; // E/v^2, and meV to the transfer's unit
        bool Direct = true;
        std::optional<Unusable> Failed;
    };
    static Prepared Prepare(std::array<double, Parameters> parameters, FixedEnergy fixed,
                            TransferUnit unit, const EnergyFactors &factors);
    static double Convert(double tof, const Prepared &prepared, Failure &failure);
};

// Momentum transfer |Q| (Å^-1) from an energy transfer dE (in its unit). Parameters: 2 theta
// (degrees, 0 to 180) and the fixed energy (meV, positive and finite). Ef = Ei - dE (direct) or
// Ei = Ef + dE (indirect), each positive; k = sqrt(E / (E/k^2)); Q^2 = ki^2 + kf^2
// - 2 ki kf cos 2theta, worked out as (ki - kf)^2 + 4 ki kf sin^2 theta, which cancels nothing.
struct MomentumTransfer {
    static constexpr std::size_t Parameters = 2;
    // 2 theta from 0 to 180 degrees, the energy positive and finite.
    static bool Usable(std::size_t parameter, double value);
    struct Prepared {
        double FourSinSquared = 0; // 4 sin^2 theta
        double Energy = 0, Wavevector = 0, Scale = 1;
        bool Direct = true;
        std::optional<Unusable> Failed;
    };
    static Prepared Prepare(std::array<double, Parameters> parameters, FixedEnergy fixed,
                            TransferUnit unit, const EnergyFactors &factors);
    static double Convert(double transfer, const Prepared &prepared, Failure &failure);
};

// A calibrated diffractometer pixel: tof = DIFC d + DIFA d^2 + TZERO, tof in µs, d in Å, DIFC
// in µs/Å (positive and finite), DIFA in µs/Å^2 and TZERO in µs (each finite).
struct Calibration {
    static constexpr std::size_t Parameters = 3;
    // DIFC positive and finite, DIFA and TZERO finite.
    static bool Usable(std::size_t parameter, double value);
    struct Prepared {
        double Difc = 0, DifcSquared = 0, FourDifa = 0, Difa = 0, Tzero = 0;
        std::optional<Unusable> Failed;
    };
    static Prepared Prepare(std::array<double, Parameters> parameters);
};

// d from tof: with D = tof - TZERO, D / DIFC where DIFA is 0, else 2D / (DIFC + sqrt(DIFC^2 +
// 4 DIFA D)), the root that tends to the linear one as DIFA goes to 0, without cancellation. An
// event fails where the time is not finite, the root's argument is negative, or d is not
// positive.
struct TofToDspacing : Calibration {
    static double Convert(double tof, const Prepared &prepared, Failure &failure);
};

// tof from d: DIFC d + DIFA d^2 + TZERO. An event fails where d is not positive and finite, or
// lies past the turning point of a negative DIFA (DIFC + 2 DIFA d not positive), where the time
// no longer rises with d and TofToDspacing could not bring it back.
struct DspacingToTof : Calibration {
    static double Convert(double d, const Prepared &prepared, Failure &failure);
};

// The conversions of one event, inline for the loops over many, and without a branch on the
// event's numbers: events of different pixels come in any order, and which of them fail can't
// be foretold. Every step is worked out, the failures are picked in the order of the checks,
// and a failed event's number is of no meaning.
namespace detail
{
inline bool PositiveFinite(double value)
{
    return value > 0 && value <= std::numeric_limits<double>::max();
}

inline bool Finite(double value)
{
    return std::fabs(value) <= std::numeric_limits<double>::max();
}
} // namespace detail

inline double EnergyTransfer::Convert(double tof, const Prepared &prepared, Failure &failure)
{
    const double time = tof - prepared.Time;
    const double speed = prepared.Length / time;
    const double energy = prepared.Velocity * speed * speed;
    // Ei - Ef: the fixed energy less the event's (direct), or the event's less it (indirect).
    const double transfer =
        (prepared.Direct ? prepared.Energy - energy : energy - prepared.Energy) / prepared.Scale;
    failure = !detail::PositiveFinite(tof) ? Failure::TimeNotPositive
              : !(time > 0)                ? Failure::TimeTooShort
              : !detail::Finite(transfer)  ? Failure::OutOfRange
                                           : failure;
    return transfer;
}

inline double MomentumTransfer::Convert(double transfer, const Prepared &prepared, Failure &failure)
{
    const double meV = transfer * prepared.Scale;
    const double other = prepared.Direct ? prepared.Energy - meV : prepared.Energy + meV;
    const double initial = prepared.Direct ? prepared.Energy : other;
    const double final = prepared.Direct ? other : prepared.Energy;
    const double ki = std::sqrt(std::fabs(initial) / prepared.Wavevector);
    const double kf = std::sqrt(std::fabs(final) / prepared.Wavevector);
    const double difference = ki - kf;
    const double q = std::sqrt(difference * difference + ki * kf * prepared.FourSinSquared);
    failure = !detail::Finite(meV)             ? Failure::TransferNotFinite
              : !detail::PositiveFinite(other) ? Failure::EnergyNotPositive
              : !detail::Finite(q)             ? Failure::OutOfRange
                                               : failure;
    return q;
}

inline double TofToDspacing::Convert(double tof, const Prepared &prepared, Failure &failure)
{
    const double delta = tof - prepared.Tzero;
    const double root = prepared.DifcSquared + prepared.FourDifa * delta;
    // Where DIFA is 0 the root is the linear one, D / DIFC.
    const double d = prepared.Difa == 0
                         ? delta / prepared.Difc
                         : 2.0 * delta / (prepared.Difc + std::sqrt(std::fabs(root)));
    failure = !detail::Finite(tof) ? Failure::TimeNotFinite
              : prepared.Difa != 0 && !(root >= 0)
                  ? (detail::Finite(root) ? Failure::BeyondTurningPoint : Failure::OutOfRange)
              : !(d > 0)           ? Failure::NoPositiveDspacing
              : !detail::Finite(d) ? Failure::OutOfRange
                                   : failure;
    return d;
}

inline double DspacingToTof::Convert(double d, const Prepared &prepared, Failure &failure)
{
    const double tof = (prepared.Difc + prepared.Difa * d) * d + prepared.Tzero;
    failure = !detail::PositiveFinite(d)                       ? Failure::DspacingNotPositive
              : !(prepared.Difc + 2.0 * prepared.Difa * d > 0) ? Failure::BeyondTurningPoint
              : !detail::Finite(tof)                           ? Failure::OutOfRange
                                                               : failure;
    return tof;
}

} // namespace pevrand::events
