// What the browser build's C++ library (emscripten 3.1.6 ships libc++ 13) lacks of the C++20
// the engine uses, each only where the library does not have it. Included before every source
// of the browser build (web/dependencies.cmake); the desktop build never sees it.
#pragma once

#include <version>

#if !defined(__cpp_lib_bit_cast)
#include <type_traits>
namespace std {
template <class To, class From>
constexpr To bit_cast(const From& from) noexcept {
  static_assert(sizeof(To) == sizeof(From));
  return __builtin_bit_cast(To, from);
}
}  // namespace std
#endif

#if !defined(__cpp_lib_smart_ptr_for_overwrite)
#include <memory>
namespace std {
template <class T>
requires is_unbounded_array_v<T> unique_ptr<T> make_unique_for_overwrite(size_t size) {
  return unique_ptr<T>(new remove_extent_t<T>[size]);
}
}  // namespace std
#endif

#if !defined(__cpp_lib_ranges)
#include <algorithm>
#include <iterator>
namespace std::ranges {
template <class Range, class Predicate>
bool any_of(Range&& range, Predicate predicate) {
  return std::any_of(std::begin(range), std::end(range), predicate);
}
template <class RangeA, class RangeB, class Predicate>
bool equal(RangeA&& a, RangeB&& b, Predicate predicate) {
  return std::equal(std::begin(a), std::end(a), std::begin(b), std::end(b), predicate);
}
}  // namespace std::ranges
#endif
