// GLSL's vector relational functions: lessThan, lessThanEqual, greaterThan,
// greaterThanEqual, equal and notEqual, component by component into a bvec,
// and any, all and not_ of a bvec.
//
// SPDX-License-Identifier: MIT
#pragma once

#include <ormath/guard.hpp>
#ifdef ORMATH_CXX17

#include <ormath/integer.hpp>
#include <ormath/vectors.hpp>

#include <type_traits>

namespace ormath {

namespace detail {
// The bvec of V's size, for the overloads that compare vectors V: the float
// vectors and ivec and uvec (ordered), and also bvec (any).
template <typename V>
using if_ordered = std::enable_if_t<is_vector<V>::value || glsl_vector<V>::value, rebind_t<V, bool>>;
template <typename V>
using if_ordered_vector = std::enable_if_t<!std::is_same_v<component_t<V>, bool>, if_ordered<V>>;
template <typename B, typename R = B>
using if_bvec = std::enable_if_t<glsl_vector<B>::value && std::is_same_v<component_t<B>, bool>, R>;
}  // namespace detail

// Component-wise x < y, x <= y, x > y, x >= y, x == y and x != y for vec,
// ivec and uvec (equal and notEqual for bvec too). Floats compare as IEEE
// does: -0 equals +0, and a NaN is unordered, so every comparison with it is
// false except notEqual, which is true.
template <typename V>
constexpr detail::if_ordered_vector<V> lessThan(const V& x, const V& y) noexcept {
    return detail::each([](auto p, auto q) { return p < q; }, x, y);
}
template <typename V>
constexpr detail::if_ordered_vector<V> lessThanEqual(const V& x, const V& y) noexcept {
    return detail::each([](auto p, auto q) { return p <= q; }, x, y);
}
template <typename V>
constexpr detail::if_ordered_vector<V> greaterThan(const V& x, const V& y) noexcept {
    return detail::each([](auto p, auto q) { return p > q; }, x, y);
}
template <typename V>
constexpr detail::if_ordered_vector<V> greaterThanEqual(const V& x, const V& y) noexcept {
    return detail::each([](auto p, auto q) { return p >= q; }, x, y);
}
template <typename V>
constexpr detail::if_ordered<V> equal(const V& x, const V& y) noexcept {
    return detail::each([](auto p, auto q) { return p == q; }, x, y);
}
template <typename V>
constexpr detail::if_ordered<V> notEqual(const V& x, const V& y) noexcept {
    return detail::each([](auto p, auto q) { return p != q; }, x, y);
}

// b with every component negated (GLSL's not, a keyword in C++); whether
// some component, or every component, of b is true.
template <typename B>
constexpr detail::if_bvec<B> not_(const B& b) noexcept {
    return detail::each([](bool p) { return !p; }, b);
}
template <typename B>
constexpr detail::if_bvec<B, bool> any(const B& b) noexcept {
    return !detail::all_of(ormath::not_(b));
}
template <typename B>
constexpr detail::if_bvec<B, bool> all(const B& b) noexcept {
    return detail::all_of(b);
}

}  // namespace ormath

#endif  // ORMATH_CXX17
