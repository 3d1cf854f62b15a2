// The editions of the physical constants, one row each: Pevrand's classic factors, with their
// single-precision steps, and the CODATA recommended values of 2018 and 2022, whose factors are
// worked out here from the exact SI constants and the edition's neutron mass, in double
// precision. A new edition is one new row.
#pragma once

#include <array>
#include <cstddef>
#include <numbers>
#include <optional>
#include <string>
#include <string_view>

namespace pevrand
{

enum class Edition { Classic, Codata2018, Codata2022 };

// What an edition makes of the neutron energy E in meV: each factor relates E to a quantity.
struct EnergyFactors {
    double Wavelength;  // E * lambda^2, meV Å^2
    double Wavevector;  // E / k^2, meV Å^2
    double Frequency;   // E / nu, meV/THz
    double Velocity;    // E / v^2, meV s^2/m^2
    double Temperature; // E / T, meV/K
    double Wavenumber;  // E / wavenumber, meV cm
    // The time-of-flight result's factor, E * t^2 / L^2 with t in µs and L in mm, that is
    // Velocity * 10^6; the classic edition holds it as a number of its own.
    double Tof;
};

struct EditionRow {
    Edition Is;
    std::string_view Name;             // as the command, the module and links name it
    std::string_view Title;            // as people read it
    std::string_view Source;           // where its numbers come from
    std::optional<double> NeutronMass; // kg; none for the classic factors
    EnergyFactors Factors;
    // The classic steps: each rounded to single where its table says, the result a single.
    // The others: every step in double precision.
    bool SingleSteps;
};

namespace codata
{
// The SI's defining constants (2019), exact.
inline constexpr double Planck = 6.62607015e-34;                     // h, J s
inline constexpr double ElementaryCharge = 1.602176634e-19;          // e, C
inline constexpr double Boltzmann = 1.380649e-23;                    // k_B, J/K
inline constexpr double SpeedOfLight = 299792458.0;                  // c, m/s
inline constexpr double MilliElectronvolt = ElementaryCharge * 1e-3; // J

// The factors of a neutron of mass `mass` kg: E = h^2 / (2 m lambda^2), k = 2 pi / lambda,
// E = m v^2 / 2, E = h nu, E = h c wavenumber, E = k_B T.
constexpr EnergyFactors FactorsFor(double mass)
{
    const double wavelength = Planck * Planck / (2.0 * mass) * 1e20 / MilliElectronvolt;
    const double velocity = mass / 2.0 / MilliElectronvolt;
    return {wavelength,
            wavelength / (4.0 * std::numbers::pi * std::numbers::pi),
            Planck * 1e12 / MilliElectronvolt,
            velocity,
            Boltzmann / MilliElectronvolt,
            Planck * SpeedOfLight * 100.0 / MilliElectronvolt,
            velocity * 1e6};
}

inline constexpr double NeutronMass2018 = 1.67492749804e-27; // kg
inline constexpr double NeutronMass2022 = 1.67492750056e-27; // kg
} // namespace codata

// In Edition order; classic first, the default everywhere.
inline constexpr std::array<EditionRow, 3> EditionTable{{
    {Edition::Classic,
     "classic",
     "Pevrand's classic factors",
     "the factors of the 1970s ICANS table that the Pevrand window has always used",
     std::nullopt,
     {81.787, 2.0717, 4.1354, 5.2276e-06, 0.086165, 0.123975, 5.2276},
     true},
    {Edition::Codata2018, "codata2018", "CODATA 2018",
     "CODATA recommended values of the fundamental physical constants: 2018, E. Tiesinga, "
     "P. J. Mohr, D. B. Newell and B. N. Taylor, Rev. Mod. Phys. 93, 025010 (2021)",
     codata::NeutronMass2018, codata::FactorsFor(codata::NeutronMass2018), false},
    {Edition::Codata2022, "codata2022", "CODATA 2022",
     "CODATA recommended values of the fundamental physical constants: 2022, P. J. Mohr, "
     "D. B. Newell, B. N. Taylor and E. Tiesinga (arXiv:2409.03787, physics.nist.gov/constants)",
     codata::NeutronMass2022, codata::FactorsFor(codata::NeutronMass2022), false},
}};

// The row of `edition`.
constexpr const EditionRow &RowOf(Edition edition)
{
    return EditionTable[static_cast<std::size_t>(edition)];
}

// The edition named `name` (exactly, lower case), or none.
std::optional<Edition> EditionFromName(std::string_view name);

// The editions' names, for a message: "classic, codata2018, codata2022".
std::string EditionNames();

namespace detail
{
constexpr bool EditionRowsInOrder()
{
    for (std::size_t i = 0; i < EditionTable.size(); ++i)
        if (static_cast<std::size_t>(EditionTable[i].Is) != i)
            return false;
    return true;
}
} // namespace detail
static_assert(detail::EditionRowsInOrder(), "RowOf indexes the table by edition");

} // namespace pevrand
