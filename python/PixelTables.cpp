#include "PixelTables.h"

#include <algorithm>

namespace pevrand::python
{

namespace
{

template <class Number>
std::optional<std::size_t> ShortestTable(const PixelArgument<Number> &angle,
                                         const PixelArgument<Number> &path)
{
    std::optional<std::size_t> length;
    for (const PixelArgument<Number> *argument : {&angle, &path})
        if (argument->Table)
            length = std::min(length.value_or(argument->Table->size()), argument->Table->size());
    return length;
}

} // namespace

template <class Number>
PixelTables<Number>::PixelTables(Quantity source, Quantity target, Edition edition,
                                 PixelArgument<Number> angle, PixelArgument<Number> path,
                                 std::int64_t offset)
    : source_(source), target_(target), edition_(edition), angle_(angle), path_(path),
      length_(ShortestTable(angle, path)), positions_(length_, offset)
{
    // Only the tables the pair reads are kept, each to the shortest table's length.
    const auto kept = [&](const PixelArgument<Number> &argument, bool read) {
        std::optional<std::vector<Number>> table;
        if (read && argument.Table)
            table.emplace(argument.Table->begin(), argument.Table->begin() + *length_);
        return table;
    };
    angles_ = kept(angle_, NeedsAngle(source, target));
    paths_ = kept(path_, NeedsFlightPath(source, target));

    const std::size_t entries = angles_ || paths_ ? *length_ : 0;
    geometries_.reserve(entries + 1);
    for (std::size_t entry = 0; entry < entries; ++entry)
        geometries_.push_back(ConversionOf(entry).Geometry());
    geometries_.push_back(FailingPixel());
}

template <class Number>
BasicValueConversion<Number> PixelTables<Number>::ConversionOf(std::size_t entry) const
{
    const bool listed = length_ && entry < *length_;
    const auto number = [&](const std::optional<std::vector<Number>> &table,
                            const PixelArgument<Number> &argument) -> std::optional<Number> {
        if (table)
            return listed ? std::optional((*table)[entry]) : std::nullopt;
        return argument.Value;
    };
    return BasicValueConversion<Number>(source_, target_, number(angles_, angle_),
                                        number(paths_, path_), edition_);
}

template class PixelTables<float>;
template class PixelTables<double>;

} // namespace pevrand::python
