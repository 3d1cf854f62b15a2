#include "ArrayConversion.h"

#include "engine/BitCast.h"
#include "engine/Module1.h"
#include "engine/NumberText.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace pevrand::python
{
namespace
{

// The arrays the loop reads, in the order of Walk's operands.
enum Operand : std::size_t { ValueOperand, AngleOperand, PathOperand, MaskOperand, Operands };

// The result's shape with the axes of one element dropped and each axis merged into the one
// before it wherever every array steps over both as over one, so that the innermost axis is as
// long as it can be: a C-ordered array of any shape walks as one axis.
struct Layout {
    std::size_t Dimensions = 0;
    std::array<std::ptrdiff_t, MaxDimensions> Extents{};
    std::array<std::array<std::ptrdiff_t, MaxDimensions>, Operands> Strides{};
    std::size_t Elements = 1;
};

Layout Simplify(std::span<const std::ptrdiff_t> shape,
                const std::array<std::span<const std::ptrdiff_t>, Operands> &strides)
{
    Layout layout;
    for (std::size_t axis = 0; axis < shape.size(); ++axis) {
        const std::ptrdiff_t extent = shape[axis];
        layout.Elements *= static_cast<std::size_t>(extent);
        if (extent == 1)
            continue;
        const auto stride = [&](std::size_t operand) {
            return strides[operand].empty() ? 0 : strides[operand][axis];
        };
        std::size_t &d = layout.Dimensions;
        bool merges = d > 0;
        for (std::size_t operand = 0; operand < Operands && merges; ++operand)
            merges = layout.Strides[operand][d - 1] == stride(operand) * extent;
        if (merges) {
            layout.Extents[d - 1] *= extent;
            for (std::size_t operand = 0; operand < Operands; ++operand)
                layout.Strides[operand][d - 1] = stride(operand);
            continue;
        }
        layout.Extents[d] = extent;
        for (std::size_t operand = 0; operand < Operands; ++operand)
            layout.Strides[operand][d] = stride(operand);
        ++d;
    }
    return layout;
}

// Walks the layout's elements in C order, an address an operand.
class Walk
{
public:
    Walk(const Layout &layout, const std::array<const char *, Operands> &starts)
        : layout_(layout), at_(starts)
    {
    }

    // How many elements follow the current one along the innermost axis, itself included.
    std::size_t RunLength() const
    {
        if (layout_.Dimensions == 0)
            return 1;
        const std::size_t inner = layout_.Dimensions - 1;
        return static_cast<std::size_t>(layout_.Extents[inner] - index_[inner]);
    }

    // The operand's element `offset` places along the innermost axis from the current one.
    const char *At(std::size_t operand, std::size_t offset) const
    {
        const std::ptrdiff_t step =
            layout_.Dimensions == 0 ? 0 : layout_.Strides[operand][layout_.Dimensions - 1];
        return at_[operand] + static_cast<std::ptrdiff_t>(offset) * step;
    }

    // Moves `count` elements on, no further than the end of the innermost axis.
    void Advance(std::size_t count)
    {
        for (std::size_t axis = layout_.Dimensions; axis-- > 0;) {
            const auto moved = static_cast<std::ptrdiff_t>(count);
            index_[axis] += moved;
            for (std::size_t operand = 0; operand < Operands; ++operand)
                at_[operand] += moved * layout_.Strides[operand][axis];
            if (index_[axis] < layout_.Extents[axis])
                return;
            // Back to the start of this axis, one on along the axis before it.
            for (std::size_t operand = 0; operand < Operands; ++operand)
                at_[operand] -= layout_.Extents[axis] * layout_.Strides[operand][axis];
            index_[axis] = 0;
            count = 1;
        }
    }

private:
    const Layout &layout_;
    std::array<const char *, Operands> at_;
    std::array<std::ptrdiff_t, MaxDimensions> index_{};
};

double ReadDouble(const char *at)
{
    double value = 0.0;
    std::memcpy(&value, at, sizeof value);
    return value;
}

BoxReading NumberBox(float number)
{
    return {BoxReading::State::Number, number};
}

// The elements the loop takes at a time: few enough to stay in the fastest cache.
constexpr std::size_t ChunkSize = 512;

// One chunk's elements as the boxes would hold them.
struct Chunk {
    std::size_t Count = 0;
    std::array<float, ChunkSize> Values, Angles, Paths;
    std::array<bool, ChunkSize> Masked;
};

// The loop's state from one chunk to the next.
class ArrayLoop
{
public:
    ArrayLoop(const ArrayRequest &request, std::span<float> results)
        : request_(request), results_(results), angleArray_(ReadsArray(request.Angle, true)),
          pathArray_(ReadsArray(request.Path, false)),
          // Array arguments stand in here as numbers every conversion takes, so that this is the
          // message of the scalar arguments alone.
          scalarMessage_(Conversion(NumberBox(90.0f), NumberBox(10.0f)).GeometryMessage()),
          conversion_(Conversion({}, {}))
    {
    }

    std::optional<ArrayFailure> Run()
    {
        const std::array<std::span<const std::ptrdiff_t>, Operands> strides{
            request_.Values.Strides, angleArray_ ? request_.Angle.Numbers.Strides : NoStrides(),
            pathArray_ ? request_.Path.Numbers.Strides : NoStrides(), request_.Masked.Strides};
        const Layout layout = Simplify(request_.Shape, strides);
        const auto bytes = [](const auto *data) { return reinterpret_cast<const char *>(data); };
        Walk walk(layout, {bytes(request_.Values.Data), bytes(request_.Angle.Numbers.Data),
                           bytes(request_.Path.Numbers.Data), bytes(request_.Masked.Data)});
        for (std::size_t first = 0; first < layout.Elements; first += chunk_.Count) {
            Fill(walk, std::min(ChunkSize, layout.Elements - first));
            if (std::optional<ArrayFailure> failure = ConvertChunk(first))
                return failure;
        }
        if (scalarMessage_)
            return ArrayFailure{std::nullopt, *scalarMessage_};
        return std::nullopt;
    }

private:
    static std::span<const std::ptrdiff_t> NoStrides() { return {}; }

    bool ReadsArray(const GeometryArgument &argument, bool angle) const
    {
        return argument.Numbers.Data && (angle ? NeedsAngle(request_.Source, request_.Target)
                                               : NeedsFlightPath(request_.Source, request_.Target));
    }

    ValueConversion Conversion(BoxReading angleNumber, BoxReading pathNumber) const
    {
        return ValueConversion(request_.Source, request_.Target,
                               angleArray_ ? angleNumber : request_.Angle.Box,
                               pathArray_ ? pathNumber : request_.Path.Box);
    }

    void Fill(Walk &walk, std::size_t count)
    {
        chunk_.Count = count;
        for (std::size_t j = 0; j < count;) {
            const std::size_t run = std::min(walk.RunLength(), count - j);
            for (std::size_t k = 0; k < run; ++k)
                chunk_.Values[j + k] = NearestSingle(ReadDouble(walk.At(ValueOperand, k)));
            if (angleArray_)
                for (std::size_t k = 0; k < run; ++k)
                    chunk_.Angles[j + k] = NearestSingle(ReadDouble(walk.At(AngleOperand, k)));
            if (pathArray_)
                for (std::size_t k = 0; k < run; ++k)
                    chunk_.Paths[j + k] = NearestSingle(ReadDouble(walk.At(PathOperand, k)));
            if (request_.Masked.Data)
                for (std::size_t k = 0; k < run; ++k)
                    chunk_.Masked[j + k] = *walk.At(MaskOperand, k) != 0;
            walk.Advance(run);
            j += run;
        }
    }

    // The geometry of chunk element j, bit for bit, so that a NaN is equal to itself.
    std::uint64_t GeometryKey(std::size_t j) const
    {
        const auto angle = angleArray_ ? BitCast<std::uint32_t>(chunk_.Angles[j]) : 0u;
        const auto path = pathArray_ ? BitCast<std::uint32_t>(chunk_.Paths[j]) : 0u;
        return (std::uint64_t{angle} << 32) | path;
    }

    std::optional<ArrayFailure> ConvertChunk(std::size_t first)
    {
        chunkFirst_ = first;
        const std::span<float> out = results_.subspan(first, chunk_.Count);
        const std::span<const float> values(chunk_.Values.data(), chunk_.Count);
        if (!angleArray_ && !pathArray_)
            return ConvertRun(first, values, out);
        // Runs of elements with one geometry (a detector pixel's), each converted at once.
        for (std::size_t j = 0; j < chunk_.Count;) {
            const std::uint64_t key = GeometryKey(j);
            std::size_t end = j + 1;
            while (end < chunk_.Count && GeometryKey(end) == key)
                ++end;
            if (!conversionKey_ || *conversionKey_ != key) {
                conversion_ = Conversion(NumberBox(chunk_.Angles[j]), NumberBox(chunk_.Paths[j]));
                conversionKey_ = key;
            }
            if (std::optional<ArrayFailure> failure =
                    ConvertRun(first + j, values.subspan(j, end - j), out.subspan(j, end - j)))
                return failure;
            j = end;
        }
        return std::nullopt;
    }

    // Converts `values`, the chunk's elements from flat index `first` on, into `out` with
    // conversion_.
    std::optional<ArrayFailure> ConvertRun(std::size_t first, std::span<const float> values,
                                           std::span<float> out)
    {
        const bool allConverted = conversion_.ConvertResults(values, out, request_.Rounded);
        const std::span<const bool> masked(chunk_.Masked.data() + (first - chunkFirst_),
                                           values.size());
        const bool anyMasked = request_.Masked.Data != nullptr;
        if (allConverted && !anyMasked)
            return std::nullopt;
        for (std::size_t k = 0; k < values.size(); ++k) {
            if (anyMasked && masked[k]) {
                out[k] = values[k];
                continue;
            }
            if (!std::isnan(out[k]))
                continue;
            // The one value's whole run, for its message.
            const ValueConversion::Outcome outcome = conversion_.Convert(values[k]);
            if (!outcome.Message) {
                out[k] = request_.Rounded ? ShownValue(outcome.Rounded) : outcome.Result;
                continue;
            }
            if (request_.Policy == FailurePolicy::Stop || outcome.Message == scalarMessage_)
                return ArrayFailure{first + k, *outcome.Message};
        }
        return std::nullopt;
    }

    const ArrayRequest &request_;
    std::span<float> results_;
    bool angleArray_, pathArray_;
    std::optional<MessageId> scalarMessage_;
    ValueConversion conversion_;
    std::optional<std::uint64_t> conversionKey_;
    Chunk chunk_;
    std::size_t chunkFirst_ = 0; // the flat index of the chunk's first element
};

} // namespace

std::optional<ArrayFailure> ConvertArray(const ArrayRequest &request, std::span<float> results)
{
    return ArrayLoop(request, results).Run();
}

} // namespace pevrand::python
