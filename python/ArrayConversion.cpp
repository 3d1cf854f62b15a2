#include "ArrayConversion.h"

#include "engine/Module1.h"
#include "engine/NumberText.h"

#include <limits>

namespace pevrand::python
{

std::optional<ArrayFailure> ConvertArray(const ValueConversion &conversion,
                                         std::span<const double> values, std::span<float> results,
                                         bool rounded, FailurePolicy policy)
{
    for (std::size_t i = 0; i < values.size(); ++i) {
        const ValueConversion::Outcome outcome = conversion.Convert(NearestSingle(values[i]));
        if (outcome.Message) {
            if (policy == FailurePolicy::Stop ||
                MessageOf(*outcome.Message).Kind == MessageKind::Geometry)
                return ArrayFailure{i, *outcome.Message};
            results[i] = std::numeric_limits<float>::quiet_NaN();
        } else {
            results[i] = rounded ? ShownValue(outcome.Rounded) : outcome.Result;
        }
    }
    return std::nullopt;
}

} // namespace pevrand::python
