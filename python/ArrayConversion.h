// The Convert command over arrays of numbers, for the Python module: the loop that turns each
// element into the number the window would show, with no Python in it, so that it runs with the
// interpreter's lock released. The values, the angles, the flight paths, the pixels, the mask
// and the results may each be laid out any way over the result's shape (numpy's strides, 0
// where an array is broadcast) and hold any numeric type; the loop walks them together in C
// order and reads each element as it is, with no copy of the whole array.
#pragma once

#include "convert/ConvertCommand.h"

#include <cstddef>
#include <optional>
#include <span>

namespace pevrand::python
{

// What to do with an element that fails.
enum class FailurePolicy {
    Stop,       // stop at the first failure and report it
    NotANumber, // give it NaN and go on; a failure of a scalar angle or flight path still stops
};

// The numbers an array holds, in the machine's byte order.
enum class ElementType {
    Bool,
    Int8,
    Int16,
    Int32,
    Int64,
    UInt8,
    UInt16,
    UInt32,
    UInt64,
    Float16,
    Float32,
    Float64,
    LongDouble,
};

// An array as the loop reads it: the element at index (i0, i1, ...) of the result's shape lies
// at Data plus i0 * Strides[0] + i1 * Strides[1] + ... bytes, aligned or not.
struct StridedArray {
    const void *Data = nullptr;
    std::span<const std::ptrdiff_t> Strides;
    ElementType Type = ElementType::Float64;
};

// A table with one number a detector pixel: entry p lies at Data plus p * Stride bytes.
struct PixelTable {
    const void *Data = nullptr;
    std::ptrdiff_t Stride = 0;
    std::size_t Length = 0;
    ElementType Type = ElementType::Float64;
};

// The angle or the flight path: one box for every element (a number, or nothing given), one
// number an element when Numbers.Data is set, or one a pixel when PerPixel.Data is set.
struct GeometryArgument {
    std::optional<float> Box;
    StridedArray Numbers;
    PixelTable PerPixel;
};

struct ArrayRequest {
    Quantity Source = Quantity::Energy, Target = Quantity::Energy;
    std::span<const std::ptrdiff_t> Shape; // the result's
    StridedArray Values;
    GeometryArgument Angle, Path;
    StridedArray Pixels; // an integer type; none when Data is null
    StridedArray Masked; // of Bool; none masked when Data is null
    float *Results = nullptr;
    std::span<const std::ptrdiff_t> ResultStrides;
    bool Rounded = true;
    FailurePolicy Policy = FailurePolicy::Stop;
};

// The failure that stopped a loop: the flat index (in C order) of its element, none when no
// element was at fault (a scalar angle or flight path that no element got as far as); and the
// window's message, none when the element's pixel is negative or lies beyond the tables.
struct ArrayFailure {
    std::optional<std::size_t> Index;
    std::optional<MessageId> Message;
};

// The largest number of dimensions of an array the loop takes: numpy's own limit.
inline constexpr std::size_t MaxDimensions = 64;

// Converts every element of the request into its results (at most MaxDimensions dimensions).
// Each value, angle and flight path goes in as the single nearest to it, as its box would hold
// it after its shortest text was typed; a geometry argument is read only where the pair of
// quantities needs it. With pixels, each element takes its pixel's entry of a per-pixel table,
// each pixel's geometry checked and prepared once; a pixel with an unusable entry fails its own
// elements only, and a negative pixel, or one beyond a table, stops the loop whatever the
// policy. `Rounded`: the single nearest to the number the output box shows, else the engine's
// result before the rounding. A masked element is not converted and never fails: it gets its
// value as a single. A failing element stops the loop or gives NaN as the policy says; a scalar
// angle or flight path that is missing or unusable fails whatever the elements are, after
// those that fail before reaching it. On a stop, the results from the failing index on are not
// set. Throws nothing but std::bad_alloc, where the pixels' tables find no memory.
std::optional<ArrayFailure> ConvertArray(const ArrayRequest &request);

} // namespace pevrand::python
