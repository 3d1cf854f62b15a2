// The per-pixel tables of event data: each pixel's angle and flight path read once, checked
// once and made into the geometry its events are converted with, so that nothing of the size
// of the events is gathered.
#pragma once

#include "convert/ValueConversion.h"
#include "engine/Conversion.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace pevrand::python
{

// Where a pixel's entry lies in tables of `length` entries (none: no table, no upper bound), the
// pixel ids counted from `offset`: id p is at position p - offset.
class PixelPositions
{
public:
    PixelPositions(std::optional<std::size_t> length, std::int64_t offset)
        : offset_(offset),
          bound_(length ? static_cast<__int128>(*length) : static_cast<__int128>(1) << 100)
    {
    }

    // Sets `entry` to the table position of pixel id `pixel`; false where it lies outside the
    // tables: a negative position, or one past their length.
    template <class Id> bool Find(Id pixel, std::size_t &entry) const
    {
        const __int128 position = static_cast<__int128>(pixel) - offset_;
        entry = static_cast<std::size_t>(position);
        return position >= 0 && position < bound_;
    }

private:
    __int128 offset_, bound_;
};

// A geometry argument beside pixels: a table with one number a pixel, or one number (or none
// given) for every pixel. Number is the precision of the edition's steps.
template <class Number> struct PixelArgument {
    std::optional<std::span<const Number>> Table;
    std::optional<Number> Value;
};

template <class Number> class PixelTables
{
public:
    // The tables of the pair (source, target) in `edition`. A pixel id p is the table position
    // p - offset. A table given but not read still bounds the pixel ids.
    PixelTables(Quantity source, Quantity target, Edition edition, PixelArgument<Number> angle,
                PixelArgument<Number> path, std::int64_t offset);

    // Sets `entry` to the table position of pixel id `pixel`; false where it lies outside the
    // tables: a negative position, or one past the shortest table.
    template <class Id> bool Find(Id pixel, std::size_t &entry) const
    {
        return positions_.Find(pixel, entry);
    }

    // Whether the pair reads a table: else the pixels only bound, and every element converts
    // with the numbers given.
    bool Read() const { return angles_ || paths_; }

    // Where Read(), each position's geometry as the loops by pixel take it, and one position
    // more, NoEntry, for elements that are not converted (masked).
    std::span<const PixelGeometry> Geometries() const { return geometries_; }
    std::size_t NoEntry() const { return geometries_.size() - 1; }

    // The checks and conversion of position `entry`'s events, for finding why one failed.
    BasicValueConversion<Number> ConversionOf(std::size_t entry) const;

    // Whether the angle or the flight path comes from a table, so that a failure of it names the
    // pixel.
    bool AngleFromTable() const { return angles_.has_value(); }
    bool PathFromTable() const { return paths_.has_value(); }

private:
    Quantity source_, target_;
    Edition edition_;
    PixelArgument<Number> angle_, path_;
    std::optional<std::vector<Number>> angles_, paths_; // the tables the pair reads
    std::optional<std::size_t> length_;
    PixelPositions positions_;
    std::vector<PixelGeometry> geometries_;
};

extern template class PixelTables<float>;
extern template class PixelTables<double>;

} // namespace pevrand::python
