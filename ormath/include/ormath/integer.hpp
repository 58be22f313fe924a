// GLSL's integer and boolean vectors: ivec2..4 of int32_t, uvec2..4 of
// uint32_t and bvec2..4 of bool; their arithmetic, bit operations and
// conversions, abs, sign, min, max and clamp, and GLSL's integer functions.
//
// SPDX-License-Identifier: MIT
#pragma once

#include <ormath/guard.hpp>
#ifdef ORMATH_CXX17

#include <ormath/vectors.hpp>

#include <cstdint>
#include <type_traits>

namespace ormath {

// Integer arithmetic has no order to choose and nothing undefined:
// - +, -, * and unary - wrap modulo 2^32 (two's complement for the signed
//   types, as GLSL defines): each is computed in uint32_t.
// - x / 0 and x % 0 are 0; INT_MIN / -1 is INT_MIN and INT_MIN % -1 is 0.
//   Otherwise / truncates toward zero and x % y has the sign of x.
// - Shifts use the count modulo 32 (its low five bits, so a count of -1 is
//   31); << of a negative value is two's complement, as for a positive one;
//   >> of a signed value copies the sign bit in, of an unsigned one zeros.
// - abs(INT_MIN) is INT_MIN.
static_assert(std::is_same_v<decltype(std::uint32_t() * std::uint32_t()), std::uint32_t>,
              "uint32_t must not promote to a signed int");

namespace detail {

// The int32_t whose two's complement bits are u, without an implementation-defined conversion.
constexpr std::int32_t to_signed(std::uint32_t u) noexcept {
    return u < 0x80000000u ? static_cast<std::int32_t>(u) : -static_cast<std::int32_t>(~u) - 1;
}
template <typename T>
constexpr T wrap(std::uint32_t u) noexcept {
    if constexpr (std::is_same_v<T, std::int32_t>) {
        return to_signed(u);
    } else {
        return u;
    }
}

// GLSL's conversion of one component to T: from float, truncation toward
// zero saturating at T's range, NaN to 0; between int32_t and uint32_t, the
// same 32 bits; to bool, x != 0 (so NaN is true); from bool, 0 or 1; to
// float, the nearest float, ties to even.
template <typename T, typename U>
constexpr T convert(U x) noexcept {
    if constexpr (std::is_same_v<T, U>) {
        return x;
    } else if constexpr (std::is_same_v<T, bool>) {
        return x != U(0);
    } else if constexpr (std::is_same_v<U, float> && std::is_same_v<T, std::int32_t>) {
        return x != x ? 0 : x >= 0x1p31f ? 0x7fffffff : x <= -0x1p31f ? -0x7fffffff - 1 : static_cast<T>(x);
    } else if constexpr (std::is_same_v<U, float>) {
        return !(x > -1.0f) ? 0u : x >= 0x1p32f ? 0xffffffffu : static_cast<T>(x);
    } else if constexpr (std::is_same_v<T, std::int32_t>) {
        return to_signed(static_cast<std::uint32_t>(x));
    } else if constexpr (std::is_same_v<T, float>) {
        // An integer of more than 24 bits is rounded to float here, also on x87.
        return narrow(static_cast<float>(x));
    } else {
        return static_cast<T>(x);
    }
}

}  // namespace detail

// Packed like the float vectors (asserted below): n components, no padding,
// so an array of n ivec3 is 3n int32_t and a bvec3 three bytes. The
// constructors follow GLSL's: from components, from one scalar for all
// (explicit), from shorter vectors and scalars, and explicitly from a longer
// vector (its leading components) or from a vector of another component type
// (detail::convert, component by component; vec3(v) of an ivec3 or bvec3 v is
// the conversion the other way).

template <typename T>
struct basic_vec3;
template <typename T>
struct basic_vec4;

template <typename T>
struct basic_vec2 {
    T x, y;

    constexpr basic_vec2() noexcept : x(), y() {}
    constexpr basic_vec2(T x_, T y_) noexcept : x(x_), y(y_) {}
    constexpr explicit basic_vec2(T s) noexcept : x(s), y(s) {}
    constexpr explicit basic_vec2(const basic_vec3<T>& v) noexcept;
    constexpr explicit basic_vec2(const basic_vec4<T>& v) noexcept;
    template <typename U>
    constexpr explicit basic_vec2(const basic_vec2<U>& v) noexcept
        : x(detail::convert<T>(v.x)), y(detail::convert<T>(v.y)) {}
    constexpr explicit basic_vec2(const vec2& v) noexcept
        : x(detail::convert<T>(v.x)), y(detail::convert<T>(v.y)) {}
    constexpr explicit operator vec2() const noexcept {
        return {detail::convert<float>(x), detail::convert<float>(y)};
    }

