// The matrices of OpenGL's and GLU's transform calls (translate, scale,
// rotate, frustum, ortho, perspective, look_at, pick_matrix), in each depth
// convention of clip space (clip_depth), and GLU's window mappings (project,
// unproject). Angles in degrees, as those calls take them; rotate and
// perspective take their sine, cosine and tangent from elementary.hpp,
// correctly rounded.
//
// SPDX-License-Identifier: MIT
#pragma once

#include <ormath/guard.hpp>
#ifdef ORMATH_CXX17

#include <ormath/common.hpp>
#include <ormath/elementary.hpp>
#include <ormath/geometric.hpp>
#include <ormath/matrices.hpp>
#include <ormath/rounding.hpp>
#include <ormath/vectors.hpp>

#include <cmath>
#include <limits>

namespace ormath {

// Each builder returns the matrix that the OpenGL or GLU call of the same
// name multiplies onto the current matrix, column-major. None checks its
// arguments.

// The matrix of glTranslatef(v.x, v.y, v.z): the identity with column 3 = (v, 1).
constexpr mat4 translate(const vec3& v) noexcept {
    return {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, vec4(v, 1)};
}

// The matrix of glScalef(v.x, v.y, v.z): (v.x, v.y, v.z, 1) on the diagonal.
constexpr mat4 scale(const vec3& v) noexcept {
    return {{v.x, 0, 0, 0}, {0, v.y, 0, 0}, {0, 0, v.z, 0}, {0, 0, 0, 1}};
}

// The matrix of glRotatef(angle_degrees, axis) for a unit-length axis (the
// axis is used as given, not normalised). A positive angle turns
// counter-clockwise seen from the axis tip. With a = radians(angle),
// c = ormath::cos(a), s = ormath::sin(a) and t = (1 - c) * axis, the 3x3 block is
// c + t.x*axis.x, t.x*axis.y + s*axis.z, t.x*axis.z - s*axis.y in column 0
// and likewise for the others, products rounded. Every entry is evaluated by
// its formula, so entries that a special axis makes 0 or 1 carry the rounding
// of that formula (for the z axis, m[2][2] is c + (1 - c)). c and s are
// correctly rounded, so every bit of the matrix is defined.
inline mat4 rotate(float angle_degrees, const vec3& axis) noexcept {
    using detail::mul;
    using detail::narrow;
    const float a = radians(angle_degrees);
    const float cos_a = ormath::cos(a);
    const float sin_a = ormath::sin(a);
    const vec3 t = narrow(1.0f - cos_a) * axis;
    // clang-format off
    return {{narrow(cos_a + mul(t.x, axis.x)), narrow(mul(t.x, axis.y) + mul(sin_a, axis.z)), narrow(mul(t.x, axis.z) - mul(sin_a, axis.y)), 0},
            {narrow(mul(t.y, axis.x) - mul(sin_a, axis.z)), narrow(cos_a + mul(t.y, axis.y)), narrow(mul(t.y, axis.z) + mul(sin_a, axis.x)), 0},
            {narrow(mul(t.z, axis.x) + mul(sin_a, axis.y)), narrow(mul(t.z, axis.y) - mul(sin_a, axis.x)), narrow(cos_a + mul(t.z, axis.z)), 0},
            {0, 0, 0, 1}};
    // clang-format on
}

// Where clip space puts depth, for frustum, ortho, perspective and
// frustum_planes. minus_one_to_one is OpenGL's default: the near plane maps
// to -1 and the far plane to +1 in normalised depth. zero_to_one is
// glClipControl's GL_ZERO_TO_ONE and the convention of Vulkan and Direct3D:
// near 0, far 1. one_to_zero is reversed depth: near 1, far 0, which spreads
// float depth's precision evenly over distance. Only the depth row changes:
// none of them flips y.
enum class clip_depth { minus_one_to_one, zero_to_one, one_to_zero };

namespace detail {

// The depth entries m[2][2] and m[3][2] of a perspective projection for
// eye-space depths z_near and z_far, each a quotient as written:
//   minus_one_to_one: -(z_far + z_near) / (z_far - z_near), -(2 * z_far * z_near) / (z_far - z_near)
//   zero_to_one:      -z_far / (z_far - z_near),            -(z_far * z_near) / (z_far - z_near)
//   one_to_zero:      z_near / (z_far - z_near),            (z_far * z_near) / (z_far - z_near)
// With z_far = +infinity these quotients are infinity / infinity; the entries
// are then their limits, exactly: (-1, -2 * z_near), (-1, -z_near) and
// (0, z_near).
constexpr void perspective_depth(mat4& m, float z_near, float z_far, clip_depth depth) noexcept {
    const bool infinite = z_far == std::numeric_limits<float>::infinity();
    switch (depth) {
        case clip_depth::zero_to_one:
            m[2][2] = infinite ? -1.0f : narrow(-z_far / narrow(z_far - z_near));
            m[3][2] = infinite ? -z_near : narrow(-narrow(z_far * z_near) / narrow(z_far - z_near));
            break;
        case clip_depth::one_to_zero:
            m[2][2] = infinite ? 0.0f : narrow(z_near / narrow(z_far - z_near));
            m[3][2] = infinite ? z_near : narrow(narrow(z_far * z_near) / narrow(z_far - z_near));
            break;
        case clip_depth::minus_one_to_one:
        default:
            m[2][2] = infinite ? -1.0f : narrow(-narrow(z_far + z_near) / narrow(z_far - z_near));
            m[3][2] = infinite ? narrow(-2.0f * z_near)
                               : narrow(-narrow(narrow(2.0f * z_far) * z_near) / narrow(z_far - z_near));
            break;
    }
}

}  // namespace detail

// The matrix of glFrustum, with every entry a quotient:
//   m[0][0] = (2 * z_near) / (right - left)
//   m[1][1] = (2 * z_near) / (top - bottom)
//   m[2][0] = (right + left) / (right - left)
//   m[2][1] = (top + bottom) / (top - bottom)
//   m[2][3] = -1
// m[2][2] and m[3][2] as detail::perspective_depth gives them for the
// convention (by default OpenGL's, -(z_far + z_near) / (z_far - z_near) and
// -(2 * z_far * z_near) / (z_far - z_near)), and 0 elsewhere, m[3][3]
// included. z_far = +infinity gives the infinite far plane's matrix, exactly.
// Equal planes (left == right, bottom == top or z_near == z_far) divide by
// zero: infinities or NaN.
constexpr mat4 frustum(float left, float right, float bottom, float top, float z_near, float z_far,
                       clip_depth depth = clip_depth::minus_one_to_one) noexcept {
    using detail::narrow;
    mat4 m(0.0f);
    m[0][0] = narrow(narrow(2.0f * z_near) / narrow(right - left));
    m[1][1] = narrow(narrow(2.0f * z_near) / narrow(top - bottom));
    m[2][0] = narrow(narrow(right + left) / narrow(right - left));
    m[2][1] = narrow(narrow(top + bottom) / narrow(top - bottom));
    m[2][3] = -1.0f;
    detail::perspective_depth(m, z_near, z_far, depth);
    return m;
}

// The matrix of glOrtho:
//   m[0][0] = 2 / (right - left)
//   m[1][1] = 2 / (top - bottom)
//   m[3][0] = -(right + left) / (right - left)
//   m[3][1] = -(top + bottom) / (top - bottom)
//   m[3][3] = 1
// and the depth entries by convention:
//   minus_one_to_one: m[2][2] = -2 / (z_far - z_near), m[3][2] = -(z_far + z_near) / (z_far - z_near)
//   zero_to_one:      m[2][2] = -1 / (z_far - z_near), m[3][2] = -z_near / (z_far - z_near)
//   one_to_zero:      m[2][2] = 1 / (z_far - z_near),  m[3][2] = z_far / (z_far - z_near)
// and 0 elsewhere. Equal planes divide by zero: infinities or NaN; an
// infinite plane gives NaN where its quotient is infinity / infinity.
constexpr mat4 ortho(float left, float right, float bottom, float top, float z_near, float z_far,
                     clip_depth depth = clip_depth::minus_one_to_one) noexcept {
    using detail::narrow;
    mat4 m(0.0f);
    m[0][0] = narrow(2.0f / narrow(right - left));
    m[1][1] = narrow(2.0f / narrow(top - bottom));
    m[3][0] = narrow(-narrow(right + left) / narrow(right - left));
    m[3][1] = narrow(-narrow(top + bottom) / narrow(top - bottom));
    m[3][3] = 1.0f;
    switch (depth) {
        case clip_depth::zero_to_one:
            m[2][2] = narrow(-1.0f / narrow(z_far - z_near));
            m[3][2] = narrow(-z_near / narrow(z_far - z_near));
            break;
        case clip_depth::one_to_zero:
            m[2][2] = narrow(1.0f / narrow(z_far - z_near));
            m[3][2] = narrow(z_far / narrow(z_far - z_near));
            break;
        case clip_depth::minus_one_to_one:
        default:
            m[2][2] = narrow(-2.0f / narrow(z_far - z_near));
            m[3][2] = narrow(-narrow(z_far + z_near) / narrow(z_far - z_near));
            break;
    }
    return m;
}

// The matrix of gluOrtho2D: ortho(left, right, bottom, top, -1, 1), so
// m[2][2] = -1 and m[3][2] = -0.
constexpr mat4 ortho(float left, float right, float bottom, float top) noexcept {
    return ormath::ortho(left, right, bottom, top, -1.0f, 1.0f);
}

// The matrix of gluPerspective: a symmetric frustum whose near-plane
// half-height is tan(fovy / 2) * z_near. Points at eye-space z = -z_near and
// -z_far map to normalised depth -1 and +1; clip w is the eye distance.
// range = tan(radians(fovy / 2)) * z_near, right = range * aspect,
// left = -range * aspect, then the entries of frustum(left, right, -range,
// range, z_near, z_far, depth), the same bits; z_far = +infinity gives the
// infinite far plane's matrix, exactly. The tangent is ormath::tan,
// correctly rounded. A field of view of 0, an aspect of 0 or z_near == z_far
// give infinities or NaN.
inline mat4 perspective(float fovy_degrees, float aspect, float z_near, float z_far,
                        clip_depth depth = clip_depth::minus_one_to_one) noexcept {
    using detail::mul;
    using detail::narrow;
    const float range = mul(ormath::tan(radians(narrow(fovy_degrees / 2.0f))), z_near);
    const float left = mul(-range, aspect);
    const float right = mul(range, aspect);
    const float bottom = -range;
    const float top = range;
    mat4 m(0.0f);
    m[0][0] = narrow(narrow(2.0f * z_near) / narrow(right - left));
    m[1][1] = narrow(narrow(2.0f * z_near) / narrow(top - bottom));
    m[2][3] = -1.0f;
    detail::perspective_depth(m, z_near, z_far, depth);
    return m;
}

// The matrix of gluPickMatrix(x, y, width, height, viewport): it maps the
// width x height pixels centred on window point (x, y) onto the whole of
// clip space's x and y, so that only what is drawn there survives clipping.
// viewport is (x, y, width, height) as glViewport takes it. The diagonal is
// (viewport.z / width, viewport.w / height, 1, 1) and column 3 is
// ((viewport.z - 2 * (x - viewport.x)) / width,
//  (viewport.w - 2 * (y - viewport.y)) / height, 0, 1), each a quotient as
// written. A width or height that is not positive (NaN included) gives the
// identity, as GLU then leaves the matrix unchanged.
constexpr mat4 pick_matrix(float x, float y, float width, float height, const vec4& viewport) noexcept {
    using detail::mul;
    using detail::narrow;
    if (!(width > 0.0f) || !(height > 0.0f)) {
        return {};  // the identity
    }
    return {{narrow(viewport.z / width), 0, 0, 0},
            {0, narrow(viewport.w / height), 0, 0},
            {0, 0, 1, 0},
            {narrow(narrow(viewport.z - mul(2.0f, narrow(x - viewport.x))) / width),
             narrow(narrow(viewport.w - mul(2.0f, narrow(y - viewport.y))) / height), 0, 1}};
}

// The matrix of gluLookAt: a camera at eye looking at center, with up giving
// the upward direction on screen. f = normalize(center - eye),
// s = normalize(cross(f, up)) and u = cross(s, f); the rows of the rotation
// are s, u and -f, and column 3 is (-dot(s, eye), -dot(u, eye), dot(f, eye), 1),
// the rotation applied to -eye. up need not be of unit length or
// perpendicular to f. With eye == center, f divides 0 by 0 and every entry
// of the rotation and the translation is NaN; with up parallel to f (or
// zero), s does, and rows 0 and 1 are NaN while row 2 is still -f and dot(f, eye).
inline mat4 look_at(const vec3& eye, const vec3& center, const vec3& up) noexcept {
    const vec3 f = ormath::normalize(center - eye);
    const vec3 s = ormath::normalize(ormath::cross(f, up));
    const vec3 u = ormath::cross(s, f);
    return {{s.x, u.x, -f.x, 0},
            {s.y, u.y, -f.y, 0},
            {s.z, u.z, -f.z, 0},
            {-ormath::dot(s, eye), -ormath::dot(u, eye), ormath::dot(f, eye), 1}};
}

// gluProject: object coordinates to window coordinates.
// clip = projection * (modelview * (object, 1)); ndc = clip's x, y, z each
// divided by clip.w; then window = (viewport.x + viewport.z * ((ndc.x + 1) * 0.5),
// viewport.y + viewport.w * ((ndc.y + 1) * 0.5), (ndc.z + 1) * 0.5), each
// product rounded before the sum. viewport is (x, y, width, height) as
// glViewport takes it. A point in the eye's plane (clip.w = 0) gives
// infinities or NaN.
constexpr vec3 project(const vec3& object, const mat4& modelview, const mat4& projection,
                       const vec4& viewport) noexcept {
    using detail::mul;
    using detail::narrow;
    const vec4 clip = projection * (modelview * vec4(object, 1.0f));
    const float x = narrow(clip.x / clip.w), y = narrow(clip.y / clip.w), z = narrow(clip.z / clip.w);
    return {narrow(viewport.x + mul(viewport.z, mul(narrow(x + 1.0f), 0.5f))),
            narrow(viewport.y + mul(viewport.w, mul(narrow(y + 1.0f), 0.5f))), mul(narrow(z + 1.0f), 0.5f)};
}

// gluUnProject: window coordinates back to object coordinates.
// ndc = (((window.x - viewport.x) / viewport.z) * 2 - 1,
//        ((window.y - viewport.y) / viewport.w) * 2 - 1, window.z * 2 - 1, 1);
// p = inverse(projection * modelview) * ndc, in the orders of the product,
// inverse and matrix times vector; the result is p's x, y, z each divided by
// p.w. A singular product, an empty viewport or p.w = 0 give infinities or NaN.
constexpr vec3 unproject(const vec3& window, const mat4& modelview, const mat4& projection,
                         const vec4& viewport) noexcept {
    using detail::mul;
    using detail::narrow;
    const vec4 ndc(narrow(mul(narrow(narrow(window.x - viewport.x) / viewport.z), 2.0f) - 1.0f),
                   narrow(mul(narrow(narrow(window.y - viewport.y) / viewport.w), 2.0f) - 1.0f),
                   narrow(mul(window.z, 2.0f) - 1.0f), 1.0f);
    const vec4 p = ormath::inverse(projection * modelview) * ndc;
    return {narrow(p.x / p.w), narrow(p.y / p.w), narrow(p.z / p.w)};
}

}  // namespace ormath

#endif  // ORMATH_CXX17
