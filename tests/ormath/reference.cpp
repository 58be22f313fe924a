// Compiled with -O0 -ffp-contract=off (see CMakeLists.txt): nothing here may
// be fused or reordered.
#include "reference.hpp"

#include <cmath>
#include <cstddef>

namespace reference {

void product(const float a[16], const float b[16], float out[16]) {
    for (std::ptrdiff_t c = 0; c < 4; ++c) {
        for (std::ptrdiff_t r = 0; r < 4; ++r) {
            float sum = a[r] * b[4 * c];
            for (std::ptrdiff_t k = 1; k < 4; ++k) {
                const float term = a[4 * k + r] * b[4 * c + k];
                sum = sum + term;
            }
            out[4 * c + r] = sum;
        }
    }
}

void transform(const float m[16], const float v[4], float out[4]) {
    for (std::ptrdiff_t r = 0; r < 4; ++r) {
        float sum = m[r] * v[0];
        for (std::ptrdiff_t k = 1; k < 4; ++k) {
            const float term = m[4 * k + r] * v[k];
            sum = sum + term;
        }
        out[r] = sum;
    }
}

void mix(const float x[3], const float y[3], float a, float out[3]) {
    const float keep = 1.0f - a;
    for (int i = 0; i < 3; ++i) {
        const float from = x[i] * keep;
        const float to = y[i] * a;
        out[i] = from + to;
    }
}

void rotate(float angle_degrees, const float axis[3], float out[16]) {
    const float a = angle_degrees * 0.017453292f;
    const float c = std::cos(a);
    const float s = std::sin(a);
    const float one_minus_c = 1.0f - c;
    float t[3];
    for (int i = 0; i < 3; ++i) {
        t[i] = one_minus_c * axis[i];
    }
    // Entry (column j, row i): c*delta_ij + t_j*axis_i + s*epsilon, written
    // out as the three kinds of entry.
    const float x = axis[0], y = axis[1], z = axis[2];
    // clang-format off
    const float entries[16] = {c + t[0] * x,     t[0] * y + s * z, t[0] * z - s * y, 0,
                               t[1] * x - s * z, c + t[1] * y,     t[1] * z + s * x, 0,
                               t[2] * x + s * y, t[2] * y - s * x, c + t[2] * z,     0,
                               0,                0,                0,                1};
    // clang-format on
    for (int i = 0; i < 16; ++i) {
        out[i] = entries[i];
    }
}

void perspective(float fovy_degrees, float aspect, float z_near, float z_far, float out[16]) {
    const float half = fovy_degrees / 2.0f;
    const float range = std::tan(half * 0.017453292f) * z_near;
    const float right = range * aspect;
    const float left = -range * aspect;
    for (int i = 0; i < 16; ++i) {
        out[i] = 0.0f;
    }
    out[0] = (2.0f * z_near) / (right - left);
    out[5] = (2.0f * z_near) / (range - -range);
    out[10] = -(z_far + z_near) / (z_far - z_near);
    out[11] = -1.0f;
    out[14] = -(2.0f * z_far * z_near) / (z_far - z_near);
}

}  // namespace reference