    constexpr basic_vec2 xy() const noexcept { return *this; }

    constexpr T& operator[](int i) noexcept { return i == 0 ? x : y; }
    constexpr const T& operator[](int i) const noexcept { return i == 0 ? x : y; }
    constexpr T* data() noexcept { return &x; }
    constexpr const T* data() const noexcept { return &x; }
};

template <typename T>
struct basic_vec3 {
    T x, y, z;

    constexpr basic_vec3() noexcept : x(), y(), z() {}
    constexpr basic_vec3(T x_, T y_, T z_) noexcept : x(x_), y(y_), z(z_) {}
    constexpr explicit basic_vec3(T s) noexcept : x(s), y(s), z(s) {}
    constexpr basic_vec3(const basic_vec2<T>& v, T z_) noexcept : x(v.x), y(v.y), z(z_) {}
    constexpr basic_vec3(T x_, const basic_vec2<T>& v) noexcept : x(x_), y(v.x), z(v.y) {}
    constexpr explicit basic_vec3(const basic_vec4<T>& v) noexcept;
    template <typename U>
    constexpr explicit basic_vec3(const basic_vec3<U>& v) noexcept
        : x(detail::convert<T>(v.x)), y(detail::convert<T>(v.y)), z(detail::convert<T>(v.z)) {}
    constexpr explicit basic_vec3(const vec3& v) noexcept
        : x(detail::convert<T>(v.x)), y(detail::convert<T>(v.y)), z(detail::convert<T>(v.z)) {}
    constexpr explicit operator vec3() const noexcept {
        return {detail::convert<float>(x), detail::convert<float>(y), detail::convert<float>(z)};
    }

    constexpr basic_vec2<T> xy() const noexcept { return {x, y}; }
    constexpr basic_vec3 xyz() const noexcept { return *this; }

    constexpr T& operator[](int i) noexcept { return i == 0 ? x : i == 1 ? y : z; }
    constexpr const T& operator[](int i) const noexcept { return i == 0 ? x : i == 1 ? y : z; }
    constexpr T* data() noexcept { return &x; }
    constexpr const T* data() const noexcept { return &x; }
};

template <typename T>
struct basic_vec4 {
    T x, y, z, w;

    constexpr basic_vec4() noexcept : x(), y(), z(), w() {}
    constexpr basic_vec4(T x_, T y_, T z_, T w_) noexcept : x(x_), y(y_), z(z_), w(w_) {}
    constexpr explicit basic_vec4(T s) noexcept : x(s), y(s), z(s), w(s) {}
    constexpr basic_vec4(const basic_vec3<T>& v, T w_) noexcept : x(v.x), y(v.y), z(v.z), w(w_) {}
    constexpr basic_vec4(T x_, const basic_vec3<T>& v) noexcept : x(x_), y(v.x), z(v.y), w(v.z) {}
    constexpr basic_vec4(const basic_vec2<T>& v, T z_, T w_) noexcept : x(v.x), y(v.y), z(z_), w(w_) {}
    constexpr basic_vec4(const basic_vec2<T>& a, const basic_vec2<T>& b) noexcept
        : x(a.x), y(a.y), z(b.x), w(b.y) {}
    template <typename U>
    constexpr explicit basic_vec4(const basic_vec4<U>& v) noexcept
        : x(detail::convert<T>(v.x)),
          y(detail::convert<T>(v.y)),
          z(detail::convert<T>(v.z)),
          w(detail::convert<T>(v.w)) {}
    constexpr explicit basic_vec4(const vec4& v) noexcept
        : x(detail::convert<T>(v.x)),
          y(detail::convert<T>(v.y)),
          z(detail::convert<T>(v.z)),
          w(detail::convert<T>(v.w)) {}
    constexpr explicit operator vec4() const noexcept {
        return {detail::convert<float>(x), detail::convert<float>(y), detail::convert<float>(z),
                detail::convert<float>(w)};
    }

