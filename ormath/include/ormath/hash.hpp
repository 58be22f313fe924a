// std::hash for Ormath's vectors (float, integer and boolean), matrices and
// quaternion, so that they can
// be keys of std::unordered_map and std::unordered_set.
//
// SPDX-License-Identifier: MIT
#pragma once

#include <ormath/guard.hpp>

#include <ormath/integer.hpp>
#include <ormath/matrices.hpp>
#include <ormath/quaternion.hpp>
#include <ormath/vectors.hpp>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <type_traits>
#include <utility>

namespace ormath::detail {

// The scalars of a value type, in memory order: data() points at the first
// of sizeof(T) / sizeof(scalar) packed ones.
template <typename T>
using scalar_of = std::remove_const_t<std::remove_pointer_t<decltype(std::declval<const T&>().data())>>;
template <typename T>
constexpr std::size_t scalar_count = sizeof(T) / sizeof(scalar_of<T>);

// A scalar's bits for hashing, equal wherever == is: -0 and +0 give 0's.
// NaN equals nothing, so its bits may be anything.
inline std::uint64_t hash_bits(float x) noexcept {
    std::uint32_t b = 0;
    if (x != 0.0f) {
        std::memcpy(&b, &x, sizeof b);
    }
    return b;
}
constexpr std::uint64_t hash_bits(std::int32_t x) noexcept { return static_cast<std::uint32_t>(x); }
constexpr std::uint64_t hash_bits(std::uint32_t x) noexcept { return x; }
constexpr std::uint64_t hash_bits(bool x) noexcept { return x ? 1 : 0; }

// std::hash of any of them: each scalar's bits folded in, in memory order,
// by a multiplication with the 64-bit golden ratio and a shift that brings
// the high bits down.
template <typename T>
struct component_hash {
    std::size_t operator()(const T& v) const noexcept {
        std::uint64_t h = scalar_count<T>;
        for (std::size_t i = 0; i < scalar_count<T>; ++i) {
            h = (h ^ hash_bits(v.data()[i])) * 0x9E3779B97F4A7C15u;
            h ^= h >> 29;
        }
        return static_cast<std::size_t>(h);
    }
};

}  // namespace ormath::detail

// One line per type.
template <>
struct std::hash<ormath::vec2> : ormath::detail::component_hash<ormath::vec2> {};
template <>
struct std::hash<ormath::vec3> : ormath::detail::component_hash<ormath::vec3> {};
template <>
struct std::hash<ormath::vec4> : ormath::detail::component_hash<ormath::vec4> {};
template <>
struct std::hash<ormath::mat2> : ormath::detail::component_hash<ormath::mat2> {};
template <>
struct std::hash<ormath::mat3> : ormath::detail::component_hash<ormath::mat3> {};
template <>
struct std::hash<ormath::mat4> : ormath::detail::component_hash<ormath::mat4> {};
template <>
struct std::hash<ormath::quat> : ormath::detail::component_hash<ormath::quat> {};
template <>
struct std::hash<ormath::ivec2> : ormath::detail::component_hash<ormath::ivec2> {};
template <>
struct std::hash<ormath::ivec3> : ormath::detail::component_hash<ormath::ivec3> {};
template <>
struct std::hash<ormath::ivec4> : ormath::detail::component_hash<ormath::ivec4> {};
template <>
struct std::hash<ormath::uvec2> : ormath::detail::component_hash<ormath::uvec2> {};
template <>
struct std::hash<ormath::uvec3> : ormath::detail::component_hash<ormath::uvec3> {};
template <>
struct std::hash<ormath::uvec4> : ormath::detail::component_hash<ormath::uvec4> {};
template <>
struct std::hash<ormath::bvec2> : ormath::detail::component_hash<ormath::bvec2> {};
template <>
struct std::hash<ormath::bvec3> : ormath::detail::component_hash<ormath::bvec3> {};
template <>
struct std::hash<ormath::bvec4> : ormath::detail::component_hash<ormath::bvec4> {};
