#include "QuantityNames.h"

#include "Quantities.h"

#include <array>

namespace pevrand
{
namespace
{

// Other encodings of a listed name, accepted but not listed, for they read as the micro sign,
// which stands for them: GREEK SMALL LETTER MU, and its capital (what upper-casing a text makes
// of either).
struct Encoding {
    std::string_view Name;
    Quantity Is;
};
constexpr std::array<Encoding, 2> OtherEncodings{{
    {"\xCE\xBCs", Quantity::Tof},
    {"\xCE\x9Cs", Quantity::Tof},
}};

char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// "K" is kelvin only in upper case: a lower-case k is the wavevector's symbol.
bool MatchesAlias(std::string_view name, std::string_view alias)
{
    return alias == "K" ? name == alias : SameIgnoringCase(name, alias);
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
    return RowOf(quantity).Name;
}

std::optional<Quantity> QuantityFromName(std::string_view name)
{
    for (const QuantityRow &row : QuantityTable)
        if (SameIgnoringCase(name, row.Name))
            return row.Is;
    for (const QuantityRow &row : QuantityTable)
        for (const std::string_view alias : row.Aliases)
            if (!alias.empty() && MatchesAlias(name, alias))
                return row.Is;
    for (const Encoding &encoding : OtherEncodings)
        if (SameIgnoringCase(name, encoding.Name))
            return encoding.Is;
    return std::nullopt;
}

std::string ListedAliases(Quantity quantity)
{
    std::string list;
    for (const std::string_view alias : RowOf(quantity).Aliases) {
        if (alias.empty())
            continue;
        if (!list.empty())
            list += ", ";
        list += alias;
    }
    return list;
}

std::string AcceptedNames()
{
    std::string list;
    for (const QuantityRow &row : QuantityTable) {
        if (!list.empty())
            list += ", ";
        list += row.Name;
        if (const std::string aliases = ListedAliases(row.Is); !aliases.empty())
            list += " (" + aliases + ")";
    }
    return list;
}

} // namespace pevrand
