#include "CheckedMath.h"

#include "ArithmeticError.h"

#include <cfloat>
#include <cmath>
#include <limits>

namespace pevrand::checked
{
void Fail(const char *what)
{
    throw ArithmeticError(what);
}

float NearestSingle(double value)
{
    if (std::isnan(value))
        return std::numeric_limits<float>::quiet_NaN();
    if (std::fabs(value) >= SingleOverflowThreshold)
        return value > 0 ? std::numeric_limits<float>::infinity()
                         : -std::numeric_limits<float>::infinity();
    return static_cast<float>(value);
}

} // namespace pevrand::checked
