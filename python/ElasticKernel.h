// pevrand.convert's kernel: the Convert command on each element, with the angle and the flight
// path given as a number for every element, as arrays over the elements, or as tables looked up
// by each element's pixel.
#pragma once

#include "ArrayKernel.h"
#include "PixelTables.h"
#include "convert/ValueConversion.h"

#include <cstddef>
#include <optional>

namespace pevrand::python
{

// The operands the kernel reads, in this order, those not given left out: the values, the
// angles and the flight paths over the elements, the pixels (int64, or uint64 for unsigned
// ids) and the mask (bool). The values are the edition's Number, or for the classic edition
// float64 as given, each read as the single nearest to it; the angles and paths are Numbers.
struct ElasticOperands {
    bool DoubleValues = false;
    bool Angles = false, Paths = false, Pixels = false, UnsignedPixels = false, Mask = false;
};

// Number: float for the classic edition, whose results are singles, double for the others.
template <class Number> class ElasticKernel : public ArrayKernel
{
public:
    // Converts from `source` to `target` in `edition`; the angle and flight path are `angle` and
    // `path` (a number, or not given) unless the operands give them over the elements, or
    // `tables` (with pixels) gives them a pixel. `rounded`: the number nearest to what the
    // output box shows (five significant figures), else the engine's result.
    ElasticKernel(Quantity source, Quantity target, Edition edition, ElasticOperands operands,
                  std::optional<Number> angle, std::optional<Number> path,
                  const PixelTables<Number> *tables, bool rounded);

    std::optional<StretchFailure> Convert(const Stretch &stretch,
                                          FailurePolicy policy) const override;

    // The message of the scalar angle and flight path alone, where the pair reads one that is
    // missing or unusable: it stops the conversion whatever the elements, and names none.
    std::optional<MessageId> ScalarMessage() const { return scalarMessage_; }

private:
    template <class Value> struct Columns;
    template <class Value>
    std::optional<StretchFailure> ConvertStretch(const Stretch &stretch,
                                                 FailurePolicy policy) const;
    template <class Value>
    std::optional<StretchFailure> ConvertScalar(const Columns<Value> &columns,
                                                FailurePolicy policy) const;
    template <class Value>
    std::optional<StretchFailure> ConvertRuns(const Columns<Value> &columns,
                                              FailurePolicy policy) const;
    template <class Value, class Id>
    std::optional<StretchFailure> ConvertByPixel(const Columns<Value> &columns, const Id *ids,
                                                 FailurePolicy policy) const;

    Quantity source_, target_;
    Edition edition_;
    ElasticOperands operands_;
    std::optional<Number> angle_, path_;
    const PixelTables<Number> *tables_;
    bool rounded_;
    std::optional<MessageId> scalarMessage_;
    // The conversion of every element where no array or table is read.
    BasicValueConversion<Number> scalar_;
};

extern template class ElasticKernel<float>;
extern template class ElasticKernel<double>;

} // namespace pevrand::python
