#include "ElasticKernel.h"

#include "FailureReport.h"
#include "engine/BitCast.h"
#include "engine/NearestSingle.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>

namespace pevrand::python
{
namespace
{

// The elements whose table positions are worked out at a time.
constexpr std::size_t Block = 1024;

// A value as the input box holds it.
float SingleOf(float value)
{
    return value;
}

float SingleOf(double value)
{
    return NearestSingle(value);
}

// Whether the pair reads an argument given over the elements.
bool ReadsAngles(Quantity source, Quantity target, const ElasticOperands &operands)
{
    return operands.Angles && NeedsAngle(source, target);
}

bool ReadsPaths(Quantity source, Quantity target, const ElasticOperands &operands)
{
    return operands.Paths && NeedsFlightPath(source, target);
}

} // namespace

// A stretch's operands, side by side.
template <class Value> struct ElasticKernel::Columns {
    std::size_t Count = 0;
    const Value *Values = nullptr;
    const float *Angles = nullptr, *Paths = nullptr;
    const void *Pixels = nullptr;
    const bool *Mask = nullptr;
    float *Results = nullptr;

    std::span<const Value> ValueSpan() const { return {Values, Count}; }
    std::span<float> ResultSpan() const { return {Results, Count}; }
};

ElasticKernel::ElasticKernel(Quantity source, Quantity target, ElasticOperands operands,
                             std::optional<float> angle, std::optional<float> path,
                             const PixelTables *tables, bool rounded)
    : source_(source), target_(target), operands_(operands), angle_(angle), path_(path),
      tables_(tables), rounded_(rounded), scalar_(source, target, angle, path)
{
    // The scalar arguments' own message, checked in the command's order: the flight path's,
    // then the angle's.
    const bool pathScalar = !operands.Paths && !(tables && tables->PathFromTable());
    const bool angleScalar = !operands.Angles && !(tables && tables->AngleFromTable());
    if (pathScalar && NeedsFlightPath(source, target))
        scalarMessage_ = FlightPathMessage(path);
    if (!scalarMessage_ && angleScalar && NeedsAngle(source, target))
        scalarMessage_ = AngleMessage(angle);
}

std::optional<StretchFailure> ElasticKernel::Convert(const Stretch &stretch,
                                                     FailurePolicy policy) const
{
    return operands_.DoubleValues ? ConvertStretch<double>(stretch, policy)
                                  : ConvertStretch<float>(stretch, policy);
}

template <class Value>
std::optional<StretchFailure> ElasticKernel::ConvertStretch(const Stretch &stretch,
                                                            FailurePolicy policy) const
{
    Columns<Value> columns;
    columns.Count = stretch.Count;
    std::size_t operand = 0;
    const auto next = [&](bool given) {
        return given ? stretch.In[operand++] : static_cast<const void *>(nullptr);
    };
    columns.Values = static_cast<const Value *>(next(true));
    columns.Angles = static_cast<const float *>(next(operands_.Angles));
    columns.Paths = static_cast<const float *>(next(operands_.Paths));
    columns.Pixels = next(operands_.Pixels);
    columns.Mask = static_cast<const bool *>(next(operands_.Mask));
    columns.Results = static_cast<float *>(stretch.Out);
    if (operands_.Pixels && operands_.UnsignedPixels)
        return ConvertByPixel(columns, static_cast<const std::uint64_t *>(columns.Pixels), policy);
    if (operands_.Pixels)
        return ConvertByPixel(columns, static_cast<const std::int64_t *>(columns.Pixels), policy);
    if (ReadsAngles(source_, target_, operands_) || ReadsPaths(source_, target_, operands_))
        return ConvertRuns(columns, policy);
    return ConvertScalar(columns, policy);
}

template <class Value>
std::optional<StretchFailure> ElasticKernel::ConvertScalar(const Columns<Value> &columns,
                                                           FailurePolicy policy) const
{
    if (scalar_.ConvertResults(columns.ValueSpan(), columns.ResultSpan(), rounded_) &&
        !columns.Mask)
        return std::nullopt;
    return Settle(
        columns.ValueSpan(), columns.ResultSpan(), columns.Mask, rounded_, policy, scalarMessage_,
        [&](std::size_t j) { return Replayed{scalar_.Convert(SingleOf(columns.Values[j]))}; });
}

// Runs of elements with one geometry (a detector pixel's channels, say), each converted at once.
template <class Value>
std::optional<StretchFailure> ElasticKernel::ConvertRuns(const Columns<Value> &columns,
                                                         FailurePolicy policy) const
{
    const bool angles = ReadsAngles(source_, target_, operands_);
    const bool paths = ReadsPaths(source_, target_, operands_);
    // The geometry of element j, bit for bit, so that a NaN is equal to itself.
    const auto key = [&](std::size_t j) {
        const auto angle = angles ? BitCast<std::uint32_t>(columns.Angles[j]) : 0u;
        const auto path = paths ? BitCast<std::uint32_t>(columns.Paths[j]) : 0u;
        return (std::uint64_t{angle} << 32) | path;
    };
    for (std::size_t j = 0; j < columns.Count;) {
        std::size_t end = j + 1;
        while (end < columns.Count && key(end) == key(j))
            ++end;
        const ValueConversion conversion(source_, target_, angles ? columns.Angles[j] : angle_,
                                         paths ? columns.Paths[j] : path_);
        const std::span<const Value> values = columns.ValueSpan().subspan(j, end - j);
        const std::span<float> results = columns.ResultSpan().subspan(j, end - j);
        const bool converted = conversion.ConvertResults(values, results, rounded_);
        const std::optional<StretchFailure> failure =
            converted && !columns.Mask
                ? std::nullopt
                : Settle(values, results, columns.Mask ? columns.Mask + j : nullptr, rounded_,
                         policy, scalarMessage_, [&](std::size_t k) {
                             return Replayed{conversion.Convert(SingleOf(values[k]))};
                         });
        if (failure)
            return StretchFailure{j + failure->first, failure->second};
        j = end;
    }
    return std::nullopt;
}

template <class Value, class Id>
std::optional<StretchFailure> ElasticKernel::ConvertByPixel(const Columns<Value> &columns,
                                                            const Id *ids,
                                                            FailurePolicy policy) const
{
    const bool read = tables_->Read();
    std::array<std::size_t, Block> entries;
    for (std::size_t first = 0; first < columns.Count; first += Block) {
        const std::size_t count = std::min(Block, columns.Count - first);
        const bool *mask = columns.Mask ? columns.Mask + first : nullptr;
        // The elements before the first pixel outside the tables are converted, and may fail
        // first.
        std::size_t inside = 0;
        for (; inside < count; ++inside) {
            if (mask && mask[inside]) {
                entries[inside] = tables_->NoEntry();
                continue;
            }
            if (!tables_->Find(ids[first + inside], entries[inside]))
                break;
        }
        const std::span<const Value> values = columns.ValueSpan().subspan(first, inside);
        const std::span<float> results = columns.ResultSpan().subspan(first, inside);
        std::optional<StretchFailure> failure;
        if (read) {
            const bool converted =
                ConvertValuesByPixel(source_, target_, tables_->Geometries(),
                                     std::span(entries).first(inside), values, results, rounded_);
            if (!converted || mask)
                failure = Settle(
                    values, results, mask, rounded_, policy, scalarMessage_, [&](std::size_t k) {
                        const auto id = static_cast<std::int64_t>(ids[first + k]);
                        return Replayed{
                            tables_->ConversionOf(entries[k]).Convert(SingleOf(values[k])),
                            tables_->AngleFromTable() ? std::optional(id) : std::nullopt,
                            tables_->PathFromTable() ? std::optional(id) : std::nullopt};
                    });
        } else {
            // Tables given but not read only bound the pixels.
            if (!scalar_.ConvertResults(values, results, rounded_) || mask)
                failure = Settle(
                    values, results, mask, rounded_, policy, scalarMessage_,
                    [&](std::size_t k) { return Replayed{scalar_.Convert(SingleOf(values[k]))}; });
        }
        if (failure)
            return StretchFailure{first + failure->first, failure->second};
        if (inside < count) {
            Failure outside;
            outside.Field = "pixel";
            outside.OutsideTables = true;
            return StretchFailure{first + inside, outside};
        }
    }
    return std::nullopt;
}

} // namespace pevrand::python
