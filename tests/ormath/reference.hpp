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
