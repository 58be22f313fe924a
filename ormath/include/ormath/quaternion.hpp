// Ormath's quaternion: quat, the rotations it stands for, and its
// conversions to and from rotation matrices.
//
// SPDX-License-Identifier: MIT
#pragma once

#include <ormath/guard.hpp>

#include <ormath/common.hpp>
#include <ormath/elementary/inverse_trigonometric.hpp>
#include <ormath/elementary/trigonometric.hpp>
#include <ormath/geometric.hpp>
#include <ormath/matrices.hpp>
#include <ormath/rounding.hpp>
#include <ormath/vectors.hpp>

#include <cmath>
#include <type_traits>

namespace ormath {

// w + x i + y j + z k, stored (x, y, z, w): the vector part first and the
// real part w last, four packed floats as vec4 is. quat() is the identity
// (0, 0, 0, 1), unlike vec4(), which is zero. There is no conversion between
// quat and vec4 either way, and the functions below take a quat and nothing
// else, so a braced list such as {1, 2, 3, 4} never becomes one unasked.
//
// A rotation is any non-zero quaternion q: q turns a vector v into
// q v q^-1, which depends on q's direction only, so q and s q (s != 0, -1
// included) stand for the same rotation. quat_rotation gives unit
// quaternions; q * v and mat3(q) divide by dot(q, q) and so turn by
// normalize(q) whatever q's length.

struct quat {
    float x, y, z, w;

    // The identity.
    constexpr quat() noexcept : x(), y(), z(), w(1) {}
    constexpr explicit quat(float x_, float y_, float z_, float w_) noexcept : x(x_), y(y_), z(z_), w(w_) {}
    // The rotation of a rotation matrix m (orthonormal, determinant +1). It
    // does not normalise: see the definition below.
    explicit quat(const mat3& m) noexcept;

    // The rotation matrix, as detail::rotation_matrix forms it.
    constexpr explicit operator mat3() const noexcept;
    // That matrix in the upper-left block of the identity.
    constexpr explicit operator mat4() const noexcept;

