#include "Editions.h"

namespace pevrand
{

std::optional<Edition> EditionFromName(std::string_view name)
{
    for (const EditionRow &row : EditionTable)
        if (row.Name == name)
            return row.Is;
    return std::nullopt;
}

std::string EditionNames()
{
    std::string names;
    for (const EditionRow &row : EditionTable) {
        if (!names.empty())
            names += ", ";
        names += row.Name;
    }
    return names;
}

} // namespace pevrand
