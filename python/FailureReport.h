// Why an element failed, found after the fact: the fast loops only mark a failure with NaN, and
// each NaN is run again on its own through the Convert command's checks, which say which check
// failed and so which argument was at fault.
#pragma once

#include "ArrayKernel.h"
#include "convert/ValueConversion.h"
#include "engine/Module1.h"
#include "engine/NearestSingle.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <type_traits>

namespace pevrand::python
{

// The argument a message is about, as the module names it: "value", "angle" or "path".
std::string_view FieldOf(MessageId message);

// The failure a message reports; `tablePixel` names the pixel where the argument at fault came
// from its pixel's table entry.
Failure FailureOf(MessageId message, std::optional<std::int64_t> tablePixel);

// One element's run on its own: its outcome, and the pixel whose table gave the geometry it
// met, if one did.
template <class Number> struct Replayed {
    typename BasicValueConversion<Number>::Outcome Outcome;
    std::optional<std::int64_t> AnglePixel = std::nullopt, PathPixel = std::nullopt;
};

// Settles a stretch's results after the fast conversion: a masked element (masked[j], where
// masked is given) gets its value as a single; each NaN result is run again (replay(j)), and takes
// the result after all where it converts (the fast loops may fail a value with its neighbour), or
// stays NaN. The first failure that stops under the policy is returned: under Stop any, and
// whatever the policy one that `scalarMessage`, the scalar arguments' own, gives, which names no
// element.
template <class Value, class Number, class Replay>
std::optional<StretchFailure> Settle(std::span<const Value> values, std::span<Number> results,
                                     const bool *masked, bool rounded, FailurePolicy policy,
                                     std::optional<MessageId> scalarMessage, const Replay &replay)
{
    for (std::size_t j = 0; j < results.size(); ++j) {
        if (masked && masked[j]) {
            // As a single for the classic edition, a double for the others.
            if constexpr (std::is_same_v<Number, float>)
                results[j] = NearestSingle(static_cast<double>(values[j]));
            else
                results[j] = static_cast<Number>(values[j]);
            continue;
        }
        if (!std::isnan(results[j]))
            continue;
        const auto run = replay(j);
        const auto &outcome = run.Outcome;
        if (!outcome.Message) {
            results[j] = rounded ? outcome.Shown() : outcome.Result;
            continue;
        }
        if (outcome.Message == scalarMessage) {
            Failure failure = FailureOf(*outcome.Message, std::nullopt);
            failure.NoElement = true;
            return StretchFailure{j, failure};
        }
        if (policy == FailurePolicy::Stop) {
            const MessageSubject subject = MessageOf(*outcome.Message).Subject;
            const std::optional<std::int64_t> pixel =
                subject == MessageSubject::Angle        ? run.AnglePixel
                : subject == MessageSubject::FlightPath ? run.PathPixel
                                                        : std::nullopt;
            return StretchFailure{j, FailureOf(*outcome.Message, pixel)};
        }
    }
    return std::nullopt;
}

} // namespace pevrand::python
