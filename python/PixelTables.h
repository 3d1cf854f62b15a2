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

// A geometry argument beside pixels: a table with one number a pixel, or one number (or none
// given) for every pixel.
struct PixelArgument {
    std::optional<std::span<const float>> Table;
    std::optional<float> Number;
};

class PixelTables
{
public:
    // The tables of the pair (source, target). A pixel id p is the table position p - offset.
    // A table given but not read still bounds the pixel ids.
    PixelTables(Quantity source, Quantity target, PixelArgument angle, PixelArgument path,
                std::int64_t offset);

    // Sets `entry` to the table position of pixel id `pixel`; false where it lies outside the
    // tables: a negative position, or one past the shortest table.
    template <class Id> bool Find(Id pixel, std::size_t &entry) const
    {
        const __int128 position = static_cast<__int128>(pixel) - offset_;
        entry = static_cast<std::size_t>(position);
        return position >= 0 && position < bound_;
    }

    // Whether the pair reads a table: else the pixels only bound, and every element converts
    // with the numbers given.
    bool Read() const { return angles_ || paths_; }

    // Where Read(), each position's geometry as ConvertValuesByPixel takes it, and one position
    // more, NoEntry, for elements that are not converted (masked).
    std::span<const PixelGeometry> Geometries() const { return geometries_; }
    std::size_t NoEntry() const { return geometries_.size() - 1; }

    // The checks and conversion of position `entry`'s events, for finding why one failed.
    ValueConversion ConversionOf(std::size_t entry) const;

    // Whether the angle or the flight path comes from a table, so that a failure of it names the
    // pixel.
    bool AngleFromTable() const { return angles_.has_value(); }
    bool PathFromTable() const { return paths_.has_value(); }

    // The shortest table's length, or none when no table is given.
    std::optional<std::size_t> Length() const { return length_; }

private:
    Quantity source_, target_;
    PixelArgument angle_, path_;
    std::optional<std::vector<float>> angles_, paths_; // the tables the pair reads
    std::int64_t offset_;
    std::optional<std::size_t> length_;
    __int128 bound_; // the shortest table's length, or beyond every position
    std::vector<PixelGeometry> geometries_;
};

} // namespace pevrand::python
