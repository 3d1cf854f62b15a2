// The bits of a value as another type of the same size, as std::bit_cast gives them, also where
// the standard library lacks it (emscripten's libc++); the compilers all have the builtin.
#pragma once

#include <type_traits>

namespace pevrand
{

template <class To, class From>
requires(sizeof(To) == sizeof(From) && std::is_trivially_copyable_v<To> &&
         std::is_trivially_copyable_v<From>) constexpr To BitCast(const From &from) noexcept
{
    return __builtin_bit_cast(To, from);
}

} // namespace pevrand
