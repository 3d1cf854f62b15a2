#include "CheckedMath.h"

#include "ArithmeticError.h"

#include <cfloat>
#include <cmath>
#include <limits>

namespace pevrand::checked
{
namespace
{

// The smallest magnitude that rounds to infinity in single precision: halfway between
// FLT_MAX and 2^128, which ties to the even neighbour, 2^128.
constexpr double SingleOverflowThreshold = 0x1.ffffffp127;

} // namespace

double Finite(double value)
{
    if (std::isnan(value))
        throw ArithmeticError("invalid floating-point operation");
    if (std::isinf(value))
        throw ArithmeticError("floating-point overflow");
    return value;
}

double Divide(double a, double b)
{
    if (b == 0.0)
        throw ArithmeticError("division by zero");
    return Finite(a / b);
}

double Sqrt(double value)
{
    if (!(Finite(value) >= 0.0))
        throw ArithmeticError("invalid floating-point operation");
    return std::sqrt(value);
}

float ToSingle(double value)
{
    if (std::fabs(Finite(value)) >= SingleOverflowThreshold)
        throw ArithmeticError("floating-point overflow");
    return static_cast<float>(value);
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