    constexpr basic_vec2<T> xy() const noexcept { return {x, y}; }
    constexpr basic_vec3<T> xyz() const noexcept { return {x, y, z}; }

    constexpr T& operator[](int i) noexcept { return i == 0 ? x : i == 1 ? y : i == 2 ? z : w; }
    constexpr const T& operator[](int i) const noexcept { return i == 0 ? x : i == 1 ? y : i == 2 ? z : w; }
    constexpr T* data() noexcept { return &x; }
    constexpr const T* data() const noexcept { return &x; }
};

template <typename T>
constexpr basic_vec2<T>::basic_vec2(const basic_vec3<T>& v) noexcept : x(v.x), y(v.y) {}
template <typename T>
constexpr basic_vec2<T>::basic_vec2(const basic_vec4<T>& v) noexcept : x(v.x), y(v.y) {}
template <typename T>
constexpr basic_vec3<T>::basic_vec3(const basic_vec4<T>& v) noexcept : x(v.x), y(v.y), z(v.z) {}

using ivec2 = basic_vec2<std::int32_t>;
using ivec3 = basic_vec3<std::int32_t>;
using ivec4 = basic_vec4<std::int32_t>;
using uvec2 = basic_vec2<std::uint32_t>;
using uvec3 = basic_vec3<std::uint32_t>;
using uvec4 = basic_vec4<std::uint32_t>;
using bvec2 = basic_vec2<bool>;
using bvec3 = basic_vec3<bool>;
using bvec4 = basic_vec4<bool>;

// The layout is the contract with OpenGL; check it where the types are made.
namespace detail {
template <typename V, typename C>
constexpr bool packed(std::size_t n) noexcept {
    return sizeof(V) == n * sizeof(C) && alignof(V) == alignof(C) && std::is_standard_layout_v<V> &&
           std::is_trivially_copyable_v<V>;
}
}  // namespace detail
static_assert(detail::packed<ivec2, std::int32_t>(2) && detail::packed<ivec3, std::int32_t>(3) &&
                  detail::packed<ivec4, std::int32_t>(4),
              "ivecN must be N packed int32_t");
static_assert(detail::packed<uvec2, std::uint32_t>(2) && detail::packed<uvec3, std::uint32_t>(3) &&
                  detail::packed<uvec4, std::uint32_t>(4),
              "uvecN must be N packed uint32_t");
static_assert(sizeof(bool) == 1 && detail::packed<bvec2, bool>(2) && detail::packed<bvec3, bool>(3) &&
                  detail::packed<bvec4, bool>(4),
              "bvecN must be N packed one-byte bools");
static_assert(sizeof(bvec3) == 3 && sizeof(ivec3[4]) == 12 * sizeof(std::int32_t),
              "arrays of vectors must be tightly packed");

namespace detail {

template <typename T>
struct vector_of<T, 2> {
    using type = basic_vec2<T>;
};
template <typename T>
struct vector_of<T, 3> {
    using type = basic_vec3<T>;
};
template <typename T>
struct vector_of<T, 4> {
    using type = basic_vec4<T>;
};

// The vector of V's size with components of type T: rebind_t<vec3, bool> is bvec3.
template <typename V, typename T>
struct rebind {};
template <typename U, typename T>
struct rebind<basic_vec2<U>, T> : vector_of<T, 2> {};
template <typename U, typename T>
struct rebind<basic_vec3<U>, T> : vector_of<T, 3> {};
template <typename U, typename T>
struct rebind<basic_vec4<U>, T> : vector_of<T, 4> {};
template <typename T>
struct rebind<vec2, T> : vector_of<T, 2> {};
template <typename T>
struct rebind<vec3, T> : vector_of<T, 3> {};
template <typename T>
struct rebind<vec4, T> : vector_of<T, 4> {};
template <typename V, typename T>
using rebind_t = typename rebind<V, T>::type;

// Which overloads take V: every integer or boolean vector (glsl_vector), or
// the ivec and uvec types only (integer_vector).
template <typename T>
constexpr bool is_integer = std::is_same_v<T, std::int32_t> || std::is_same_v<T, std::uint32_t>;
template <typename V>
struct glsl_vector : std::false_type {};
template <typename T>
struct glsl_vector<basic_vec2<T>> : std::true_type {};
template <typename T>
struct glsl_vector<basic_vec3<T>> : std::true_type {};
template <typename T>
struct glsl_vector<basic_vec4<T>> : std::true_type {};
template <typename V, typename R = V>
using if_glsl_vector = std::enable_if_t<glsl_vector<V>::value, R>;
template <typename V, typename R = V>
using if_integer_vector = std::enable_if_t<glsl_vector<V>::value && is_integer<component_t<V>>, R>;
template <typename V, typename R = V>
using if_unsigned_vector =
    std::enable_if_t<glsl_vector<V>::value && std::is_same_v<component_t<V>, std::uint32_t>, R>;
template <typename V, typename R = V>
using if_signed_vector =
    std::enable_if_t<glsl_vector<V>::value && std::is_same_v<component_t<V>, std::int32_t>, R>;

// True if every component of b is.
template <typename B>
constexpr bool all_of(const B& b) noexcept {
    for (int i = 0; i < size_of<B>; ++i) {
        if (!b[i]) {
            return false;
        }
    }
    return true;
}

// One component of each operator, as stated at the top of this header.
struct plus {
    template <typename T>
    constexpr T operator()(T a, T b) const noexcept {
        return wrap<T>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
    }
};
struct minus {
    template <typename T>
    constexpr T operator()(T a, T b) const noexcept {
        return wrap<T>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
    }
};
struct times {
    template <typename T>
    constexpr T operator()(T a, T b) const noexcept {
        return wrap<T>(static_cast<std::uint32_t>(a) * static_cast<std::uint32_t>(b));
    }
};
struct divides {
    template <typename T>
    constexpr T operator()(T a, T b) const noexcept {
        if (b == 0) {
            return 0;
        }
        if constexpr (std::is_signed_v<T>) {
            if (b == -1) {
                return wrap<T>(0u - static_cast<std::uint32_t>(a));
            }
        }
        return a / b;
    }
};
struct modulus {
    template <typename T>
    constexpr T operator()(T a, T b) const noexcept {
        if constexpr (std::is_signed_v<T>) {
            if (b == -1) {
                return 0;
            }
        }
        return b == 0 ? T(0) : a % b;
    }
};
struct bit_and {
    template <typename T>
    constexpr T operator()(T a, T b) const noexcept {
        return a & b;
    }
};
struct bit_or {
    template <typename T>
    constexpr T operator()(T a, T b) const noexcept {
        return a | b;
    }
};
struct bit_xor {
    template <typename T>
    constexpr T operator()(T a, T b) const noexcept {
        return a ^ b;
    }
};
struct shift_left {
    template <typename T>
    constexpr T operator()(T a, T count) const noexcept {
        return wrap<T>(static_cast<std::uint32_t>(a) << (static_cast<std::uint32_t>(count) & 31u));
    }
};
struct shift_right {
    template <typename T>
    constexpr T operator()(T a, T count) const noexcept {
        const std::uint32_t n = static_cast<std::uint32_t>(count) & 31u;
        if constexpr (std::is_signed_v<T>) {
            // ~a of a negative a is not negative, so both shifts are of non-negative values.
            return a < 0 ? ~(~a >> n) : a >> n;
        } else {
            return a >> n;
        }
    }
};

}  // namespace detail

// The operators of GLSL's integer vectors, component-wise between two
// vectors or a vector and a scalar on either side, and their compound forms.
// clang-format off
#define ORMATH_DETAIL_INTEGER_OPERATOR(OP, F)                                                            \
    template <typename V>                                                                                \
    constexpr detail::if_integer_vector<V> operator OP(const V& a, const V& b) noexcept {                \
        return detail::each(detail::F(), a, b);                                                          \
    }                                                                                                    \
    template <typename V>                                                                                \
    constexpr detail::if_integer_vector<V> operator OP(const V& a, detail::component_t<V> s) noexcept {  \
        return detail::each(detail::F(), a, V(s));                                                       \
    }                                                                                                    \
    template <typename V>                                                                                \
    constexpr detail::if_integer_vector<V> operator OP(detail::component_t<V> s, const V& a) noexcept {  \
        return detail::each(detail::F(), V(s), a);                                                       \
    }                                                                                                    \
    template <typename V>                                                                                \
    constexpr detail::if_integer_vector<V, V&> operator OP##=(V& a, const V& b) noexcept {               \
        return a = detail::each(detail::F(), a, b);                                                      \
    }                                                                                                    \
    template <typename V>                                                                                \
    constexpr detail::if_integer_vector<V, V&> operator OP##=(V& a, detail::component_t<V> s) noexcept { \
        return a = detail::each(detail::F(), a, V(s));                                                   \
    }