    constexpr float* data() noexcept { return &x; }
    constexpr const float* data() const noexcept { return &x; }
};

static_assert(detail::packed_floats<quat>(4), "quat must be four packed floats");

namespace detail {

template <typename Q, typename R = Q>
using if_quat = std::enable_if_t<std::is_same<Q, quat>::value, R>;

// The vector part.
constexpr vec3 vector_part(const quat& q) noexcept { return {q.x, q.y, q.z}; }

}  // namespace detail

// ---------------------------------------------------------------- arithmetic

// Component-wise, as for vec4: one IEEE operation per component, products
// rounded on their own; q / s divides. == and != compare as IEEE does
// (-0 == +0, NaN equals nothing), so q == -q is false although both stand
// for the same rotation.
constexpr bool operator==(const quat& a, const quat& b) noexcept {
    return a.x == b.x && a.y == b.y && a.z == b.z && a.w == b.w;
}
constexpr bool operator!=(const quat& a, const quat& b) noexcept { return !(a == b); }
constexpr quat operator+(const quat& a, const quat& b) noexcept {
    using detail::narrow;
    return quat(narrow(a.x + b.x), narrow(a.y + b.y), narrow(a.z + b.z), narrow(a.w + b.w));
}
constexpr quat operator-(const quat& a, const quat& b) noexcept {
    using detail::narrow;
    return quat(narrow(a.x - b.x), narrow(a.y - b.y), narrow(a.z - b.z), narrow(a.w - b.w));
}
constexpr quat operator-(const quat& a) noexcept { return quat(-a.x, -a.y, -a.z, -a.w); }
constexpr quat operator*(const quat& a, float s) noexcept {
    using detail::mul;
    return quat(mul(a.x, s), mul(a.y, s), mul(a.z, s), mul(a.w, s));
}
constexpr quat operator*(float s, const quat& a) noexcept { return a * s; }
constexpr quat operator/(const quat& a, float s) noexcept {
    using detail::narrow;
    return quat(narrow(a.x / s), narrow(a.y / s), narrow(a.z / s), narrow(a.w / s));
}

// The Hamilton product: q * p turns by p first, then by q, as with matrices.
// Each component is four rounded products summed left to right:
//   x = ((q.w*p.x + q.x*p.w) + q.y*p.z) - q.z*p.y
//   y = ((q.w*p.y - q.x*p.z) + q.y*p.w) + q.z*p.x
//   z = ((q.w*p.z + q.x*p.y) - q.y*p.x) + q.z*p.w
//   w = ((q.w*p.w - q.x*p.x) - q.y*p.y) - q.z*p.z
constexpr quat operator*(const quat& q, const quat& p) noexcept {
    using detail::mul;
    using detail::narrow;
    return quat(narrow(narrow(narrow(mul(q.w, p.x) + mul(q.x, p.w)) + mul(q.y, p.z)) - mul(q.z, p.y)),
                narrow(narrow(narrow(mul(q.w, p.y) - mul(q.x, p.z)) + mul(q.y, p.w)) + mul(q.z, p.x)),
                narrow(narrow(narrow(mul(q.w, p.z) + mul(q.x, p.y)) - mul(q.y, p.x)) + mul(q.z, p.w)),
                narrow(narrow(narrow(mul(q.w, p.w) - mul(q.x, p.x)) - mul(q.y, p.y)) - mul(q.z, p.z)));
}

// ((a.x*b.x + a.y*b.y) + a.z*b.z) + a.w*b.w, each product rounded.
template <typename Q>
constexpr detail::if_quat<Q, float> dot(const Q& a, const Q& b) noexcept {
    using detail::mul;
    using detail::narrow;
    return narrow(narrow(narrow(mul(a.x, b.x) + mul(a.y, b.y)) + mul(a.z, b.z)) + mul(a.w, b.w));
}

// v turned by q: q v q^-1 = q v conjugate(q) / dot(q, q). With u = q's
// vector part, n = dot(q, q), a = q.w*q.w - dot(u, u), b = 2 * dot(u, v) and
// c = 2 * q.w, each component is
//   ((a*v + b*u) + c*cross(u, v)) / n,
// products rounded, sums left to right, one division. Dividing by n makes a
// quaternion of any length turn by its direction, and makes the whole and
// half turns about the axes, whose unit quaternions hold sqrt(1/2) rounded,
// exact: a turn of quat_rotation(90 * k, axis) takes each of the unit
// vectors along the axes exactly onto another. A zero q gives NaN.
constexpr vec3 operator*(const quat& q, const vec3& v) noexcept {
    using detail::mul;
    const vec3 u = detail::vector_part(q);
    const float n = ormath::dot(q, q);
    const float a = detail::narrow(mul(q.w, q.w) - ormath::dot(u, u));
    const float b = detail::narrow(2.0f * ormath::dot(u, v));
    const float c = detail::narrow(2.0f * q.w);
    return ((a * v + b * u) + c * ormath::cross(u, v)) / n;
}

// (-x, -y, -z, w): the opposite turn for a unit q. Exact.
constexpr quat conjugate(const quat& q) noexcept { return quat(-q.x, -q.y, -q.z, q.w); }

// conjugate(q) with each component divided by dot(q, q). A zero q gives NaN.
constexpr quat inverse(const quat& q) noexcept { return conjugate(q) / ormath::dot(q, q); }

// std::sqrt(dot(q, q)), unscaled as for vectors.
template <typename Q>
inline detail::if_quat<Q, float> length(const Q& q) noexcept {
    return detail::narrow(std::sqrt(ormath::dot(q, q)));
}

// Each component divided by length(q). A zero q gives NaN.
template <typename Q>
inline detail::if_quat<Q> normalize(const Q& q) noexcept {
    return q / ormath::length(q);
}

// ---------------------------------------------------------------- rotations
//
// The sin, cos, acos and atan below are Ormath's own, correctly rounded, so
// no C library's last bit reaches a rotation.

// The unit quaternion of a turn by angle_degrees about unit_axis, in the
// sense of rotate(angle_degrees, unit_axis): counter-clockwise seen from the
// axis tip. It is (sin(h) * unit_axis, cos(h)) with h half the angle. The
// half angle is reduced in degrees, exactly (h/2 is exact, std::fmod is
// exact, and the quarter turn taken off leaves a remainder r in -45..45
// without rounding): sin and cos are evaluated at radians(r) and swapped and
// negated for the quarter turns. So whole multiples of 180 degrees give
// components 0 and +-1 exactly, odd multiples of 90 degrees equal components
// +-sqrt(1/2) rounded, and a large angle loses nothing to the reduction. The
// axis is used as given, not normalised; an infinite or NaN angle gives NaN.
inline quat quat_rotation(float angle_degrees, const vec3& unit_axis) noexcept {
    const float half = std::fmod(detail::narrow(angle_degrees / 2.0f), 360.0f);
    const float quarters = std::floor(detail::narrow(detail::narrow(half + 45.0f) / 90.0f));
    const float r = detail::narrow(half - detail::mul(90.0f, quarters));
    const float sin_r = ormath::sin(radians(r));
    const float cos_r = ormath::cos(radians(r));
    float s = sin_r, c = cos_r;
    switch (std::isnan(quarters) ? 0 : static_cast<int>(quarters) & 3) {
        case 1:
            s = cos_r;
            c = -sin_r;
            break;
        case 2:
            s = -sin_r;
            c = -cos_r;
            break;
        case 3:
            s = -cos_r;
            c = sin_r;
            break;
        default:
            break;
    }
    return quat(detail::mul(s, unit_axis.x), detail::mul(s, unit_axis.y), detail::mul(s, unit_axis.z), c);
}

// The shortest turn taking unit vector `from` onto unit vector `to`:
// normalize(quat(cross(from, to), 1 + dot(from, to))), in the orders of
// cross, dot and normalize. When 1 + dot(from, to) <= 2^-23 the vectors are
// opposite to within float rounding (about 0.03 degrees) and every axis
// perpendicular to `from` is a shortest turn; the result is then the half
// turn quat(normalize(cross(from, e)), 0), e the unit axis along from's
// smallest component in magnitude (x before y before z on ties). Equal
// vectors give the identity.
inline quat quat_between(const vec3& from, const vec3& to) noexcept {
    const float w = detail::narrow(1.0f + ormath::dot(from, to));
    if (!(w > 0x1p-23f)) {
        const vec3 m = ormath::abs(from);
        const vec3 e = m.x <= m.y && m.x <= m.z ? vec3(1, 0, 0) : m.y <= m.z ? vec3(0, 1, 0) : vec3(0, 0, 1);
        const vec3 axis = ormath::normalize(ormath::cross(from, e));
        return quat(axis.x, axis.y, axis.z, 0.0f);
    }
    const vec3 c = ormath::cross(from, to);
    return ormath::normalize(quat(c.x, c.y, c.z, w));
}

// The turn's angle in degrees, in 0..360: degrees(2 * atan2(length(u), q.w)),
// u = q's vector part, in the orders of length and degrees (the doubling is
// exact). A quaternion and its negation give a and 360 - a, the same turn
// the other way round the axis. q need not be of unit length.
inline float angle(const quat& q) noexcept {
    return degrees(detail::narrow(2.0f * ormath::atan(ormath::length(detail::vector_part(q)), q.w)));
}

// The turn's unit axis: normalize(u), u = q's vector part, so that
// quat_rotation(angle(q), axis(q)) is q for a unit q. A q with no vector
// part (the identity and its multiples) turns about no axis; it gives
// (0, 0, 1), the axis of turns in the screen plane.
inline vec3 axis(const quat& q) noexcept {
    const vec3 u = detail::vector_part(q);
    if (u == vec3(0.0f)) {
        return {0, 0, 1};
    }
    return ormath::normalize(u);
}

// Spherical linear interpolation along the shorter arc: p is replaced by -p
// when dot(q, p) < 0, and then, with d = dot(q, p), theta = acos(d),
// a = sin((1 - t) * theta) / sin(theta) and b = sin(t * theta) / sin(theta),
// the result is q * a + p * b, component by component (products rounded, one
// sum). t outside 0..1 continues along the same great circle: it
// extrapolates the turn at the same angular speed. When d > 0.9995 (the two
// turns differ by less than about 3.6 degrees) sin(theta) is too small to
// divide by and the result is nlerp(q, p, t) instead. Otherwise t = 0 gives
// q and t = 1 gives p or -p, since then a and b are exactly 1 and 0.
// q and p should be of unit length.
inline quat slerp(const quat& q, const quat& p, float t) noexcept {
    using detail::mul;
    using detail::narrow;
    const float d0 = ormath::dot(q, p);
    const quat to = d0 < 0.0f ? -p : p;
    const float d = ormath::abs(d0);
    if (d > 0.9995f) {
        const float keep = narrow(1.0f - t);
        return ormath::normalize(q * keep + to * t);
    }
    const float theta = ormath::acos(d);
    const float sin_theta = ormath::sin(theta);
    const float a = narrow(ormath::sin(mul(narrow(1.0f - t), theta)) / sin_theta);
    const float b = narrow(ormath::sin(mul(t, theta)) / sin_theta);
    return q * a + to * b;
}

// Normalised linear interpolation along the shorter arc: p is replaced by -p
// when dot(q, p) < 0, then normalize(q * (1 - t) + p * t), with 1 - t formed
// once and the products rounded (mix's form). It follows slerp's path at an
// uneven speed. t is not clamped. q and -p exactly opposite give NaN.
inline quat nlerp(const quat& q, const quat& p, float t) noexcept {
    const quat to = ormath::dot(q, p) < 0.0f ? -p : p;
    const float keep = detail::narrow(1.0f - t);
    return ormath::normalize(q * keep + to * t);
}

namespace detail {

// The rotation matrix of q / length(q): with the rounded products xx = x*x,
// xy = x*y and so on, and n = ((xx + yy) + zz) + ww (dot(q, q)), the columns
//   ((ww + xx) - (yy + zz), 2 * (xy + wz), 2 * (xz - wy)) / n
//   (2 * (xy - wz), (ww + yy) - (xx + zz), 2 * (yz + wx)) / n
//   (2 * (xz + wy), 2 * (yz - wx), (ww + zz) - (xx + yy)) / n
// each entry divided by n. The whole and half turns about the axes give
// exactly 0 and +-1 entries. A zero q gives NaN.
constexpr mat3 rotation_matrix(const quat& q) noexcept {
    const float xx = mul(q.x, q.x), yy = mul(q.y, q.y), zz = mul(q.z, q.z), ww = mul(q.w, q.w);
    const float xy = mul(q.x, q.y), xz = mul(q.x, q.z), yz = mul(q.y, q.z);
    const float wx = mul(q.w, q.x), wy = mul(q.w, q.y), wz = mul(q.w, q.z);
    const float n = narrow(narrow(narrow(xx + yy) + zz) + ww);
    return {vec3(narrow(narrow(ww + xx) - narrow(yy + zz)), narrow(2.0f * narrow(xy + wz)),
                 narrow(2.0f * narrow(xz - wy))) /
                n,
            vec3(narrow(2.0f * narrow(xy - wz)), narrow(narrow(ww + yy) - narrow(xx + zz)),
                 narrow(2.0f * narrow(yz + wx))) /
                n,
            vec3(narrow(2.0f * narrow(xz + wy)), narrow(2.0f * narrow(yz - wx)),
                 narrow(narrow(ww + zz) - narrow(xx + yy))) /
                n};
}

}  // namespace detail

constexpr quat::operator mat3() const noexcept { return detail::rotation_matrix(*this); }
constexpr quat::operator mat4() const noexcept { return mat4(detail::rotation_matrix(*this)); }

// The unit quaternion of rotation matrix m (entries m[c][r]), by the largest
// of 4w^2 = 1 + trace, 4x^2 = ((1 + m[0][0]) - m[1][1]) - m[2][2] and the
// like for y and z, so that nothing is divided by a small number: any turn
// converts, half turns included. With t = (m[0][0] + m[1][1]) + m[2][2]
// compared with m[0][0], m[1][1], m[2][2] (the first largest wins, t before
// the diagonal), the largest component k is std::sqrt(1 + its sum) * 0.5 and
// the three others are sums or differences of two off-diagonal entries
// divided by 4 * k:
//   w: x = (m[1][2] - m[2][1]) / 4w, y = (m[2][0] - m[0][2]) / 4w, z = (m[0][1] - m[1][0]) / 4w
//   x: y = (m[0][1] + m[1][0]) / 4x, z = (m[2][0] + m[0][2]) / 4x, w = (m[1][2] - m[2][1]) / 4x
//   y: x = (m[0][1] + m[1][0]) / 4y, z = (m[1][2] + m[2][1]) / 4y, w = (m[2][0] - m[0][2]) / 4y
//   z: x = (m[2][0] + m[0][2]) / 4z, y = (m[1][2] + m[2][1]) / 4z, w = (m[0][1] - m[1][0]) / 4z
// The largest component is positive. The result is not normalised: for a
// rotation matrix that carries rounding it is of unit length to within that
// rounding; a matrix that is not a rotation gives a quaternion of no meaning.
inline quat::quat(const mat3& m) noexcept : quat() {
    using detail::narrow;
    const float t = narrow(narrow(m[0].x + m[1].y) + m[2].z);
    if (t >= m[0].x && t >= m[1].y && t >= m[2].z) {
        const float k = narrow(narrow(std::sqrt(narrow(1.0f + t))) * 0.5f), k4 = narrow(4.0f * k);
        *this = quat(narrow(narrow(m[1].z - m[2].y) / k4), narrow(narrow(m[2].x - m[0].z) / k4),
                     narrow(narrow(m[0].y - m[1].x) / k4), k);
    } else if (m[0].x >= m[1].y && m[0].x >= m[2].z) {
        const float k = narrow(narrow(std::sqrt(narrow(narrow(narrow(1.0f + m[0].x) - m[1].y) - m[2].z))) *
                               0.5f),
                    k4 = narrow(4.0f * k);
        *this = quat(k, narrow(narrow(m[0].y + m[1].x) / k4), narrow(narrow(m[2].x + m[0].z) / k4),
                     narrow(narrow(m[1].z - m[2].y) / k4));
    } else if (m[1].y >= m[2].z) {
        const float k = narrow(narrow(std::sqrt(narrow(narrow(narrow(1.0f + m[1].y) - m[0].x) - m[2].z))) *
                               0.5f),
                    k4 = narrow(4.0f * k);
        *this = quat(narrow(narrow(m[0].y + m[1].x) / k4), k, narrow(narrow(m[1].z + m[2].y) / k4),
                     narrow(narrow(m[2].x - m[0].z) / k4));
    } else {
        const float k = narrow(narrow(std::sqrt(narrow(narrow(narrow(1.0f + m[2].z) - m[0].x) - m[1].y))) *
                               0.5f),
                    k4 = narrow(4.0f * k);
        *this = quat(narrow(narrow(m[2].x + m[0].z) / k4), narrow(narrow(m[1].z + m[2].y) / k4), k,
                     narrow(narrow(m[0].y - m[1].x) / k4));
    }
}

}  // namespace ormath
