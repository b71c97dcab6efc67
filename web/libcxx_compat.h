#pragma once
// For the property tests built for node only: this Emscripten's C++ library lacks
// std::bit_cast, which the tests use to make doubles from raw bits; the compiler's builtin
// does the same.
#include <bit>
#if !defined(__cpp_lib_bit_cast)
namespace std {
template <class To, class From>
constexpr To bit_cast(const From& from) noexcept {
  return __builtin_bit_cast(To, from);
}
}  // namespace std
#endif