// clang-format on

ORMATH_DETAIL_INTEGER_OPERATOR(+, plus)
ORMATH_DETAIL_INTEGER_OPERATOR(-, minus)
ORMATH_DETAIL_INTEGER_OPERATOR(*, times)
ORMATH_DETAIL_INTEGER_OPERATOR(/, divides)
ORMATH_DETAIL_INTEGER_OPERATOR(%, modulus)
ORMATH_DETAIL_INTEGER_OPERATOR(&, bit_and)
ORMATH_DETAIL_INTEGER_OPERATOR(|, bit_or)
ORMATH_DETAIL_INTEGER_OPERATOR(^, bit_xor)
ORMATH_DETAIL_INTEGER_OPERATOR(<<, shift_left)
ORMATH_DETAIL_INTEGER_OPERATOR(>>, shift_right)
#undef ORMATH_DETAIL_INTEGER_OPERATOR

// -a wraps (-INT_MIN is INT_MIN; -u is 2^32 - u); ~a flips every bit.
template <typename V>
constexpr detail::if_integer_vector<V> operator-(const V& a) noexcept {
    return detail::each([](auto p) { return detail::minus()(decltype(p)(0), p); }, a);
}
template <typename V>
constexpr detail::if_integer_vector<V> operator~(const V& a) noexcept {
    return detail::each([](auto p) { return static_cast<decltype(p)>(~p); }, a);
}

