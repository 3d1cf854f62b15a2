// What each of the ten quantities is, in one table: its name and the other names it answers to,
// its unit (plain, and as a typesetter writes it), what it means in a line, and which geometry
// it reads. The command's help and manual page, the module's docstrings, its quantities() and
// its xarray units, and the page's links are all made from this table: a new quantity is a new
// row.
#pragma once

#include "engine/Conversion.h"

#include <array>
#include <cstddef>
#include <string_view>

namespace pevrand
{

struct QuantityRow {
    Quantity Is;
    std::string_view Name;                   // lower case: what `all` prints and links carry
    std::array<std::string_view, 3> Aliases; // listed other names; empty ones unused
    std::string_view Unit;                   // plain ASCII: "meV", "Angstrom", "1/Angstrom"
    std::string_view Symbol;                 // typeset: "meV", "Å", "Å⁻¹", "µs" (UTF-8)
    std::string_view Description;            // "neutron energy in meV"
    bool ReadsAngle;      // Q and d-spacing: 2 theta, when exactly one side reads it
    bool ReadsFlightPath; // time-of-flight: the flight path, when exactly one side reads it
};

// In Quantity order, the order in which the window tests its options and `all` prints. Names
// and aliases are matched without regard to ASCII case, except "K", for a lower-case k is the
// wavevector's symbol. Angstrom and inverse Angstrom are no alias: each is the unit of two.
inline constexpr std::array<QuantityRow, 10> QuantityTable{{
    {Quantity::Energy, "energy", {"meV"}, "meV", "meV", "neutron energy in meV", false, false},
    {Quantity::Wavelength,
     "wavelength",
     {"lambda"},
     "Angstrom",
     "Å",
     "wavelength in Angstrom",
     false,
     false},
    {Quantity::Nu, "nu", {"THz", "frequency"}, "THz", "THz", "frequency in THz", false, false},
    {Quantity::Velocity, "velocity", {"m/s"}, "m/s", "m/s", "velocity in m/s", false, false},
    {Quantity::Momentum,
     "momentum",
     {"wavevector"},
     "1/Angstrom",
     "Å⁻¹",
     "wavevector k in inverse Angstrom",
     false,
     false},
    {Quantity::Temperature, "temperature", {"K"}, "K", "K", "temperature in kelvin", false, false},
    {Quantity::Invcm,
     "invcm",
     {"cm-1", "wavenumber"},
     "cm-1",
     "cm⁻¹",
     "energy in inverse cm",
     false,
     false},
    {Quantity::Q,
     "q",
     {},
     "1/Angstrom",
     "Å⁻¹",
     "momentum transfer Q in inverse Angstrom",
     true,
     false},
    {Quantity::Dspacing,
     "dspacing",
     {"d-spacing"},
     "Angstrom",
     "Å",
     "d-spacing in Angstrom",
     true,
     false},
    {Quantity::Tof,
     "tof",
     {"time-of-flight", "us", "µs"},
     "us",
     "µs",
     "time-of-flight in microseconds",
     false,
     true},
}};

// The row of `quantity`.
constexpr const QuantityRow &RowOf(Quantity quantity)
{
    return QuantityTable[static_cast<std::size_t>(quantity)];
}

namespace detail
{
constexpr bool QuantityRowsInOrder()
{
    for (std::size_t i = 0; i < QuantityTable.size(); ++i)
        if (static_cast<std::size_t>(QuantityTable[i].Is) != i)
            return false;
    return static_cast<std::size_t>(Quantity::Tof) + 1 == QuantityTable.size();
}
} // namespace detail
static_assert(detail::QuantityRowsInOrder(), "RowOf indexes the table by quantity");

} // namespace pevrand
