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
#include <type_traits>
#include <vector>

namespace pevrand::python
{
namespace
{

// The arrays the loop reads, in the order of Walk's operands.
enum Operand : std::size_t {
    ValueOperand,
    AngleOperand,
    PathOperand,
    PixelOperand,
    MaskOperand,
    ResultOperand,
    Operands
};

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

// A float16's bits.
struct Half {
    std::uint16_t Bits;
};

// The single nearest to an element: every float16, and every integer up to 2^24, exactly; a
// wider integer or float rounded once, straight to single, never by way of a double.
float SingleOf(Half half)
{
    const std::uint32_t sign = std::uint32_t{half.Bits & 0x8000u} << 16;
    const std::uint32_t exponent = (half.Bits >> 10) & 0x1fu, fraction = half.Bits & 0x3ffu;
    if (exponent == 0x1fu) // an infinity or NaN
        return BitCast<float>(sign | 0x7f800000u | (fraction << 13));
    if (exponent == 0) { // zero or subnormal: fraction * 2^-24
        const float magnitude = static_cast<float>(fraction) * 0x1p-24f;
        return sign != 0 ? -magnitude : magnitude;
    }
    return BitCast<float>(sign | ((exponent + 112u) << 23) | (fraction << 13));
}

template <class T> float SingleOf(T value)
{
    if constexpr (std::is_same_v<T, float>) {
        return value; // a NaN among them fails as any NaN does
    } else if constexpr (std::is_floating_point_v<T>) {
        if (std::isnan(value))
            return std::numeric_limits<float>::quiet_NaN();
        if (std::fabs(value) >= static_cast<T>(SingleOverflowThreshold))
            return value > 0 ? std::numeric_limits<float>::infinity()
                             : -std::numeric_limits<float>::infinity();
    }
    return static_cast<float>(value);
}

template <class T> T Load(const char *at)
{
    T value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

// Reads `count` elements `step` bytes apart from `at` on, as singles or as pixel numbers.
using SingleRun = void (*)(const char *at, std::ptrdiff_t step, std::size_t count, float *out);
using PixelRun = void (*)(const char *at, std::ptrdiff_t step, std::size_t count,
                          std::int64_t *out);

template <class T>
void ReadSingles(const char *at, std::ptrdiff_t step, std::size_t count, float *out)
{
    if (step == sizeof(T)) { // side by side, the common case, which the compiler vectorises
        for (std::size_t k = 0; k < count; ++k)
            out[k] = SingleOf(Load<T>(at + k * sizeof(T)));
        return;
    }
    for (std::size_t k = 0; k < count; ++k, at += step)
        out[k] = SingleOf(Load<T>(at));
}

// A pixel number beyond the int64 range is beyond every table.
template <class T>
void ReadPixels(const char *at, std::ptrdiff_t step, std::size_t count, std::int64_t *out)
{
    constexpr auto largest = std::numeric_limits<std::int64_t>::max();
    for (std::size_t k = 0; k < count; ++k, at += step) {
        const T pixel = Load<T>(at);
        if constexpr (std::is_unsigned_v<T> && sizeof(T) == sizeof(std::int64_t))
            out[k] = pixel > static_cast<T>(largest) ? largest : static_cast<std::int64_t>(pixel);
        else
            out[k] = static_cast<std::int64_t>(pixel);
    }
}

// Calls body.template operator()<T>() with the C++ type of the element type.
template <class Body> auto WithElementType(ElementType type, Body &&body)
{
    switch (type) {
    case ElementType::Bool:
        return body.template operator()<bool>();
    case ElementType::Int8:
        return body.template operator()<std::int8_t>();
    case ElementType::Int16:
        return body.template operator()<std::int16_t>();
    case ElementType::Int32:
        return body.template operator()<std::int32_t>();
    case ElementType::Int64:
        return body.template operator()<std::int64_t>();
    case ElementType::UInt8:
        return body.template operator()<std::uint8_t>();
    case ElementType::UInt16:
        return body.template operator()<std::uint16_t>();
    case ElementType::UInt32:
        return body.template operator()<std::uint32_t>();
    case ElementType::UInt64:
        return body.template operator()<std::uint64_t>();
    case ElementType::Float16:
        return body.template operator()<Half>();
    case ElementType::Float32:
        return body.template operator()<float>();
    case ElementType::LongDouble:
        return body.template operator()<long double>();
    case ElementType::Float64:
        break;
    }
    return body.template operator()<double>();
}

SingleRun SingleReader(ElementType type)
{
    return WithElementType(type, []<class T>() -> SingleRun { return &ReadSingles<T>; });
}

// Pixel numbers are integers; a table lookup by any other type would be the caller's fault.
PixelRun PixelReader(ElementType type)
{
    return WithElementType(type, []<class T>() -> PixelRun {
        if constexpr (std::is_integral_v<T> && !std::is_same_v<T, bool>)
            return &ReadPixels<T>;
        else
            return nullptr;
    });
}

std::optional<float> NumberBox(float number)
{
    return number;
}

// The elements the loop takes at a time: few enough to stay in the fastest cache.
constexpr std::size_t ChunkSize = 512;

// One chunk's elements as the boxes would hold them, and their results.
struct Chunk {
    std::size_t Count = 0;
    std::array<float, ChunkSize> Values, Angles, Paths, Results;
    std::array<std::int64_t, ChunkSize> Pixels;
    std::array<std::size_t, ChunkSize> Entries; // each element's entry of the pixels' geometry
    std::array<bool, ChunkSize> Masked;
};

// The loop's state from one chunk to the next.
class ArrayLoop
{
public:
    ArrayLoop(const ArrayRequest &request)
        : request_(request), byPixel_(request.Pixels.Data != nullptr),
          angleArray_(Reads(request.Angle.Numbers.Data, true)),
          pathArray_(Reads(request.Path.Numbers.Data, false)),
          angleTable_(byPixel_ && Reads(request.Angle.PerPixel.Data, true)),
          pathTable_(byPixel_ && Reads(request.Path.PerPixel.Data, false)),
          valueReader_(SingleReader(request.Values.Type)),
          angleReader_(SingleReader(request.Angle.Numbers.Type)),
          pathReader_(SingleReader(request.Path.Numbers.Type)),
          pixelReader_(PixelReader(request.Pixels.Type)),
          // Array arguments stand in here as numbers every conversion takes, so that this is the
          // message of the scalar arguments alone.
          scalarMessage_(Conversion(NumberBox(90.0f), NumberBox(10.0f)).GeometryMessage()),
          conversion_(Conversion({}, {}))
    {
        if (byPixel_)
            PrepareTables();
    }

    std::optional<ArrayFailure> Run()
    {
        const auto strides = [](const StridedArray &array, bool read) {
            return read ? array.Strides : std::span<const std::ptrdiff_t>();
        };
        const Layout layout = Simplify(
            request_.Shape,
            {request_.Values.Strides, strides(request_.Angle.Numbers, angleArray_),
             strides(request_.Path.Numbers, pathArray_), strides(request_.Pixels, byPixel_),
             strides(request_.Masked, request_.Masked.Data != nullptr), request_.ResultStrides});
        const auto bytes = [](const void *data) { return static_cast<const char *>(data); };
        Walk walk(layout, {bytes(request_.Values.Data), bytes(request_.Angle.Numbers.Data),
                           bytes(request_.Path.Numbers.Data), bytes(request_.Pixels.Data),
                           bytes(request_.Masked.Data), bytes(request_.Results)});
        for (std::size_t first = 0; first < layout.Elements; first += chunk_.Count) {
            const Walk chunkStart = walk;
            Fill(walk, std::min(ChunkSize, layout.Elements - first));
            const std::optional<ArrayFailure> failure = ConvertChunk(first);
            Store(chunkStart, failure ? *failure->Index - first : chunk_.Count);
            if (failure)
                return failure;
        }
        if (scalarMessage_)
            return ArrayFailure{std::nullopt, *scalarMessage_};
        return std::nullopt;
    }

private:
    bool Reads(const void *data, bool angle) const
    {
        return data && (angle ? NeedsAngle(request_.Source, request_.Target)
                              : NeedsFlightPath(request_.Source, request_.Target));
    }

    ValueConversion Conversion(std::optional<float> angleNumber,
                               std::optional<float> pathNumber) const
    {
        return ValueConversion(request_.Source, request_.Target,
                               angleArray_ || angleTable_ ? angleNumber : request_.Angle.Box,
                               pathArray_ || pathTable_ ? pathNumber : request_.Path.Box);
    }

    // Each pixel's numbers read once, its geometry checked and prepared once. A table given but
    // not read still bounds the pixel numbers.
    void PrepareTables()
    {
        for (const PixelTable *table : {&request_.Angle.PerPixel, &request_.Path.PerPixel})
            if (table->Data)
                tableLength_ = std::min(tableLength_.value_or(table->Length), table->Length);
        if (!angleTable_ && !pathTable_)
            return;
        const auto read = [](const PixelTable &table, bool used) {
            std::vector<float> numbers(used ? table.Length : 0);
            if (used)
                SingleReader(table.Type)(static_cast<const char *>(table.Data), table.Stride,
                                         table.Length, numbers.data());
            return numbers;
        };
        angles_ = read(request_.Angle.PerPixel, angleTable_);
        paths_ = read(request_.Path.PerPixel, pathTable_);
        // One entry more, with no geometry, for the masked elements, which are not converted.
        pixels_.resize(*tableLength_ + 1, Conversion({}, {}).Geometry());
        for (std::size_t p = 0; p < *tableLength_; ++p)
            pixels_[p] = PixelConversion(p).Geometry();
    }

    ValueConversion PixelConversion(std::size_t pixel) const
    {
        return Conversion(NumberBox(angleTable_ ? angles_[pixel] : 0.0f),
                          NumberBox(pathTable_ ? paths_[pixel] : 0.0f));
    }

    void Fill(Walk &walk, std::size_t count)
    {
        chunk_.Count = count;
        for (std::size_t j = 0; j < count;) {
            const std::size_t run = std::min(walk.RunLength(), count - j);
            const auto step = [&](std::size_t operand) {
                return walk.At(operand, 1) - walk.At(operand, 0);
            };
            valueReader_(walk.At(ValueOperand, 0), step(ValueOperand), run, &chunk_.Values[j]);
            if (angleArray_)
                angleReader_(walk.At(AngleOperand, 0), step(AngleOperand), run, &chunk_.Angles[j]);
            if (pathArray_)
                pathReader_(walk.At(PathOperand, 0), step(PathOperand), run, &chunk_.Paths[j]);
            if (byPixel_)
                pixelReader_(walk.At(PixelOperand, 0), step(PixelOperand), run, &chunk_.Pixels[j]);
            if (request_.Masked.Data)
                for (std::size_t k = 0; k < run; ++k)
                    chunk_.Masked[j + k] = *walk.At(MaskOperand, k) != 0;
            walk.Advance(run);
            j += run;
        }
    }

    // Writes the chunk's first `count` results where they belong.
    void Store(Walk walk, std::size_t count) const
    {
        for (std::size_t j = 0; j < count;) {
            const std::size_t run = std::min(walk.RunLength(), count - j);
            // The caller's writeable result, walked as every operand is.
            char *at = const_cast<char *>(walk.At(ResultOperand, 0));
            const std::ptrdiff_t step = walk.At(ResultOperand, 1) - at;
            if (step == sizeof(float))
                std::memcpy(at, &chunk_.Results[j], run * sizeof(float));
            else
                for (std::size_t k = 0; k < run; ++k, at += step)
                    std::memcpy(at, &chunk_.Results[j + k], sizeof(float));
            walk.Advance(run);
            j += run;
        }
    }

    bool Masked(std::size_t j) const { return request_.Masked.Data && chunk_.Masked[j]; }

    std::optional<ArrayFailure> ConvertChunk(std::size_t first)
    {
        if (!byPixel_)
            return ConvertElements(first, chunk_.Count);
        // The elements before the first pixel outside the tables are converted, and may fail
        // first.
        std::size_t inside = 0;
        for (; inside < chunk_.Count; ++inside) {
            const std::int64_t pixel = chunk_.Pixels[inside];
            const bool outside =
                pixel < 0 || (tableLength_ && static_cast<std::uint64_t>(pixel) >= *tableLength_);
            if (outside && !Masked(inside))
                break;
        }
        if (std::optional<ArrayFailure> failure = ConvertElements(first, inside))
            return failure;
        if (inside < chunk_.Count)
            return ArrayFailure{first + inside, std::nullopt};
        return std::nullopt;
    }

    // Converts the chunk's first `count` elements.
    std::optional<ArrayFailure> ConvertElements(std::size_t first, std::size_t count)
    {
        const std::span<const float> values(chunk_.Values.data(), count);
        const std::span<float> out(chunk_.Results.data(), count);
        if (!pixels_.empty()) {
            const std::size_t noPixel = pixels_.size() - 1;
            for (std::size_t j = 0; j < count; ++j)
                chunk_.Entries[j] =
                    Masked(j) ? noPixel : static_cast<std::size_t>(chunk_.Pixels[j]);
            const std::span<const std::size_t> entries(chunk_.Entries.data(), count);
            const bool allConverted = ConvertValuesByPixel(
                request_.Source, request_.Target, pixels_, entries, values, out, request_.Rounded);
            return Resolve(first, 0, count, allConverted,
                           [&](std::size_t j) { return PixelConversion(chunk_.Entries[j]); });
        }
        if (!angleArray_ && !pathArray_)
            return ConvertRun(first, 0, count);
        // Runs of elements with one geometry (a detector pixel's), each converted at once.
        for (std::size_t j = 0; j < count;) {
            const std::uint64_t key = GeometryKey(j);
            std::size_t end = j + 1;
            while (end < count && GeometryKey(end) == key)
                ++end;
            if (!conversionKey_ || *conversionKey_ != key) {
                conversion_ = Conversion(NumberBox(chunk_.Angles[j]), NumberBox(chunk_.Paths[j]));
                conversionKey_ = key;
            }
            if (std::optional<ArrayFailure> failure = ConvertRun(first, j, end - j))
                return failure;
            j = end;
        }
        return std::nullopt;
    }

    // The geometry of chunk element j, bit for bit, so that a NaN is equal to itself.
    std::uint64_t GeometryKey(std::size_t j) const
    {
        const auto angle = angleArray_ ? BitCast<std::uint32_t>(chunk_.Angles[j]) : 0u;
        const auto path = pathArray_ ? BitCast<std::uint32_t>(chunk_.Paths[j]) : 0u;
        return (std::uint64_t{angle} << 32) | path;
    }

    // Converts `count` chunk elements from j on with conversion_.
    std::optional<ArrayFailure> ConvertRun(std::size_t first, std::size_t j, std::size_t count)
    {
        const bool allConverted = conversion_.ConvertResults(
            std::span(chunk_.Values).subspan(j, count), std::span(chunk_.Results).subspan(j, count),
            request_.Rounded);
        return Resolve(first, j, count, allConverted, [&](std::size_t) { return conversion_; });
    }

    // Gives the masked elements among `count` chunk elements from j on their values, and finds
    // what each NaN result of the conversion conversionOf(element) is: a value that converts
    // after all, or a failure to stop at or to leave as NaN.
    template <class ConversionOf>
    std::optional<ArrayFailure> Resolve(std::size_t first, std::size_t j, std::size_t count,
                                        bool allConverted, const ConversionOf &conversionOf)
    {
        const bool anyMasked = request_.Masked.Data != nullptr;
        if (allConverted && !anyMasked)
            return std::nullopt;
        for (std::size_t k = j; k < j + count; ++k) {
            float &result = chunk_.Results[k];
            if (anyMasked && chunk_.Masked[k]) {
                result = chunk_.Values[k];
                continue;
            }
            if (!std::isnan(result))
                continue;
            // The one value's whole run, for its message.
            const ValueConversion::Outcome outcome = conversionOf(k).Convert(chunk_.Values[k]);
            if (!outcome.Message) {
                result = request_.Rounded ? ShownValue(outcome.Rounded) : outcome.Result;
                continue;
            }
            if (request_.Policy == FailurePolicy::Stop || outcome.Message == scalarMessage_)
                return ArrayFailure{first + k, *outcome.Message};
        }
        return std::nullopt;
    }

    const ArrayRequest &request_;
    bool byPixel_, angleArray_, pathArray_, angleTable_, pathTable_;
    SingleRun valueReader_, angleReader_, pathReader_;
    PixelRun pixelReader_;
    std::optional<MessageId> scalarMessage_;
    ValueConversion conversion_;
    std::optional<std::uint64_t> conversionKey_;
    std::optional<std::size_t> tableLength_; // the shortest table's, where one is given
    std::vector<float> angles_, paths_;
    std::vector<PixelGeometry> pixels_; // prepared where a table is read, and one entry more
    Chunk chunk_;
};

} // namespace

std::optional<ArrayFailure> ConvertArray(const ArrayRequest &request)
{
    return ArrayLoop(request).Run();
}

} // namespace pevrand::python