// Every component equal, for the integer and boolean vectors.
template <typename V>
constexpr detail::if_glsl_vector<V, bool> operator==(const V& a, const V& b) noexcept {
    return detail::all_of(detail::each([](auto p, auto q) { return p == q; }, a, b));
}
template <typename V>
constexpr detail::if_glsl_vector<V, bool> operator!=(const V& a, const V& b) noexcept {
    return !(a == b);
}

// ---------------------------------------------------------------- common functions

// For ivec (abs, sign) and for ivec and uvec (min, max, clamp), component by
// component, with a scalar bound for every component in the mixed forms.
// abs(INT_MIN) is INT_MIN; sign is -1, 0 or 1; min is y < x ? y : x, max is
// x < y ? y : x, clamp is min(max(x, min_value), max_value), so max_value
// wins when min_value > max_value.
template <typename V>
constexpr detail::if_signed_vector<V> abs(const V& x) noexcept {
    return detail::each([](std::int32_t p) { return p < 0 ? detail::minus()(0, p) : p; }, x);
}
template <typename V>
constexpr detail::if_signed_vector<V> sign(const V& x) noexcept {
    return detail::each([](std::int32_t p) { return p > 0 ? 1 : p < 0 ? -1 : 0; }, x);
}
template <typename V>
constexpr detail::if_integer_vector<V> min(const V& x, const V& y) noexcept {
    return detail::each([](auto p, auto q) { return q < p ? q : p; }, x, y);
}
template <typename V>
constexpr detail::if_integer_vector<V> min(const V& x, detail::component_t<V> y) noexcept {
    return ormath::min(x, V(y));
}
template <typename V>
constexpr detail::if_integer_vector<V> max(const V& x, const V& y) noexcept {
    return detail::each([](auto p, auto q) { return p < q ? q : p; }, x, y);
}
template <typename V>
constexpr detail::if_integer_vector<V> max(const V& x, detail::component_t<V> y) noexcept {
    return ormath::max(x, V(y));
}
template <typename V>
constexpr detail::if_integer_vector<V> clamp(const V& x, const V& min_value, const V& max_value) noexcept {
    return ormath::min(ormath::max(x, min_value), max_value);
}
template <typename V>
constexpr detail::if_integer_vector<V> clamp(const V& x, detail::component_t<V> min_value,
                                             detail::component_t<V> max_value) noexcept {
    return ormath::clamp(x, V(min_value), V(max_value));
}

// ---------------------------------------------------------------- integer functions

// GLSL's integer functions, for int32_t, uint32_t and, component by
// component, the ivec and uvec types. Bit 0 is the least significant.

