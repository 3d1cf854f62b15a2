#include "ElasticKernel.h"

#include "FailureReport.h"
#include "engine/BitCast.h"
#include "engine/NearestSingle.h"
#include "engine/WideConversion.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <type_traits>

namespace pevrand::python
{
namespace
{

// The elements whose table positions are worked out at a time.
constexpr std::size_t Block = 1024;

// A value as the edition's steps take it: the classic ones a single (a double narrowed to the
// nearest), the others a double.
template <class Number, class Value> Number StepValue(Value value)
{
    if constexpr (std::is_same_v<Number, float> && std::is_same_v<Value, double>)
        return NearestSingle(value);
    else
        return value;
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

// The geometry of element j of an argument over the elements, bit for bit, so that a NaN is
// equal to itself.
std::uint64_t Bits(float number)
{
    return BitCast<std::uint32_t>(number);
}

std::uint64_t Bits(double number)
{
    return BitCast<std::uint64_t>(number);
}

} // namespace

// A stretch's operands, side by side.
template <class Number> template <class Value> struct ElasticKernel<Number>::Columns {
    std::size_t Count = 0;
    const Value *Values = nullptr;
    const Number *Angles = nullptr, *Paths = nullptr;
    const void *Pixels = nullptr;
    const bool *Mask = nullptr;
    Number *Results = nullptr;

    std::span<const Value> ValueSpan() const { return {Values, Count}; }
    std::span<Number> ResultSpan() const { return {Results, Count}; }
};

template <class Number>
ElasticKernel<Number>::ElasticKernel(Quantity source, Quantity target, Edition edition,
                                     ElasticOperands operands, std::optional<Number> angle,
                                     std::optional<Number> path, const PixelTables<Number> *tables,
                                     bool rounded)
    : source_(source), target_(target), edition_(edition), operands_(operands), angle_(angle),
      path_(path), tables_(tables), rounded_(rounded), scalar_(source, target, angle, path, edition)
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

template <class Number>
std::optional<StretchFailure> ElasticKernel<Number>::Convert(const Stretch &stretch,
                                                             FailurePolicy policy) const
{
    if constexpr (std::is_same_v<Number, float>)
        if (operands_.DoubleValues)
            return ConvertStretch<double>(stretch, policy);
    return ConvertStretch<Number>(stretch, policy);
}

template <class Number>
template <class Value>
std::optional<StretchFailure> ElasticKernel<Number>::ConvertStretch(const Stretch &stretch,
                                                                    FailurePolicy policy) const
{
    Columns<Value> columns;
    columns.Count = stretch.Count;
    std::size_t operand = 0;
    const auto next = [&](bool given) {
        return given ? stretch.In[operand++] : static_cast<const void *>(nullptr);
    };
    columns.Values = static_cast<const Value *>(next(true));
    columns.Angles = static_cast<const Number *>(next(operands_.Angles));
    columns.Paths = static_cast<const Number *>(next(operands_.Paths));
    columns.Pixels = next(operands_.Pixels);
    columns.Mask = static_cast<const bool *>(next(operands_.Mask));
    columns.Results = static_cast<Number *>(stretch.Out);
    if (operands_.Pixels && operands_.UnsignedPixels)
        return ConvertByPixel(columns, static_cast<const std::uint64_t *>(columns.Pixels), policy);
    if (operands_.Pixels)
        return ConvertByPixel(columns, static_cast<const std::int64_t *>(columns.Pixels), policy);
    if (ReadsAngles(source_, target_, operands_) || ReadsPaths(source_, target_, operands_))
        return ConvertRuns(columns, policy);
    return ConvertScalar(columns, policy);
}

template <class Number>
template <class Value>
std::optional<StretchFailure> ElasticKernel<Number>::ConvertScalar(const Columns<Value> &columns,
                                                                   FailurePolicy policy) const
{
    if (scalar_.ConvertResults(columns.ValueSpan(), columns.ResultSpan(), rounded_) &&
        !columns.Mask)
        return std::nullopt;
    return Settle(columns.ValueSpan(), columns.ResultSpan(), columns.Mask, rounded_, policy,
                  scalarMessage_, [&](std::size_t j) {
                      return Replayed<Number>{
                          scalar_.Convert(StepValue<Number>(columns.Values[j]))};
                  });
}

// Runs of elements with one geometry (a detector pixel's channels, say), each converted at once.
template <class Number>
template <class Value>
std::optional<StretchFailure> ElasticKernel<Number>::ConvertRuns(const Columns<Value> &columns,
                                                                 FailurePolicy policy) const
{
    const bool angles = ReadsAngles(source_, target_, operands_);
    const bool paths = ReadsPaths(source_, target_, operands_);
    const auto same = [&](std::size_t a, std::size_t b) {
        return (!angles || Bits(columns.Angles[a]) == Bits(columns.Angles[b])) &&
               (!paths || Bits(columns.Paths[a]) == Bits(columns.Paths[b]));
    };
    for (std::size_t j = 0; j < columns.Count;) {
        std::size_t end = j + 1;
        while (end < columns.Count && same(end, j))
            ++end;
        const BasicValueConversion<Number> conversion(
            source_, target_, angles ? std::optional(columns.Angles[j]) : angle_,
            paths ? std::optional(columns.Paths[j]) : path_, edition_);
        const std::span<const Value> values = columns.ValueSpan().subspan(j, end - j);
        const std::span<Number> results = columns.ResultSpan().subspan(j, end - j);
        const bool converted = conversion.ConvertResults(values, results, rounded_);
        const std::optional<StretchFailure> failure =
            converted && !columns.Mask
                ? std::nullopt
                : Settle(values, results, columns.Mask ? columns.Mask + j : nullptr, rounded_,
                         policy, scalarMessage_, [&](std::size_t k) {
                             return Replayed<Number>{
                                 conversion.Convert(StepValue<Number>(values[k]))};
                         });
        if (failure)
            return StretchFailure{j + failure->first, failure->second};
        j = end;
    }
    return std::nullopt;
}

template <class Number>
template <class Value, class Id>
std::optional<StretchFailure> ElasticKernel<Number>::ConvertByPixel(const Columns<Value> &columns,
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
        const std::span<Number> results = columns.ResultSpan().subspan(first, inside);
        const std::span<const std::size_t> positions = std::span(entries).first(inside);
        std::optional<StretchFailure> failure;
        if (read) {
            bool converted;
            if constexpr (std::is_same_v<Number, float>)
                converted = ConvertValuesByPixel(source_, target_, tables_->Geometries(), positions,
                                                 values, results, rounded_);
            else
                converted =
                    ConvertWideValuesByPixel(edition_, source_, target_, tables_->Geometries(),
                                             positions, values, results, rounded_);
            if (!converted || mask)
                failure = Settle(
                    values, results, mask, rounded_, policy, scalarMessage_, [&](std::size_t k) {
                        const auto id = static_cast<std::int64_t>(ids[first + k]);
                        const auto pixel = [&](bool fromTable) {
                            return fromTable ? std::optional(id) : std::nullopt;
                        };
                        return Replayed<Number>{
                            tables_->ConversionOf(entries[k]).Convert(StepValue<Number>(values[k])),
                            pixel(tables_->AngleFromTable()), pixel(tables_->PathFromTable())};
                    });
        } else {
            // Tables given but not read only bound the pixels.
            if (!scalar_.ConvertResults(values, results, rounded_) || mask)
                failure = Settle(
                    values, results, mask, rounded_, policy, scalarMessage_, [&](std::size_t k) {
                        return Replayed<Number>{scalar_.Convert(StepValue<Number>(values[k]))};
                    });
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

template class ElasticKernel<float>;
template class ElasticKernel<double>;

} // namespace pevrand::python
