#include "CheckedMath.h"

#include "ArithmeticError.h"

namespace pevrand::checked
{

void Fail(const char *what)
{
    throw ArithmeticError(what);
}

} // namespace pevrand::checked
