// The written evaluation orders as plain loops, compiled on their own at -O0
// with contraction off: what every build of Ormath must reproduce bit for bit.
#pragma once

namespace reference {
// out = a * b, column-major; each entry ((a0*b0 + a1*b1) + a2*b2) + a3*b3.
void product(const float a[16], const float b[16], float out[16]);
// out = m * v.
void transform(const float m[16], const float v[4], float out[4]);
// out = x * (1 - a) + y * a per component.
void mix(const float x[3], const float y[3], float a, float out[3]);
// The rotation and perspective builders, entry by entry.
void rotate(float angle_degrees, const float axis[3], float out[16]);
void perspective(float fovy_degrees, float aspect, float z_near, float z_far, float out[16]);
}  // namespace reference

// The rest of the library, in the orders its header states. n is the number
// of components (1 to 4) or the matrix size (2 to 4); matrices are n*n floats
// column after column.
namespace reference {
float dot(int n, const float* a, const float* b);
void cross(const float a[3], const float b[3], float out[3]);
void normalize(int n, const float* v, float* out);
float mod(float x, float y);
float smoothstep(float edge0, float edge1, float x);
void reflect(int n, const float* i, const float* normal, float* out);
void refract(int n, const float* i, const float* normal, float eta, float* out);
void product(int n, const float* a, const float* b, float* out);
float determinant(int n, const float* m);
void inverse(int n, const float* m, float* out);
void frustum(float left, float right, float bottom, float top, float z_near, float z_far, float out[16]);
void ortho(float left, float right, float bottom, float top, float z_near, float z_far, float out[16]);
void look_at(const float eye[3], const float center[3], const float up[3], float out[16]);
void project(const float object[3], const float modelview[16], const float projection[16],
             const float viewport[4], float out[3]);
void unproject(const float window[3], const float modelview[16], const float projection[16],
               const float viewport[4], float out[3]);
}  // namespace reference

#include "exact_cases.hpp"

namespace reference {
// Family f of exact_cases.hpp by the functions above; returns the number of floats written.
int evaluate(exact_cases::family f, const float* in, float* out);
}  // namespace reference