// uaddCarry: x + y modulo 2^32, and carry = 1 where the sum reached 2^32.
// usubBorrow: x - y modulo 2^32, and borrow = 1 where y > x.
constexpr std::uint32_t uaddCarry(std::uint32_t x, std::uint32_t y, std::uint32_t& carry) noexcept {
    carry = x + y < x ? 1u : 0u;
    return x + y;
}
constexpr std::uint32_t usubBorrow(std::uint32_t x, std::uint32_t y, std::uint32_t& borrow) noexcept {
    borrow = y > x ? 1u : 0u;
    return x - y;
}
// The 64-bit product x * y, exact: msb its high 32 bits and lsb its low ones.
constexpr void umulExtended(std::uint32_t x, std::uint32_t y, std::uint32_t& msb,
                            std::uint32_t& lsb) noexcept {
    const std::uint64_t p = std::uint64_t{x} * y;
    msb = static_cast<std::uint32_t>(p >> 32);
    lsb = static_cast<std::uint32_t>(p);
}
constexpr void imulExtended(std::int32_t x, std::int32_t y, std::int32_t& msb, std::int32_t& lsb) noexcept {
    const auto p = static_cast<std::uint64_t>(std::int64_t{x} * y);
    msb = detail::to_signed(static_cast<std::uint32_t>(p >> 32));
    lsb = detail::to_signed(static_cast<std::uint32_t>(p));
}

// The number of 1 bits.
constexpr std::int32_t bitCount(std::uint32_t v) noexcept {
    v = v - ((v >> 1) & 0x55555555u);
    v = (v & 0x33333333u) + ((v >> 2) & 0x33333333u);
    v = (v + (v >> 4)) & 0x0f0f0f0fu;
    return static_cast<std::int32_t>((v * 0x01010101u) >> 24);
}
constexpr std::int32_t bitCount(std::int32_t v) noexcept {
    return ormath::bitCount(static_cast<std::uint32_t>(v));
}

// The index of the lowest 1 bit, -1 for 0.
constexpr std::int32_t findLSB(std::uint32_t v) noexcept {
    return v == 0 ? -1 : ormath::bitCount((v & (0u - v)) - 1u);
}
constexpr std::int32_t findLSB(std::int32_t v) noexcept {
    return ormath::findLSB(static_cast<std::uint32_t>(v));
}

// The index of the highest 1 bit, -1 for 0; for a negative int32_t, of the
// highest 0 bit, so -1 for -1.
constexpr std::int32_t findMSB(std::uint32_t v) noexcept {
    for (std::uint32_t s = 1; s < 32; s *= 2) {
        v |= v >> s;
    }
    return ormath::bitCount(v) - 1;
}
constexpr std::int32_t findMSB(std::int32_t v) noexcept {
    return ormath::findMSB(static_cast<std::uint32_t>(v < 0 ? ~v : v));
}

// The bits in reverse order: bit n moves to bit 31 - n.
constexpr std::uint32_t bitfieldReverse(std::uint32_t v) noexcept {
    v = ((v >> 1) & 0x55555555u) | ((v & 0x55555555u) << 1);
    v = ((v >> 2) & 0x33333333u) | ((v & 0x33333333u) << 2);
    v = ((v >> 4) & 0x0f0f0f0fu) | ((v & 0x0f0f0f0fu) << 4);
    v = ((v >> 8) & 0x00ff00ffu) | ((v & 0x00ff00ffu) << 8);
    return (v >> 16) | (v << 16);
}
constexpr std::int32_t bitfieldReverse(std::int32_t v) noexcept {
    return detail::to_signed(ormath::bitfieldReverse(static_cast<std::uint32_t>(v)));
}

namespace detail {
// The field of `bits` bits from bit `offset` on; GLSL leaves offset < 0,
// bits < 0 and offset + bits > 32 open, and here no field (mask 0) is taken then.
constexpr std::uint32_t field_mask(int offset, int bits) noexcept {
    if (offset < 0 || bits <= 0 || offset > 32 - bits) {
        return 0;
    }
    return (bits == 32 ? 0xffffffffu : (1u << bits) - 1u) << offset;
}
}  // namespace detail

