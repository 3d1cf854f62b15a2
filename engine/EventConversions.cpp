#include "EventConversions.h"

#include <cmath>
#include <numbers>

namespace pevrand::events
{
namespace
{

constexpr double MicrosecondsPerSecond = 1e6;

bool PositiveFinite(double value)
{
    return value > 0 && std::isfinite(value);
}

// The first of `parameters` that Conversion won't take, if any.
template <class Conversion>
std::optional<Unusable> FirstUnusable(const std::array<double, Conversion::Parameters> &parameters)
{
    for (std::size_t p = 0; p < Conversion::Parameters; ++p)
        if (!Conversion::Usable(p, parameters[p]))
            return Unusable{p};
    return std::nullopt;
}

} // namespace

std::string_view FailureText(Failure failure)
{
    switch (failure) {
    case Failure::None:
        break;
    case Failure::TimeNotPositive:
        return "Time-of-flight must be positive";
    case Failure::TimeTooShort:
        return "Time-of-flight too short: the neutron could not have arrived by then";
    case Failure::TimeNotFinite:
        return "Time-of-flight must be finite";
    case Failure::TransferNotFinite:
        return "Energy transfer must be finite";
    case Failure::EnergyNotPositive:
        return "Energy transfer leaves no positive neutron energy";
    case Failure::NoPositiveDspacing:
        return "Time-of-flight at or before TZERO: no positive d-spacing";
    case Failure::DspacingNotPositive:
        return "d-spacing must be positive";
    case Failure::BeyondTurningPoint:
        return "Beyond the turning point of the calibration's negative DIFA";
    case Failure::OutOfRange:
        return "Value out of range for this conversion";
    case Failure::ParameterUnusable:
        return "Parameter unusable";
    }
    return {};
}

double MilliElectronvoltsPer(TransferUnit unit, const EnergyFactors &factors)
{
    switch (unit) {
    case TransferUnit::Wavenumber:
        return factors.Wavenumber;
    case TransferUnit::Terahertz:
        return factors.Frequency;
    case TransferUnit::MilliElectronvolt:
        break;
    }
    return 1.0;
}

bool EnergyTransfer::Usable(std::size_t, double value)
{
    return PositiveFinite(value);
}

EnergyTransfer::Prepared EnergyTransfer::Prepare(std::array<double, Parameters> parameters,
                                                 FixedEnergy fixed, TransferUnit unit,
                                                 const EnergyFactors &factors)
{
    Prepared prepared;
    prepared.Failed = FirstUnusable<EnergyTransfer>(parameters);
    if (prepared.Failed)
        return prepared;
    const auto [l1, l2, energy] = parameters;
    prepared.Direct = fixed == FixedEnergy::Incident;
    prepared.Energy = energy;
    prepared.Velocity = factors.Velocity;
    prepared.Scale = MilliElectronvoltsPer(unit, factors);
    // The leg of the fixed energy takes the same time for every event; the event's time less
    // that is the other leg's.
    const double speed = std::sqrt(energy / factors.Velocity);
    const double fixedLeg = prepared.Direct ? l1 : l2, ownLeg = prepared.Direct ? l2 : l1;
    prepared.Time = fixedLeg * MicrosecondsPerSecond / speed;
    prepared.Length = ownLeg * MicrosecondsPerSecond;
    if (!std::isfinite(prepared.Time) || !std::isfinite(prepared.Length))
        prepared.Failed = Unusable{prepared.Direct ? 0u : 1u};
    return prepared;
}

bool MomentumTransfer::Usable(std::size_t parameter, double value)
{
    return parameter == 0 ? value >= 0 && value <= 180 : PositiveFinite(value);
}

MomentumTransfer::Prepared MomentumTransfer::Prepare(std::array<double, Parameters> parameters,
                                                     FixedEnergy fixed, TransferUnit unit,
                                                     const EnergyFactors &factors)
{
    Prepared prepared;
    prepared.Failed = FirstUnusable<MomentumTransfer>(parameters);
    if (prepared.Failed)
        return prepared;
    const auto [twoTheta, energy] = parameters;
    const double sinTheta = std::sin(twoTheta * std::numbers::pi / 360.0);
    prepared.FourSinSquared = 4.0 * sinTheta * sinTheta;
    prepared.Energy = energy;
    prepared.Wavevector = factors.Wavevector;
    prepared.Scale = MilliElectronvoltsPer(unit, factors);
    prepared.Direct = fixed == FixedEnergy::Incident;
    return prepared;
}

bool Calibration::Usable(std::size_t parameter, double value)
{
    return parameter == 0 ? PositiveFinite(value) : std::isfinite(value);
}

Calibration::Prepared Calibration::Prepare(std::array<double, Parameters> parameters)
{
    Prepared prepared;
    prepared.Failed = FirstUnusable<Calibration>(parameters);
    const auto [difc, difa, tzero] = parameters;
    prepared.Difc = difc;
    prepared.DifcSquared = difc * difc;
    prepared.FourDifa = 4.0 * difa;
    prepared.Difa = difa;
    prepared.Tzero = tzero;
    if (!prepared.Failed &&
        (!std::isfinite(prepared.DifcSquared) || !std::isfinite(prepared.FourDifa)))
        prepared.Failed = Unusable{std::isfinite(prepared.DifcSquared) ? 1u : 0u};
    return prepared;
}

} // namespace pevrand::events
