// operator<< for Ormath's vectors, matrices and quaternion. Opt-in, and not
// included by ormath.hpp, since it brings <ostream>.
//
// SPDX-License-Identifier: MIT
#pragma once

#include <ormath/guard.hpp>

#include <ormath/hash.hpp>
#include <ormath/integer.hpp>
#include <ormath/matrices.hpp>
#include <ormath/quaternion.hpp>
#include <ormath/vectors.hpp>

#include <charconv>
#include <cstdint>
#include <ostream>
#include <type_traits>

namespace ormath {
namespace detail {

// The name each type prints under; one line per type.
template <typename T>
inline constexpr const char* type_name = nullptr;
template <>
inline constexpr const char* type_name<vec2> = "vec2";
template <>
inline constexpr const char* type_name<vec3> = "vec3";
template <>
inline constexpr const char* type_name<vec4> = "vec4";
template <>
inline constexpr const char* type_name<mat2> = "mat2";
template <>
inline constexpr const char* type_name<mat3> = "mat3";
template <>
inline constexpr const char* type_name<mat4> = "mat4";
template <>
inline constexpr const char* type_name<quat> = "quat";
template <>
inline constexpr const char* type_name<ivec2> = "ivec2";
template <>
inline constexpr const char* type_name<ivec3> = "ivec3";
template <>
inline constexpr const char* type_name<ivec4> = "ivec4";
template <>
inline constexpr const char* type_name<uvec2> = "uvec2";
template <>
inline constexpr const char* type_name<uvec3> = "uvec3";
template <>
inline constexpr const char* type_name<uvec4> = "uvec4";
template <>
inline constexpr const char* type_name<bvec2> = "bvec2";
template <>
inline constexpr const char* type_name<bvec3> = "bvec3";
template <>
inline constexpr const char* type_name<bvec4> = "bvec4";

// The shortest decimal that reads back as the same float (std::to_chars
// with no precision): 0.1f prints 0.1, and -0, inf, -inf and nan as such.
inline void put_scalar(std::ostream& out, float x) {
    char text[32];
    const std::to_chars_result end = std::to_chars(text, text + sizeof text, x);
    out.write(text, end.ptr - text);
}
inline void put_scalar(std::ostream& out, std::int32_t x) {
    char text[16];
    const std::to_chars_result end = std::to_chars(text, text + sizeof text, x);
    out.write(text, end.ptr - text);
}
inline void put_scalar(std::ostream& out, std::uint32_t x) {
    char text[16];
    const std::to_chars_result end = std::to_chars(text, text + sizeof text, x);
    out.write(text, end.ptr - text);
}
inline void put_scalar(std::ostream& out, bool x) { out << (x ? "true" : "false"); }

}  // namespace detail

// The type's name and its scalars in memory order, as the constructor that
// takes them all would: vec3(1, 0.5, -0), quat(0, 0, 0, 1), and a matrix's
// entries column after column, mat2(1, 0, 0, 1). The stream's own format
// flags and width are not used.
template <typename T, typename = std::enable_if_t<detail::type_name<T> != nullptr>>
std::ostream& operator<<(std::ostream& out, const T& v) {
    out << detail::type_name<T> << '(';
    for (std::size_t i = 0; i < detail::scalar_count<T>; ++i) {
        if (i != 0) {
            out << ", ";
        }
        detail::put_scalar(out, v.data()[i]);
    }
    return out << ')';
}

}  // namespace ormath
