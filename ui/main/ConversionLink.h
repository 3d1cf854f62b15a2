// A conversion carried in an address, so that a link shares it: the fragment
// "#v=4&from=wavelength&to=nu", with the optional fields angle= (2 theta in degrees), path=
// (the total flight path in metres) and constants= (an edition other than classic, by its
// name), read into what the Convert command reads and written back from it. The quantities go by
// the names of pevrand-convert and the Python module.
#pragma once

#include "convert/ConvertCommand.h"

#include <optional>
#include <string>
#include <string_view>

namespace pevrand
{

// The conversion that the fragment `fragment` carries, with or without its leading "#": fields
// name=value joined by "&", in any order, percent-escapes decoded ("+" stays a plus, as in the
// exponent 1E+05), the first of a repeated field counting and fields of other names ignored.
// v, from and to must be there and from and to must each name a quantity (a name or an alias
// that QuantityFromName knows), and constants, where given, an edition's name; otherwise the
// link is ignored whole and the answer is empty.
// An absent angle or path is an empty box. Each text is cut to BoxCharacters characters, and
// bytes that are not UTF-8 and control characters (a NUL, a line break) become U+FFFD. Never throws
// for any fragment but on running out of memory.
std::optional<ConvertRequest> ReadLink(std::string_view fragment);

// The fragment that carries `conversion`: "#v=...&from=...&to=...", then "&angle=..." and
// "&path=..." for a geometry box that holds text, and "&constants=..." for an edition other
// than classic; each text percent-escaped but for ASCII letters, digits and "-._~", each
// quantity and edition by its name. Empty when either unit is missing.
std::string LinkFragment(const ConvertRequest &conversion);

} // namespace pevrand
