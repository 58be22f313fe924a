// Compiled with -O0 -ffp-contract=off (see CMakeLists.txt): nothing here may
// be fused or reordered.
#include "reference.hpp"

#include <ormath/elementary.hpp>

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
    const float c = ormath::cos(a);
    const float s = ormath::sin(a);
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
    const float range = ormath::tan(half * 0.017453292f) * z_near;
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

namespace reference {

float dot(int n, const float* a, const float* b) {
    float sum = a[0] * b[0];
    for (int k = 1; k < n; ++k) {
        const float term = a[k] * b[k];
        sum = sum + term;
    }
    return sum;
}

void cross(const float a[3], const float b[3], float out[3]) {
    // Component k is a[k+1]*b[k+2] - a[k+2]*b[k+1], indices taken mod 3.
    float result[3];
    for (int k = 0; k < 3; ++k) {
        const float first = a[(k + 1) % 3] * b[(k + 2) % 3];
        const float second = a[(k + 2) % 3] * b[(k + 1) % 3];
        result[k] = first - second;
    }
    for (int k = 0; k < 3; ++k) {
        out[k] = result[k];
    }
}

void normalize(int n, const float* v, float* out) {
    const float length = std::sqrt(dot(n, v, v));
    for (int k = 0; k < n; ++k) {
        out[k] = v[k] / length;
    }
}

float mod(float x, float y) {
    const float whole = std::floor(x / y);
    const float taken = y * whole;
    return x - taken;
}

float smoothstep(float edge0, float edge1, float x) {
    float t = (x - edge0) / (edge1 - edge0);
    if (t < 0.0f) {  // max(t, 0): a NaN t stays
        t = 0.0f;
    }
    if (1.0f < t) {  // min(t, 1)
        t = 1.0f;
    }
    const float square = t * t;
    const float twice = 2.0f * t;
    const float rest = 3.0f - twice;
    return square * rest;
}

void reflect(int n, const float* i, const float* normal, float* out) {
    const float twice = 2.0f * dot(n, normal, i);
    for (int k = 0; k < n; ++k) {
        const float along = twice * normal[k];
        out[k] = i[k] - along;
    }
}

void refract(int n, const float* i, const float* normal, float eta, float* out) {
    const float d = dot(n, normal, i);
    const float d2 = d * d;
    const float eta2 = eta * eta;
    const float lost = eta2 * (1.0f - d2);
    const float k = 1.0f - lost;
    if (k < 0.0f) {
        for (int c = 0; c < n; ++c) {
            out[c] = 0.0f;
        }
        return;
    }
    const float eta_d = eta * d;
    const float factor = eta_d + std::sqrt(k);
    for (int c = 0; c < n; ++c) {
        const float bent = eta * i[c];
        const float along = factor * normal[c];
        out[c] = bent - along;
    }
}

void product(int n, const float* a, const float* b, float* out) {
    const std::ptrdiff_t size = n;
    float result[16];
    for (std::ptrdiff_t c = 0; c < size; ++c) {
        for (std::ptrdiff_t r = 0; r < size; ++r) {
            float sum = a[r] * b[size * c];
            for (std::ptrdiff_t k = 1; k < size; ++k) {
                const float term = a[size * k + r] * b[size * c + k];
                sum = sum + term;
            }
            result[size * c + r] = sum;
        }
    }
    for (std::ptrdiff_t i = 0; i < size * size; ++i) {
        out[i] = result[i];
    }
}

namespace {

// The 2x2 minors of a 4x4 matrix m as four 3-vectors s, t, u, v, with a..d
// the upper three entries of the columns and x..w their row-3 entries.
struct minors {
    float a[3], b[3], c[3], d[3];
    float x, y, z, w;
    float s[3], t[3], u[3], v[3];
};

minors minors_of(const float* m) {
    minors k{};
    for (int i = 0; i < 3; ++i) {
        k.a[i] = m[i];
        k.b[i] = m[4 + i];
        k.c[i] = m[8 + i];
        k.d[i] = m[12 + i];
    }
    k.x = m[3];
    k.y = m[7];
    k.z = m[11];
    k.w = m[15];
    cross(k.a, k.b, k.s);
    cross(k.c, k.d, k.t);
    for (int i = 0; i < 3; ++i) {
        const float ay = k.a[i] * k.y, bx = k.b[i] * k.x, cw = k.c[i] * k.w, dz = k.d[i] * k.z;
        k.u[i] = ay - bx;
        k.v[i] = cw - dz;
    }
    return k;
}

// cross(p, q) + sign * f * r, per component: the 3x3 part of a row of the 4x4 adjugate.
void adjugate_row(const float p[3], const float q[3], float f, const float r[3], float sign, float out[3]) {
    float crossed[3];
    cross(p, q, crossed);
    for (int i = 0; i < 3; ++i) {
        const float scaled = r[i] * f;
        out[i] = sign > 0 ? crossed[i] + scaled : crossed[i] - scaled;
    }
}

}  // namespace

float determinant(int n, const float* m) {
    if (n == 2) {
        const float ad = m[0] * m[3];
        const float bc = m[2] * m[1];
        return ad - bc;
    }
    if (n == 3) {
        float minor[3];
        cross(m + 3, m + 6, minor);
        return dot(3, m, minor);
    }
    const minors k = minors_of(m);
    const float sv = dot(3, k.s, k.v);
    const float tu = dot(3, k.t, k.u);
    return sv + tu;
}

void inverse(int n, const float* m, float* out) {
    // adjugate[r][c] is row r, column c of the adjugate.
    float adjugate[4][4];
    if (n == 2) {
        adjugate[0][0] = m[3];
        adjugate[0][1] = -m[2];
        adjugate[1][0] = -m[1];
        adjugate[1][1] = m[0];
    } else if (n == 3) {
        cross(m + 3, m + 6, adjugate[0]);
        cross(m + 6, m + 0, adjugate[1]);
        cross(m + 0, m + 3, adjugate[2]);
    } else {
        const minors k = minors_of(m);
        adjugate_row(k.b, k.v, k.y, k.t, +1, adjugate[0]);
        adjugate_row(k.v, k.a, k.x, k.t, -1, adjugate[1]);
        adjugate_row(k.d, k.u, k.w, k.s, +1, adjugate[2]);
        adjugate_row(k.u, k.c, k.z, k.s, -1, adjugate[3]);
        adjugate[0][3] = -dot(3, k.b, k.t);
        adjugate[1][3] = dot(3, k.a, k.t);
        adjugate[2][3] = -dot(3, k.d, k.s);
        adjugate[3][3] = dot(3, k.c, k.s);
    }
    const float reciprocal = 1.0f / determinant(n, m);
    const std::ptrdiff_t size = n;
    for (std::ptrdiff_t c = 0; c < size; ++c) {
        for (std::ptrdiff_t r = 0; r < size; ++r) {
            out[size * c + r] = adjugate[r][c] * reciprocal;
        }
    }
}

void frustum(float left, float right, float bottom, float top, float z_near, float z_far, float out[16]) {
    for (int i = 0; i < 16; ++i) {
        out[i] = 0.0f;
    }
    const float width = right - left, height = top - bottom, depth = z_far - z_near;
    const float twice_near = 2.0f * z_near;
    out[0] = twice_near / width;
    out[5] = twice_near / height;
    out[8] = (right + left) / width;
    out[9] = (top + bottom) / height;
    out[10] = -(z_far + z_near) / depth;
    out[11] = -1.0f;
    const float twice_far = 2.0f * z_far;
    out[14] = -(twice_far * z_near) / depth;
}

void ortho(float left, float right, float bottom, float top, float z_near, float z_far, float out[16]) {
    for (int i = 0; i < 16; ++i) {
        out[i] = 0.0f;
    }
    const float width = right - left, height = top - bottom, depth = z_far - z_near;
    out[0] = 2.0f / width;
    out[5] = 2.0f / height;
    out[10] = -2.0f / depth;
    out[12] = -(right + left) / width;
    out[13] = -(top + bottom) / height;
    out[14] = -(z_far + z_near) / depth;
    out[15] = 1.0f;
}

void look_at(const float eye[3], const float center[3], const float up[3], float out[16]) {
    float forward[3], side[3], side_unit[3], upward[3], f[3];
    for (int i = 0; i < 3; ++i) {
        forward[i] = center[i] - eye[i];
    }
    normalize(3, forward, f);
    cross(f, up, side);
    normalize(3, side, side_unit);
    cross(side_unit, f, upward);
    for (int c = 0; c < 3; ++c) {
        out[4 * c + 0] = side_unit[c];
        out[4 * c + 1] = upward[c];
        out[4 * c + 2] = -f[c];
        out[4 * c + 3] = 0.0f;
    }
    out[12] = -dot(3, side_unit, eye);
    out[13] = -dot(3, upward, eye);
    out[14] = dot(3, f, eye);
    out[15] = 1.0f;
}

void project(const float object[3], const float modelview[16], const float projection[16],
             const float viewport[4], float out[3]) {
    const float point[4] = {object[0], object[1], object[2], 1.0f};
    float eye[4], clip[4];
    transform(modelview, point, eye);
    transform(projection, eye, clip);
    for (int i = 0; i < 3; ++i) {
        const float ndc = clip[i] / clip[3];
        const float unit = (ndc + 1.0f) * 0.5f;
        if (i < 2) {
            const float stretched = viewport[2 + i] * unit;
            out[i] = viewport[i] + stretched;
        } else {
            out[i] = unit;
        }
    }
}

void unproject(const float window[3], const float modelview[16], const float projection[16],
               const float viewport[4], float out[3]) {
    float ndc[4];
    for (int i = 0; i < 2; ++i) {
        const float unit = (window[i] - viewport[i]) / viewport[2 + i];
        const float twice = unit * 2.0f;
        ndc[i] = twice - 1.0f;
    }
    const float twice_z = window[2] * 2.0f;
    ndc[2] = twice_z - 1.0f;
    ndc[3] = 1.0f;
    float both[16], undo[16], p[4];
    product(projection, modelview, both);
    inverse(4, both, undo);
    transform(undo, ndc, p);
    for (int i = 0; i < 3; ++i) {
        out[i] = p[i] / p[3];
    }
}

}  // namespace reference

