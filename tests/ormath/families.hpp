// Ormath's side of the function families of exact_cases.hpp: each reads its
// arguments from an array of floats and writes its results to another. The
// exactness test runs each against the reference's evaluate(), and the
// outside consumer prints their bits.
#pragma once

#include <ormath/ormath.hpp>

#include "exact_cases.hpp"

#include <cstring>

namespace families {
using exact_cases::family;

namespace detail {
inline ormath::vec2 v2(const float* f) { return {f[0], f[1]}; }
inline ormath::vec3 v3(const float* f) { return {f[0], f[1], f[2]}; }
inline ormath::vec4 v4(const float* f) { return {f[0], f[1], f[2], f[3]}; }
inline ormath::mat2 m2(const float* f) { return {v2(f), v2(f + 2)}; }
inline ormath::mat3 m3(const float* f) { return {v3(f), v3(f + 3), v3(f + 6)}; }
inline ormath::mat4 m4(const float* f) { return {v4(f), v4(f + 4), v4(f + 8), v4(f + 12)}; }
template <typename T>
int put(const T& value, float* out) {
    std::memcpy(out, value.data(), sizeof value);
    return static_cast<int>(sizeof value / sizeof(float));
}
inline int put(float value, float* out) {
    out[0] = value;
    return 1;
}
}  // namespace detail

// Evaluates family f with Ormath; returns the number of floats written.
inline int evaluate(family f, const float* in, float* out) {
    using namespace detail;
    switch (f) {
        case family::dot2:
            return put(ormath::dot(v2(in), v2(in + 2)), out);
        case family::dot3:
            return put(ormath::dot(v3(in), v3(in + 3)), out);
        case family::dot4:
            return put(ormath::dot(v4(in), v4(in + 4)), out);
        case family::cross:
            return put(ormath::cross(v3(in), v3(in + 3)), out);
        case family::length4:
            return put(ormath::length(v4(in)), out);
        case family::distance3:
            return put(ormath::distance(v3(in), v3(in + 3)), out);
        case family::normalize2:
            return put(ormath::normalize(v2(in)), out);
        case family::normalize3:
            return put(ormath::normalize(v3(in)), out);
        case family::normalize4:
            return put(ormath::normalize(v4(in)), out);
        case family::mod:
            return put(ormath::mod(in[0], in[1]), out);
        case family::smoothstep:
            return put(ormath::smoothstep(in[0], in[1], in[2]), out);
        case family::mix:
            return put(ormath::mix(in[0], in[1], in[2]), out);
        case family::mix4:
            return put(ormath::mix(v4(in), v4(in + 4), in[8]), out);
        case family::reflect3:
            return put(ormath::reflect(v3(in), v3(in + 3)), out);
        case family::refract3:
            return put(ormath::refract(v3(in), v3(in + 3), in[6]), out);
        case family::refract4:
            return put(ormath::refract(v4(in), v4(in + 4), in[8]), out);
        case family::product2:
            return put(m2(in) * m2(in + 4), out);
        case family::product3:
            return put(m3(in) * m3(in + 9), out);
        case family::transform3:
            return put(m3(in) * v3(in + 9), out);
        case family::determinant2:
            return put(ormath::determinant(m2(in)), out);
        case family::determinant3:
            return put(ormath::determinant(m3(in)), out);
        case family::determinant4:
            return put(ormath::determinant(m4(in)), out);
        case family::inverse2:
            return put(ormath::inverse(m2(in)), out);
        case family::inverse3:
            return put(ormath::inverse(m3(in)), out);
        case family::inverse4:
            return put(ormath::inverse(m4(in)), out);
        case family::frustum:
            return put(ormath::frustum(in[0], in[1], in[2], in[3], in[4], in[5]), out);
        case family::ortho:
            return put(ormath::ortho(in[0], in[1], in[2], in[3], in[4], in[5]), out);
        case family::look_at:
            return put(ormath::look_at(v3(in), v3(in + 3), v3(in + 6)), out);
        case family::project:
            return put(ormath::project(v3(in), m4(in + 3), m4(in + 19), v4(in + 35)), out);
        case family::unproject:
            return put(ormath::unproject(v3(in), m4(in + 3), m4(in + 19), v4(in + 35)), out);
    }
    return 0;
}

}  // namespace families
