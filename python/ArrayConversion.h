// The Convert command over arrays of numbers, for the Python module: the loop that turns each
// element into the number the window would show, with no Python in it, so that it runs with the
// interpreter's lock released. The values, the angles, the flight paths and the mask may each
// be laid out any way over the result's shape (numpy's strides, 0 where an array is broadcast);
// the loop walks them together in C order.
#pragma once

#include "ui/main/ConvertCommand.h"

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

// An array of T as the loop reads it: the element at index (i0, i1, ...) of the result's shape
// lies at Data plus i0 * Strides[0] + i1 * Strides[1] + ... bytes.
template <class T> struct StridedArray {
    const T *Data = nullptr;
    std::span<const std::ptrdiff_t> Strides;
};

// The angle or the flight path: one box for every element (a number, or nothing given), or one
// number an element when Numbers.Data is set.
struct GeometryArgument {
    BoxReading Box;
    StridedArray<double> Numbers;
};

struct ArrayRequest {
    Quantity Source = Quantity::Energy, Target = Quantity::Energy;
    std::span<const std::ptrdiff_t> Shape; // the result's
    StridedArray<double> Values;
    GeometryArgument Angle, Path;
    StridedArray<bool> Masked; // none masked when Data is null
    bool Rounded = true;
    FailurePolicy Policy = FailurePolicy::Stop;
};

// The failure that stopped a loop: the flat index (in C order) of its element, none when no
// element was at fault (a scalar angle or flight path that no element got as far as), and the
// window's message.
struct ArrayFailure {
    std::optional<std::size_t> Index;
    MessageId Message;
};

// The largest number of dimensions of an array the loop takes: numpy's own limit.
inline constexpr std::size_t MaxDimensions = 64;

// Converts every element of the request into `results`, C-ordered over the request's shape (as
// many elements as the shape holds, at most MaxDimensions dimensions). Each value, angle and
// flight path goes in as the single nearest to it, as its box would hold it after its shortest
// text was typed; a geometry argument is read only where the pair of quantities needs it.
// `Rounded`: the single nearest to the number the output box shows, else the engine's result
// before the rounding. A masked element is not converted and never fails: it gets its value
// as a single. A failing element stops the loop or gives NaN as the policy says; a scalar
// angle or flight path that is missing or unusable fails whatever the elements are, after
// those that fail before reaching it. On a stop, the results from the failing index on are not
// set. Never throws.
std::optional<ArrayFailure> ConvertArray(const ArrayRequest &request, std::span<float> results);

} // namespace pevrand::python
