#include "ArrayLoop.h"

#include <pybind11/pybind11.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <mutex>
#include <vector>

#include <omp.h>
#include <sched.h>
#include <unistd.h>

namespace py = pybind11;

namespace pevrand::python
{
namespace
{

// The elements a thread takes at a time: large enough that a range costs little to start, small
// enough that two threads share out an array evenly.
constexpr npy_intp RangeSize = 1 << 16;

// The process whose GNU OpenMP runs a team: a process forked from it must not start one.
std::atomic<pid_t> teamProcess{0};

struct IteratorDeleter {
    void operator()(NpyIter *iterator) const { NpyIter_Deallocate(iterator); }
};
using Iterator = std::unique_ptr<NpyIter, IteratorDeleter>;

// One thread's own copy of the iterator, and what it reads of it.
struct Walker {
    Iterator It;
    NpyIter_IterNextFunc *Next = nullptr;
    char **Data = nullptr;
    npy_intp *Strides = nullptr;
    npy_intp *Size = nullptr;
};

Walker WalkerOf(Iterator iterator)
{
    Walker walker;
    char *message = nullptr;
    walker.Next = NpyIter_GetIterNext(iterator.get(), &message);
    if (walker.Next == nullptr)
        throw py::value_error(message ? message : "numpy's iterator has no next step");
    walker.Data = NpyIter_GetDataPtrArray(iterator.get());
    walker.Strides = NpyIter_GetInnerStrideArray(iterator.get());
    walker.Size = NpyIter_GetInnerLoopSizePtr(iterator.get());
    walker.It = std::move(iterator);
    return walker;
}

// The first failure of all the ranges, by index: ranges that start past it need not run.
class FirstFailure
{
public:
    std::size_t Index() const { return index_.load(std::memory_order_relaxed); }

    void Offer(const LoopFailure &failure)
    {
        const std::lock_guard lock(mutex_);
        if (!failure_ || failure.Index < failure_->Index) {
            failure_ = failure;
            index_.store(failure.Index, std::memory_order_relaxed);
        }
    }