// The field of `bits` bits from bit `offset` of value, in the low bits of the
// result: zero-extended for uint32_t, sign-extended (from the field's highest
// bit) for int32_t. bits = 0, and a field that does not lie within the 32
// bits (offset < 0, bits < 0, offset + bits > 32), give 0.
constexpr std::uint32_t bitfieldExtract(std::uint32_t value, int offset, int bits) noexcept {
    const std::uint32_t mask = detail::field_mask(offset, bits);
    return mask == 0 ? 0u : (value & mask) >> offset;
}
constexpr std::int32_t bitfieldExtract(std::int32_t value, int offset, int bits) noexcept {
    const std::uint32_t field = ormath::bitfieldExtract(static_cast<std::uint32_t>(value), offset, bits);
    const bool negative = field != 0 && (field >> (bits - 1)) != 0;
    return detail::to_signed(negative && bits < 32 ? field | (0xffffffffu << bits) : field);
}
// base with the field of `bits` bits from bit `offset` replaced by the low
// bits of insert. bits = 0 and a field outside the 32 bits leave base as it is.
constexpr std::uint32_t bitfieldInsert(std::uint32_t base, std::uint32_t insert, int offset,
                                       int bits) noexcept {
    const std::uint32_t mask = detail::field_mask(offset, bits);
    return mask == 0 ? base : (base & ~mask) | ((insert << offset) & mask);
}
constexpr std::int32_t bitfieldInsert(std::int32_t base, std::int32_t insert, int offset, int bits) noexcept {
    return detail::to_signed(ormath::bitfieldInsert(static_cast<std::uint32_t>(base),
                                                    static_cast<std::uint32_t>(insert), offset, bits));
}

// The vector forms: component by component; offset and bits are one for all.
template <typename V>
constexpr detail::if_integer_vector<V, detail::rebind_t<V, std::int32_t>> bitCount(const V& v) noexcept {
    return detail::each([](auto p) { return ormath::bitCount(p); }, v);
}
template <typename V>
constexpr detail::if_integer_vector<V, detail::rebind_t<V, std::int32_t>> findLSB(const V& v) noexcept {
    return detail::each([](auto p) { return ormath::findLSB(p); }, v);
}
template <typename V>
constexpr detail::if_integer_vector<V, detail::rebind_t<V, std::int32_t>> findMSB(const V& v) noexcept {
    return detail::each([](auto p) { return ormath::findMSB(p); }, v);
}
template <typename V>
constexpr detail::if_integer_vector<V> bitfieldReverse(const V& v) noexcept {
    return detail::each([](auto p) { return ormath::bitfieldReverse(p); }, v);
}
template <typename V>
constexpr detail::if_integer_vector<V> bitfieldExtract(const V& value, int offset, int bits) noexcept {
    return detail::each([=](auto p) { return ormath::bitfieldExtract(p, offset, bits); }, value);
}
template <typename V>
constexpr detail::if_integer_vector<V> bitfieldInsert(const V& base, const V& insert, int offset,
                                                      int bits) noexcept {
    return detail::each([=](auto p, auto q) { return ormath::bitfieldInsert(p, q, offset, bits); }, base,
                        insert);
}
template <typename V>
constexpr detail::if_unsigned_vector<V> uaddCarry(const V& x, const V& y, V& carry) noexcept {
    carry = detail::each([](std::uint32_t p, std::uint32_t q) { return p + q < p ? 1u : 0u; }, x, y);
    return x + y;
}
template <typename V>
constexpr detail::if_unsigned_vector<V> usubBorrow(const V& x, const V& y, V& borrow) noexcept {
    borrow = detail::each([](std::uint32_t p, std::uint32_t q) { return q > p ? 1u : 0u; }, x, y);
    return x - y;
}
template <typename V>
constexpr detail::if_unsigned_vector<V, void> umulExtended(const V& x, const V& y, V& msb, V& lsb) noexcept {
    msb = detail::each(
        [](std::uint32_t p, std::uint32_t q) {
            std::uint32_t h = 0, l = 0;
            ormath::umulExtended(p, q, h, l);
            return h;
        },
        x, y);
    lsb = x * y;
}
template <typename V>
constexpr detail::if_signed_vector<V, void> imulExtended(const V& x, const V& y, V& msb, V& lsb) noexcept {
    msb = detail::each(
        [](std::int32_t p, std::int32_t q) {
            std::int32_t h = 0, l = 0;
            ormath::imulExtended(p, q, h, l);
            return h;
        },
        x, y);
    lsb = x * y;
}

}  // namespace ormath

#endif  // ORMATH_CXX17
