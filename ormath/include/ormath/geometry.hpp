// What culling and picking need: the planes of a view frustum, sphere and
// box tests against them, and where a ray meets a plane, a sphere, a box or
// a triangle.
//
// SPDX-License-Identifier: MIT
#pragma once

#include <ormath/guard.hpp>

#include <ormath/geometric.hpp>
#include <ormath/matrices.hpp>
#include <ormath/rounding.hpp>
#include <ormath/transforms.hpp>
#include <ormath/vectors.hpp>

#include <array>
#include <cmath>
#include <limits>

namespace ormath {

// ---------------------------------------------------------------- culling

// A plane is a vec4 (n, d): the points p with dot(n, p) + d = 0, n of unit
// length, and dot(n, p) + d >= 0 on its inside.

namespace detail {

// Row r of m.
constexpr vec4 row(const mat4& m, int r) noexcept { return {m[0][r], m[1][r], m[2][r], m[3][r]}; }

// p with each component divided by length(p.xyz); (0, 0, 0, 1) when p.xyz is
// zero, the plane of an infinite far plane, which every point is inside.
inline vec4 unit_plane(const vec4& p) noexcept {
    const float n = ormath::length(vec3(p));
    if (n == 0.0f) {
        return {0, 0, 0, 1};
    }
    return p / n;
}

}  // namespace detail

// The six planes of the volume that clip_from_world (a projection times a
// view, times a model for object space) keeps, in the space it maps from, in
// the order left, right, bottom, top, near, far, each facing inwards. With
// r0..r3 the rows of the matrix, component by component (one operation each):
// left r3 + r0, right r3 - r0, bottom r3 + r1, top r3 - r1, and by `depth`
//   minus_one_to_one: near r3 + r2, far r3 - r2
//   zero_to_one:      near r2,      far r3 - r2
//   one_to_zero:      near r3 - r2, far r2
// then each divided by the length of its first three components (component
// by component, not by a reciprocal). A far plane at infinity has no normal:
// it is returned as (0, 0, 0, 1), and so is any plane of a degenerate matrix
// whose normal is zero.
inline std::array<vec4, 6> frustum_planes(const mat4& clip_from_world,
                                          clip_depth depth = clip_depth::minus_one_to_one) noexcept {
    const vec4 r0 = detail::row(clip_from_world, 0), r1 = detail::row(clip_from_world, 1);
    const vec4 r2 = detail::row(clip_from_world, 2), r3 = detail::row(clip_from_world, 3);
    vec4 near_plane = r3 + r2, far_plane = r3 - r2;
    if (depth == clip_depth::zero_to_one) {
        near_plane = r2;
    } else if (depth == clip_depth::one_to_zero) {
        near_plane = r3 - r2;
        far_plane = r2;
    }
    return {detail::unit_plane(r3 + r0), detail::unit_plane(r3 - r0),    detail::unit_plane(r3 + r1),
            detail::unit_plane(r3 - r1), detail::unit_plane(near_plane), detail::unit_plane(far_plane)};
}

// False when the sphere lies wholly outside one of the planes:
// dot(n, center) + d < -radius for some plane (n, d), in dot's order with d
// added last. True otherwise, which includes some spheres near the volume's
// edges that are outside it; a culling test errs that way. A NaN gives true.
inline bool sphere_visible(const std::array<vec4, 6>& planes, const vec3& center, float radius) noexcept {
    for (const vec4& p : planes) {
        if (detail::narrow(ormath::dot(vec3(p), center) + p.w) < -radius) {
            return false;
        }
    }
    return true;
}

// False when the box lies wholly outside one of the planes: its corner
// furthest along n (box_max's component where n's is >= 0, box_min's
// elsewhere) has dot(n, corner) + d < 0, in dot's order with d added last.
// True otherwise, with the same margin as sphere_visible. A NaN gives true.
inline bool box_visible(const std::array<vec4, 6>& planes, const vec3& box_min,
                        const vec3& box_max) noexcept {
    for (const vec4& p : planes) {
        const vec3 corner(p.x >= 0.0f ? box_max.x : box_min.x, p.y >= 0.0f ? box_max.y : box_min.y,
                          p.z >= 0.0f ? box_max.z : box_min.z);
        if (detail::narrow(ormath::dot(vec3(p), corner) + p.w) < 0.0f) {
            return false;
        }
    }
    return true;
}

// ---------------------------------------------------------------- rays

// Each ray test returns the ray parameter t >= 0 of the nearest point
// origin + t * direction on the surface, in units of direction's length
// (direction need not be of unit length), and +infinity when there is none.
// Surfaces are closed: touching an edge or grazing a sphere hits. A ray that
// starts inside a sphere or a box hits where it leaves; an origin on the
// surface gives 0. A zero direction never moves: it gives 0 on the surface
// and +infinity elsewhere. NaN in the input gives +infinity or NaN.

// With dist = dot(n, origin) + d and denom = dot(n, direction) (dot's order,
// d added last): 0 when dist == 0, else t = -dist / denom if that is >= 0,
// else +infinity. Both sides of the plane hit; a direction along the plane
// (denom == 0) misses unless the origin is on it.
inline float ray_plane(const vec3& origin, const vec3& direction, const vec4& plane) noexcept {
    const vec3 n(plane);
    const float dist = detail::narrow(ormath::dot(n, origin) + plane.w);
    if (dist == 0.0f) {
        return 0.0f;
    }
    const float t = detail::narrow(-dist / ormath::dot(n, direction));
    return t >= 0.0f ? t : std::numeric_limits<float>::infinity();
}

// With m = origin - center, a = dot(direction, direction), b = dot(m, direction),
// c = dot(m, m) - radius * radius (product rounded) and
// disc = b * b - a * c (products rounded): 0 when c == 0 (the origin on the
// sphere); +infinity when a == 0, when the origin is outside (c > 0) and
// b >= 0 (moving away), or when disc < 0 (passing by). Otherwise, with
// q = -(b + sqrt(disc)) when b >= 0 and q = sqrt(disc) - b when b < 0 (so
// that nothing cancels), the hit is c / q from outside and the positive one of
// q / a and c / q from inside: the roots of a t^2 + 2 b t + c = 0, each
// one rounded quotient.
inline float ray_sphere(const vec3& origin, const vec3& direction, const vec3& center,
                        float radius) noexcept {
    using detail::mul;
    using detail::narrow;
    constexpr float none = std::numeric_limits<float>::infinity();
    const vec3 m = origin - center;
    const float a = ormath::dot(direction, direction);
    const float b = ormath::dot(m, direction);
    const float c = narrow(ormath::dot(m, m) - mul(radius, radius));
    if (c == 0.0f) {
        return 0.0f;
    }
    if (!(a > 0.0f) || (c > 0.0f && b >= 0.0f)) {
        return none;
    }
    const float disc = narrow(mul(b, b) - mul(a, c));
    if (!(disc >= 0.0f)) {
        return none;
    }
    const float q = b >= 0.0f ? -narrow(b + narrow(std::sqrt(disc))) : narrow(narrow(std::sqrt(disc)) - b);
    if (c > 0.0f || b >= 0.0f) {
        return narrow(c / q);
    }
    return narrow(q / a);
}

// The slab test. For each axis i with direction[i] != 0, the parameters
// (box_min[i] - origin[i]) / direction[i] and (box_max[i] - origin[i]) /
// direction[i]; t_enter is the largest of their smaller ones, t_exit the
// smallest of their larger ones. An axis with direction[i] == 0 misses when
// origin[i] is outside box_min[i]..box_max[i] and limits nothing otherwise.
// An origin in the closed box with a component on a face gives 0; otherwise
// the result is t_enter when 0 <= t_enter <= t_exit, t_exit when
// t_enter < 0 <= t_exit (inside), +infinity else. A box with
// box_min[i] > box_max[i] is empty.
inline float ray_box(const vec3& origin, const vec3& direction, const vec3& box_min,
                     const vec3& box_max) noexcept {
    constexpr float none = std::numeric_limits<float>::infinity();
    float t_enter = -none, t_exit = none;
    bool inside = true, on_face = false;
    for (int i = 0; i < 3; ++i) {
        const float o = origin[i], lo = box_min[i], hi = box_max[i];
        inside = inside && lo <= o && o <= hi;
        on_face = on_face || o == lo || o == hi;
        if (direction[i] == 0.0f) {
            // A NaN fails the test as written; the inverted comparisons would let it pass.
            // NOLINTNEXTLINE(readability-simplify-boolean-expr)
            if (!(lo <= o && o <= hi)) {
                return none;
            }
            continue;
        }
        const float t_lo = detail::narrow(detail::narrow(lo - o) / direction[i]);
        const float t_hi = detail::narrow(detail::narrow(hi - o) / direction[i]);
        t_enter = ormath::max(t_enter, ormath::min(t_lo, t_hi));
        t_exit = ormath::min(t_exit, ormath::max(t_lo, t_hi));
    }
    if (inside && on_face) {
        return 0.0f;
    }
    if (!(t_enter <= t_exit) || !(t_exit >= 0.0f)) {
        return none;
    }
    return t_enter >= 0.0f ? t_enter : t_exit;
}

// Both faces of triangle (a, b, c). With e1 = b - a, e2 = c - a,
// p = cross(direction, e2), det = dot(e1, p), s = origin - a and
// r = cross(s, e1): u = dot(s, p) / det, v = dot(direction, r) / det and
// t = dot(e2, r) / det (orders of cross and dot, one division each). A hit
// needs u >= 0, v >= 0, u + v <= 1 (edges and corners included) and t >= 0;
// an origin on the triangle gives t = 0 (+0) wherever the arithmetic is exact.
// det == 0 gives +infinity: a zero-area triangle, a zero direction, or a ray
// along the triangle's plane, which misses even from on the triangle.
inline float ray_triangle(const vec3& origin, const vec3& direction, const vec3& a, const vec3& b,
                          const vec3& c) noexcept {
    constexpr float none = std::numeric_limits<float>::infinity();
    const vec3 e1 = b - a, e2 = c - a;
    const vec3 p = ormath::cross(direction, e2);
    const float det = ormath::dot(e1, p);
    if (det == 0.0f) {
        return none;
    }
    const vec3 s = origin - a;
    const float u = detail::narrow(ormath::dot(s, p) / det);
    // A NaN fails the test as written; the inverted comparisons would let it pass.
    // NOLINTNEXTLINE(readability-simplify-boolean-expr)
    if (!(u >= 0.0f && u <= 1.0f)) {
        return none;
    }
    const vec3 r = ormath::cross(s, e1);
    const float v = detail::narrow(ormath::dot(direction, r) / det);
    // A NaN fails the test as written; the inverted comparisons would let it pass.
    // NOLINTNEXTLINE(readability-simplify-boolean-expr)
    if (!(v >= 0.0f && detail::narrow(u + v) <= 1.0f)) {
        return none;
    }
    const float t = detail::narrow(ormath::dot(e2, r) / det);
    return t > 0.0f ? t : t == 0.0f ? 0.0f : none;
}

}  // namespace ormath