    std::optional<LoopFailure> Take() { return failure_; }

private:
    std::atomic<std::size_t> index_{std::numeric_limits<std::size_t>::max()};
    std::mutex mutex_;
    std::optional<LoopFailure> failure_;
};

// Converts the elements [begin, end) with the walker's iterator. False where numpy's iterator
// failed (its casts can't here, for real numbers).
bool ConvertRange(Walker &walker, npy_intp begin, npy_intp end, std::size_t operands,
                  const ArrayKernel &kernel, FailurePolicy policy, FirstFailure &first)
{
    char *message = nullptr;
    if (NpyIter_ResetToIterIndexRange(walker.It.get(), begin, end, &message) != NPY_SUCCEED)
        return false;
    do {
        const auto index = static_cast<std::size_t>(NpyIter_GetIterIndex(walker.It.get()));
        if (index > first.Index())
            return true; // an earlier element has failed
        Stretch stretch;
        stretch.First = index;
        stretch.Count = static_cast<std::size_t>(*walker.Size);
        // Each operand is side by side in the stretch, as asked of the iterator; a stretch of
        // one element may say any stride.
        for (std::size_t k = 0; k < operands; ++k)
            stretch.In[k] = walker.Data[k];
        stretch.Out = walker.Data[operands];
        if (const std::optional<StretchFailure> failure = kernel.Convert(stretch, policy)) {
            first.Offer({index + failure->first, failure->second});
            // One more step writes this stretch's results back where the output is buffered
            // (another byte order, another layout), those before the failure included.
            walker.Next(walker.It.get());
            return true;
        }
    } while (walker.Next(walker.It.get()));
    return true;
}

} // namespace

int ThreadsFor(std::size_t elements)
{
    if (elements < SmallArray)
        return 1;
    const pid_t self = getpid();
    pid_t team = 0;
    if (!teamProcess.compare_exchange_strong(team, self) && team != self)
        return 1;
    if (std::getenv("OMP_NUM_THREADS") != nullptr)
        return std::max(1, omp_get_max_threads());
    // Every core the process may run on now (taskset, a container's share), which GNU OpenMP
    // only looks at when it starts.
    cpu_set_t cores;
    if (sched_getaffinity(0, sizeof cores, &cores) != 0)
        return std::max(1, omp_get_max_threads());
    return std::max(1, CPU_COUNT(&cores));
}

std::optional<LoopFailure> RunLoop(std::span<const LoopOperand> inputs, PyArrayObject *out,
                                   int outType, const ArrayKernel &kernel, FailurePolicy policy)
{
    const std::size_t operands = inputs.size();
    if (operands > MaxOperands)
        throw py::value_error("too many operands for the loop");
    std::vector<PyArrayObject *> arrays;
    std::vector<npy_uint32> flags;
    std::vector<PyArray_Descr *> types;
    const auto typeOf = [](int type) {
        // (A new reference to a built-in descriptor, which NpyIter_MultiNew does not steal.)
        return PyArray_DescrFromType(type);
    };
    for (const LoopOperand &operand : inputs) {
        arrays.push_back(operand.Array);
        flags.push_back(NPY_ITER_READONLY | NPY_ITER_NBO | NPY_ITER_ALIGNED | NPY_ITER_CONTIG);
        types.push_back(typeOf(operand.Type));
    }
    arrays.push_back(out);
    flags.push_back(NPY_ITER_WRITEONLY | NPY_ITER_NBO | NPY_ITER_ALIGNED | NPY_ITER_CONTIG |
                    NPY_ITER_NO_BROADCAST);
    types.push_back(typeOf(outType));
    const auto release = [&] {
        for (PyArray_Descr *type : types)
            Py_XDECREF(type);
    };
    // Buffered, so that every stretch is side by side, cast and in native order whatever the
    // arrays are; ranged, so that threads can take ranges of it; in C order, so that the
    // iterator's index is the flat index a failure is reported at. An output that overlaps an
    // input is written through a copy.
    Iterator iterator(NpyIter_MultiNew(static_cast<int>(arrays.size()), arrays.data(),
                                       NPY_ITER_EXTERNAL_LOOP | NPY_ITER_BUFFERED |
                                           NPY_ITER_GROWINNER | NPY_ITER_RANGED |
                                           NPY_ITER_ZEROSIZE_OK | NPY_ITER_COPY_IF_OVERLAP,
                                       NPY_CORDER, NPY_UNSAFE_CASTING, flags.data(), types.data()));
    release();
    if (!iterator)
        throw py::error_already_set();
    const npy_intp size = NpyIter_GetIterSize(iterator.get());
    if (size == 0)
        return std::nullopt;

    // Casting that needs the interpreter (none of the real types does) stays on this thread
    // and keeps the lock.
    const bool needsInterpreter = NpyIter_IterationNeedsAPI(iterator.get());
    const int threads = needsInterpreter ? 1 : ThreadsFor(static_cast<std::size_t>(size));
    const npy_intp ranges = (size + RangeSize - 1) / RangeSize;
    const int team = static_cast<int>(std::min<npy_intp>(threads, ranges));

    std::vector<Walker> walkers;
    for (int t = 1; t < team; ++t) {
        Iterator copy(NpyIter_Copy(iterator.get()));
        if (!copy)
            throw py::error_already_set();
        walkers.push_back(WalkerOf(std::move(copy)));
    }
    walkers.insert(walkers.begin(), WalkerOf(std::move(iterator)));

    FirstFailure first;
    std::atomic<bool> iteratorFailed{false};
    const auto convert = [&](int thread, npy_intp range) {
        const npy_intp begin = range * RangeSize, end = std::min(size, begin + RangeSize);
        if (static_cast<std::size_t>(begin) > first.Index())
            return;
        if (!ConvertRange(walkers[static_cast<std::size_t>(thread)], begin, end, operands, kernel,
                          policy, first))
            iteratorFailed = true;
    };
    if (team == 1 && needsInterpreter) {
        for (npy_intp range = 0; range < ranges; ++range)
            convert(0, range);
    } else {
        py::gil_scoped_release unlocked;
        if (team == 1) {
            for (npy_intp range = 0; range < ranges; ++range)
                convert(0, range);
        } else {
#pragma omp parallel for num_threads(team) schedule(dynamic, 1)
            for (npy_intp range = 0; range < ranges; ++range)
                convert(omp_get_thread_num(), range);
        }
    }
    if (iteratorFailed)
        throw py::value_error("numpy's iterator could not read the arrays");
    return first.Take();
}

} // namespace pevrand::python
