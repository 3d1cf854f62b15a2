#include "QuantityNames.h"

#include <array>

namespace pevrand
{
namespace
{

struct NamedQuantity {
    std::string_view Name;
    Quantity Is;
    bool ExactCase = false;
    bool Listed = true; // false for another encoding of a listed name, accepted but not shown
};

// In Quantity order: the names `all` prints.
constexpr std::array<NamedQuantity, 10> QuantityNames{{
    {"energy", Quantity::Energy},
    {"wavelength", Quantity::Wavelength},
    {"nu", Quantity::Nu},
    {"velocity", Quantity::Velocity},
    {"momentum", Quantity::Momentum},
    {"temperature", Quantity::Temperature},
    {"invcm", Quantity::Invcm},
    {"q", Quantity::Q},
    {"dspacing", Quantity::Dspacing},
    {"tof", Quantity::Tof},
}};

// Other names, each of one quantity only. Angstrom and inverse Angstrom are missing on
// purpose: each is the unit of two quantities.
constexpr std::array<NamedQuantity, 15> Aliases{{
    {"meV", Quantity::Energy},
    {"lambda", Quantity::Wavelength},
    {"THz", Quantity::Nu},
    {"frequency", Quantity::Nu},
    {"m/s", Quantity::Velocity},
    {"wavevector", Quantity::Momentum},
    {"K", Quantity::Temperature, true},
    {"cm-1", Quantity::Invcm},
    {"wavenumber", Quantity::Invcm},
    {"d-spacing", Quantity::Dspacing},
    {"time-of-flight", Quantity::Tof},
    {"us", Quantity::Tof},
    {"\xC2\xB5s", Quantity::Tof}, // MICRO SIGN, as keyboards type it
    // Accepted but not listed, for they read as the micro sign, which stands for them: GREEK
    // SMALL LETTER MU, and its capital (what upper-casing a text makes of either).
    {"\xCE\xBCs", Quantity::Tof, false, false},
    {"\xCE\x9Cs", Quantity::Tof, false, false},
}};

char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

bool SameIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i]))
            return false;
    return true;
}

std::string_view QuantityName(Quantity quantity)
{
    for (const NamedQuantity &named : QuantityNames)
        if (named.Is == quantity)
            return named.Name;
    return "?";
}

std::optional<Quantity> QuantityFromName(std::string_view name)
{
    for (const NamedQuantity &named : QuantityNames)
        if (SameIgnoringCase(name, named.Name))
            return named.Is;
    for (const NamedQuantity &named : Aliases)
        if (named.ExactCase ? name == named.Name : SameIgnoringCase(name, named.Name))
            return named.Is;
    return std::nullopt;
}

std::string AcceptedNames()
{
    std::string list;
    for (const NamedQuantity &named : QuantityNames) {
        if (!list.empty())
            list += ", ";
        list += named.Name;
        const char *separator = " (";
        for (const NamedQuantity &alias : Aliases) {
            if (alias.Is != named.Is || !alias.Listed)
                continue;
            list += separator;
            list += alias.Name;
            separator = ", ";
        }
        if (separator[0] == ',')
            list += ')';
    }
    return list;
}

} // namespace pevrand