namespace reference {

int evaluate(exact_cases::family f, const float* in, float* out) {
    using exact_cases::family;
    switch (f) {
        case family::dot2:
            out[0] = dot(2, in, in + 2);
            return 1;
        case family::dot3:
            out[0] = dot(3, in, in + 3);
            return 1;
        case family::dot4:
            out[0] = dot(4, in, in + 4);
            return 1;
        case family::cross:
            cross(in, in + 3, out);
            return 3;
        case family::length4:
            out[0] = std::sqrt(dot(4, in, in));
            return 1;
        case family::distance3: {
            const float difference[3] = {in[0] - in[3], in[1] - in[4], in[2] - in[5]};
            out[0] = std::sqrt(dot(3, difference, difference));
            return 1;
        }
        case family::normalize2:
            normalize(2, in, out);
            return 2;
        case family::normalize3:
            normalize(3, in, out);
            return 3;
        case family::normalize4:
            normalize(4, in, out);
            return 4;
        case family::mod:
            out[0] = mod(in[0], in[1]);
            return 1;
        case family::smoothstep:
            out[0] = smoothstep(in[0], in[1], in[2]);
            return 1;
        case family::mix: {
            const float keep = 1.0f - in[2];
            const float from = in[0] * keep, to = in[1] * in[2];
            out[0] = from + to;
            return 1;
        }
        case family::mix4: {
            const float keep = 1.0f - in[8];
            for (int i = 0; i < 4; ++i) {
                const float from = in[i] * keep, to = in[4 + i] * in[8];
                out[i] = from + to;
            }
            return 4;
        }
        case family::reflect3:
            reflect(3, in, in + 3, out);
            return 3;
        case family::refract3:
            refract(3, in, in + 3, in[6], out);
            return 3;
        case family::refract4:
            refract(4, in, in + 4, in[8], out);
            return 4;
        case family::product2:
            product(2, in, in + 4, out);
            return 4;
        case family::product3:
            product(3, in, in + 9, out);
            return 9;
        case family::transform3:
            product(3, in, in + 9, out);
            return 3;  // the first column of the product
        case family::determinant2:
            out[0] = determinant(2, in);
            return 1;
        case family::determinant3:
            out[0] = determinant(3, in);
            return 1;
        case family::determinant4:
            out[0] = determinant(4, in);
            return 1;
        case family::inverse2:
            inverse(2, in, out);
            return 4;
        case family::inverse3:
            inverse(3, in, out);
            return 9;
        case family::inverse4:
            inverse(4, in, out);
            return 16;
        case family::frustum:
            frustum(in[0], in[1], in[2], in[3], in[4], in[5], out);
            return 16;
        case family::ortho:
            ortho(in[0], in[1], in[2], in[3], in[4], in[5], out);
            return 16;
        case family::look_at:
            look_at(in, in + 3, in + 6, out);
            return 16;
        case family::project:
            project(in, in + 3, in + 19, in + 35, out);
            return 3;
        case family::unproject:
            unproject(in, in + 3, in + 19, in + 35, out);
            return 3;
    }
    return 0;
}

}  // namespace reference
