// What the module's loop over arrays hands a conversion, and what it hears back: plain C++, no
// Python and no numpy, so that a kernel runs on any thread with the interpreter's lock released.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>

namespace pevrand::python
{

// What to do with an element that fails.
enum class FailurePolicy {
    Stop,       // stop at the first failing element and report it
    NotANumber, // give it NaN and go on
};

// Why an element failed: the message, the argument at fault ("value", "angle", "path", "tof",
// "l1", ...), and the pixel whose table entry was at fault, if one was.
struct Failure {
    std::string_view Message;
    std::string_view Field;
    std::optional<std::int64_t> Pixel;
    // Every element would fail so, whatever its values: a scalar argument that is missing or
    // unusable. It stops whatever the policy and names no element.
    bool NoElement = false;
    // The element's pixel lies outside the tables (Pixel is that pixel): stops whatever the
    // policy.
    bool OutsideTables = false;
};

// The most operands a kernel reads.
inline constexpr std::size_t MaxOperands = 8;

// One stretch of elements, as the loop hands it over: each operand's elements side by side, of
// the type the kernel asked for, in the machine's byte order and aligned; First is the flat
// index (in C order over the result's shape) of the first.
struct Stretch {
    std::size_t First = 0, Count = 0;
    std::array<const void *, MaxOperands> In{};
    void *Out = nullptr;
};

// A failing element of a stretch: its offset in the stretch, and why.
using StretchFailure = std::pair<std::size_t, Failure>;

// A conversion of arrays, one stretch at a time, from any number of threads at once.
class ArrayKernel
{
public:
    virtual ~ArrayKernel() = default;
    // Converts the stretch into Out: each element that fails becomes NaN. Returns the first
    // element that stops the loop: under Stop the first that fails, under NotANumber only one
    // that stops whatever the policy; the results after it are left unspecified.
    virtual std::optional<StretchFailure> Convert(const Stretch &stretch,
                                                  FailurePolicy policy) const = 0;
};

} // namespace pevrand::python
