// The module's one loop over arrays: numpy's own iterator walks the operands together, in C order
// over their broadcast shape, hands out stretches of them cast to the kernel's types, side by
// side and in the machine's byte order, and writes the results back where they belong, for any
// layout, dtype or byte order. Large arrays are cut into fixed ranges that a team of threads
// converts with the interpreter's lock released; each element is converted as on one thread,
// and the failure reported is the first in C order, whatever the number of threads.
#pragma once

#include "ArrayKernel.h"
#include "Numpy.h"

#include <cstddef>
#include <optional>
#include <span>

namespace pevrand::python
{

// An array the loop reads, and the numpy type number the kernel reads it as (numpy casts each
// stretch to it: float32 from float64 rounds once to the nearest single, int64 to float32 or
// float64 once, float16 and narrower types exactly).
struct LoopOperand {
    PyArrayObject *Array = nullptr;
    int Type = NPY_FLOAT32;
};

// The failure that stopped the loop: the flat index of its element (C order) and why.
struct LoopFailure {
    std::size_t Index = 0;
    Failure Why;
};

// Arrays with fewer elements than this are converted on the calling thread.
inline constexpr std::size_t SmallArray = 65536;

// How many threads convert `elements` elements: one for a small array, else OMP_NUM_THREADS
// where it is set and otherwise every core the process may run on; one in a process forked from
// one that has run a team of threads, since GNU OpenMP's team does not survive a fork.
int ThreadsFor(std::size_t elements);

// Runs `kernel` over `inputs` (at most MaxOperands, broadcast together) into `out`, whose shape
// is the broadcast shape and whose elements are read by the kernel as `outType`. Needs the
// interpreter's lock, and releases it while converting. Throws pybind11's error_already_set
// where numpy refuses the operands.
std::optional<LoopFailure> RunLoop(std::span<const LoopOperand> inputs, PyArrayObject *out,
                                   int outType, const ArrayKernel &kernel, FailurePolicy policy);

} // namespace pevrand::python
