#include "EventKernel.h"

#include "engine/BitCast.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace pevrand::python
{

template <class Conversion>
EventKernel<Conversion>::EventKernel(std::string_view valueField,
                                     std::array<EventParameter, Parameters> parameters, bool pixels,
                                     bool unsignedPixels, std::int64_t pixelOffset,
                                     Preparation prepare)
    : valueField_(valueField), parameters_(parameters), pixels_(pixels),
      unsignedPixels_(unsignedPixels), prepare_(std::move(prepare))
{
    std::optional<std::size_t> length;
    for (std::size_t p = 0; p < Parameters; ++p) {
        const EventParameter &parameter = parameters_[p];
        overElements_ += parameter.OverElements;
        if (parameter.Table)
            length = std::min(length.value_or(parameter.Table->size()), parameter.Table->size());
        // A parameter given as one number fails every element where it is unusable.
        if (!scalarFailure_ && parameter.Number && !Conversion::Usable(p, *parameter.Number)) {
            scalarFailure_ = Failure{events::FailureText(events::Failure::ParameterUnusable),
                                     parameter.Field, std::nullopt, true};
        }
    }
    if (!pixels_)
        return;
    positions_.emplace(length, pixelOffset);
    // Each table position's parameters, prepared once.
    for (std::size_t entry = 0; length && entry < *length; ++entry) {
        std::array<double, Parameters> numbers;
        for (std::size_t p = 0; p < Parameters; ++p)
            numbers[p] = parameters_[p].Table ? (*parameters_[p].Table)[entry]
                                              : parameters_[p].Number.value_or(0.0);
        prepared_.push_back(prepare_(numbers));
    }
    if (!length)
        prepared_.push_back(prepare_([&] {
            std::array<double, Parameters> numbers;
            for (std::size_t p = 0; p < Parameters; ++p)
                numbers[p] = parameters_[p].Number.value_or(0.0);
            return numbers;
        }()));
}

template <class Conversion>
Failure EventKernel<Conversion>::FailureOf(events::Failure failure, const Prepared &prepared,
                                           std::optional<std::int64_t> pixel) const
{
    if (failure != events::Failure::ParameterUnusable)
        return {events::FailureText(failure), valueField_, std::nullopt};
    const EventParameter &parameter = parameters_[prepared.Failed->Parameter];
    // A table entry's failure names its pixel.
    return {events::FailureText(failure), parameter.Field, parameter.Table ? pixel : std::nullopt};
}

template <class Conversion>
std::optional<StretchFailure> EventKernel<Conversion>::Convert(const Stretch &stretch,
                                                               FailurePolicy policy) const
{
    if (pixels_) {
        const void *ids = stretch.In[1 + overElements_];
        if (unsignedPixels_)
            return ConvertByPixel(stretch, static_cast<const std::uint64_t *>(ids), policy);
        return ConvertByPixel(stretch, static_cast<const std::int64_t *>(ids), policy);
    }
    return ConvertOverElements(stretch, policy);
}

template <class Conversion>
template <class Id>
std::optional<StretchFailure> EventKernel<Conversion>::ConvertByPixel(const Stretch &stretch,
                                                                      const Id *ids,
                                                                      FailurePolicy policy) const
{
    const auto *values = static_cast<const double *>(stretch.In[0]);
    auto *results = static_cast<double *>(stretch.Out);
    // (Without a table, one preparation stands for every pixel.)
    const std::size_t last = prepared_.size() - 1;
    const auto convert = [&](std::size_t j, std::size_t entry, events::Failure &failure) {
        const Prepared &prepared = prepared_[std::min(entry, last)];
        failure = prepared.Failed ? events::Failure::ParameterUnusable : events::Failure::None;
        return Conversion::Convert(values[j], prepared, failure);
    };
    // Every event at once, a failure marked NaN; which failed first is looked for only where
    // one did, so that the loop itself branches on nothing an event holds.
    bool anyFailed = false;
    std::size_t j = 0;
    for (; j < stretch.Count; ++j) {
        std::size_t entry = 0;
        if (!positions_->Find(ids[j], entry))
            break;
        events::Failure failure;
        const double result = convert(j, entry, failure);
        const bool failed = failure != events::Failure::None;
        results[j] = failed ? std::numeric_limits<double>::quiet_NaN() : result;
        anyFailed |= failed;
    }
    if (anyFailed && policy == FailurePolicy::Stop) {
        for (std::size_t k = 0; k < j; ++k) {
            std::size_t entry = 0;
            positions_->Find(ids[k], entry);
            events::Failure failure;
            convert(k, entry, failure);
            if (failure != events::Failure::None)
                return StretchFailure{k, FailureOf(failure, prepared_[std::min(entry, last)],
                                                   static_cast<std::int64_t>(ids[k]))};
        }
    }
    if (j < stretch.Count) {
        Failure outside;
        outside.Field = "pixel";
        outside.OutsideTables = true;
        return StretchFailure{j, outside};
    }
    return std::nullopt;
}

template <class Conversion>
std::optional<StretchFailure>
EventKernel<Conversion>::ConvertOverElements(const Stretch &stretch, FailurePolicy policy) const
{
    const auto *values = static_cast<const double *>(stretch.In[0]);
    auto *results = static_cast<double *>(stretch.Out);
    std::array<const double *, Parameters> columns{};
    for (std::size_t p = 0, operand = 1; p < Parameters; ++p)
        if (parameters_[p].OverElements)
            columns[p] = static_cast<const double *>(stretch.In[operand++]);
    // The parameters of element j, and those last prepared, bit for bit (so that a NaN is equal
    // to itself): elements one after another mostly share them (a pixel's channels).
    const auto numbersOf = [&](std::size_t j) {
        std::array<double, Parameters> numbers;
        for (std::size_t p = 0; p < Parameters; ++p)
            numbers[p] = columns[p] ? columns[p][j] : parameters_[p].Number.value_or(0.0);
        return numbers;
    };
    const auto same = [](const std::array<double, Parameters> &a,
                         const std::array<double, Parameters> &b) {
        for (std::size_t p = 0; p < Parameters; ++p)
            if (BitCast<std::uint64_t>(a[p]) != BitCast<std::uint64_t>(b[p]))
                return false;
        return true;
    };
    std::optional<std::array<double, Parameters>> preparedFor;
    Prepared prepared;
    for (std::size_t j = 0; j < stretch.Count; ++j) {
        const std::array<double, Parameters> numbers = numbersOf(j);
        if (!preparedFor || !same(*preparedFor, numbers)) {
            prepared = prepare_(numbers);
            preparedFor = numbers;
        }
        events::Failure failure = events::Failure::None;
        if (prepared.Failed)
            failure = events::Failure::ParameterUnusable;
        else
            results[j] = Conversion::Convert(values[j], prepared, failure);
        if (failure == events::Failure::None)
            continue;
        results[j] = std::numeric_limits<double>::quiet_NaN();
        if (policy == FailurePolicy::Stop)
            return StretchFailure{j, FailureOf(failure, prepared, std::nullopt)};
    }
    return std::nullopt;
}

template class EventKernel<events::EnergyTransfer>;
template class EventKernel<events::MomentumTransfer>;
template class EventKernel<events::TofToDspacing>;
template class EventKernel<events::DspacingToTof>;

} // namespace pevrand::python
