// The ten quantities looked up by name: the names and aliases of the quantity table, as
// pevrand-convert, the Python module and the page's links accept them.
#pragma once

#include "engine/Conversion.h"

#include <optional>
#include <string>
#include <string_view>

namespace pevrand
{

// The lower-case name of a quantity, as --help lists it and as `all` lines print it.
std::string_view QuantityName(Quantity quantity);

// The quantity that a name names: a quantity name or an alias matched without regard to ASCII
// case, or one of the units that belong to one quantity only ("K" only in upper case, since a
// lower-case k is the wavevector's symbol). Empty for anything else, "all" included.
std::optional<Quantity> QuantityFromName(std::string_view name);

// A quantity's listed other names, joined by ", " ("THz, frequency"); empty for none.
std::string ListedAliases(Quantity quantity);

// The accepted names, each as a person would type it, for a message: "energy (meV), wavelength
// (lambda), ..., tof (time-of-flight, us, µs)". Other encodings of a listed name (a Greek mu for
// the micro sign) are accepted but not listed.
std::string AcceptedNames();

// True when a and b are equal once ASCII capitals are made small.
bool SameIgnoringCase(std::string_view a, std::string_view b);

} // namespace pevrand
