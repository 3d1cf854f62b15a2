// The one failure of the engine's arithmetic.
#pragma once

#include <stdexcept>

namespace pevrand
{

// Thrown on division by zero, overflow (of a double, or on rounding to single) or an invalid
// operation in any step of a conversion or of the significant-figure rounding.
class ArithmeticError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

} // namespace pevrand
