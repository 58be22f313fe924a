// Ormath's operations beside the same operations in Eigen and in plain scalar
// code, in one run. Built twice: for the default target and for the build
// machine (-march=native), where Eigen fuses multiply-adds and Ormath must not.
//
// Each benchmark reports ns per operation and "identical", the share of its
// results that equal, bit for bit, the plain scalar code's: each operation
// written out in the evaluation order that Ormath's header documents for it,
// every product rounded before it is added. Ormath's share must be all of
// them (the run fails otherwise); Eigen's is what it is.
#include "checksum.hpp"
#include "functions.hpp"

#include <Eigen/Geometry>
#include <ormath/ormath.hpp>

#include <array>
#include <cmath>
#include <cstring>
#include <string>
#include <utility>

#ifndef BENCH_VARIANT
#define BENCH_VARIANT "default"
#endif

namespace {

// A power of two, so that the input index wraps with a mask. Inputs change
// every iteration so that nothing can be hoisted out of the timed loop.
constexpr unsigned n_inputs = 64;
constexpr float degree = 0.017453292f;  // single-precision pi / 180

struct inputs_t {
    float a[n_inputs][16], b[n_inputs][16];  // product operands
    float angle[n_inputs];                   // degrees
    float move[n_inputs][3];                 // translations
    float fovy[n_inputs];                    // degrees
    float x[n_inputs][3], y[n_inputs][3], weight[n_inputs];
    float invertible[n_inputs][16];        // a with 8 added on the diagonal: well conditioned
    float q[n_inputs][4], p[n_inputs][4];  // unit quaternions (x, y, z, w) from a's and b's first four
    float clip[n_inputs][16];              // perspective(fovy) * look_at(move, x, y axis up)

    ormath::mat4 oa[n_inputs], ob[n_inputs], oinvertible[n_inputs];
    ormath::mat3 oa3[n_inputs], ob3[n_inputs];  // the leading nine floats of a and b
    ormath::vec3 omove[n_inputs], ox[n_inputs], oy[n_inputs];
    Eigen::Matrix4f ea[n_inputs], eb[n_inputs], einvertible[n_inputs];
    Eigen::Matrix3f ea3[n_inputs], eb3[n_inputs];
    Eigen::Vector3f emove[n_inputs], ex[n_inputs], ey[n_inputs];
    ormath::quat oq[n_inputs], op[n_inputs];
    Eigen::Quaternionf eq[n_inputs], ep[n_inputs];
    ormath::mat4 oclip[n_inputs];
    Eigen::Matrix4f eclip[n_inputs];

    inputs_t() {
        unsigned state = 12345u;
        // Uniform in [lo, hi) with a full mantissa: a linear congruential generator.
        auto next = [&state](float lo, float hi) {
            state = state * 1664525u + 1013904223u;
            return lo + (hi - lo) * static_cast<float>(state >> 8) * 0x1p-24f;
        };
        for (unsigned j = 0; j < n_inputs; ++j) {
            for (int k = 0; k < 16; ++k) {
                a[j][k] = next(-2, 2);
                b[j][k] = next(-2, 2);
            }
            angle[j] = next(-720, 720);
            fovy[j] = next(30, 90);
            weight[j] = next(0, 1);
            for (int k = 0; k < 3; ++k) {
                move[j][k] = next(-10, 10);
                x[j][k] = next(0, 1);
                y[j][k] = next(0, 1);
            }
            std::memcpy(invertible[j], a[j], sizeof a[j]);
            for (int k = 0; k < 16; k += 5) {
                invertible[j][k] += 8;
            }
            std::memcpy(oa[j].data(), a[j], sizeof a[j]);
            std::memcpy(ob[j].data(), b[j], sizeof b[j]);
            std::memcpy(oinvertible[j].data(), invertible[j], sizeof invertible[j]);
            std::memcpy(oa3[j].data(), a[j], 9 * sizeof(float));
            std::memcpy(ob3[j].data(), b[j], 9 * sizeof(float));
            std::memcpy(ea[j].data(), a[j], sizeof a[j]);
            std::memcpy(eb[j].data(), b[j], sizeof b[j]);
            std::memcpy(einvertible[j].data(), invertible[j], sizeof invertible[j]);
            std::memcpy(ea3[j].data(), a[j], 9 * sizeof(float));
            std::memcpy(eb3[j].data(), b[j], 9 * sizeof(float));
            omove[j] = {move[j][0], move[j][1], move[j][2]};
            ox[j] = {x[j][0], x[j][1], x[j][2]};
            oy[j] = {y[j][0], y[j][1], y[j][2]};
            emove[j] = {move[j][0], move[j][1], move[j][2]};
            ex[j] = {x[j][0], x[j][1], x[j][2]};
            ey[j] = {y[j][0], y[j][1], y[j][2]};
            const float q_length =
                std::sqrt(a[j][0] * a[j][0] + a[j][1] * a[j][1] + a[j][2] * a[j][2] + a[j][3] * a[j][3]);
            const float p_length =
                std::sqrt(b[j][0] * b[j][0] + b[j][1] * b[j][1] + b[j][2] * b[j][2] + b[j][3] * b[j][3]);
            for (int k = 0; k < 4; ++k) {
                q[j][k] = a[j][k] / q_length;
                p[j][k] = b[j][k] / p_length;
            }
            oq[j] = ormath::quat(q[j][0], q[j][1], q[j][2], q[j][3]);
            op[j] = ormath::quat(p[j][0], p[j][1], p[j][2], p[j][3]);
            eq[j] = Eigen::Quaternionf(q[j][3], q[j][0], q[j][1], q[j][2]);  // Eigen takes w first
            ep[j] = Eigen::Quaternionf(p[j][3], p[j][0], p[j][1], p[j][2]);
            oclip[j] = ormath::perspective(fovy[j], 4.0f / 3.0f, 0.1f, 100) *
                       ormath::look_at(omove[j], ox[j], ormath::vec3(0, 1, 0));
            std::memcpy(clip[j], oclip[j].data(), sizeof clip[j]);
            std::memcpy(eclip[j].data(), clip[j], sizeof clip[j]);
        }
    }
};
const inputs_t in;

// A unit axis that is not a coordinate axis, so that no term of the rotation vanishes.
constexpr float axis[3] = {2.0f / 3.0f, -1.0f / 3.0f, 2.0f / 3.0f};
constexpr float aspect = 4.0f / 3.0f, z_near = 0.1f, z_far = 100.0f;

// ---------------------------------------------------------------- plain scalar code

namespace plain {

void product(const float* a, const float* b, float* r) {
    for (std::size_t c = 0; c < 4; ++c) {
        for (std::size_t row = 0; row < 4; ++row) {
            float s = a[row] * b[4 * c];
            for (std::size_t k = 1; k < 4; ++k) {
                s = s + a[4 * k + row] * b[4 * c + k];
            }
            r[4 * c + row] = s;
        }
    }
}

void rotate(float degrees, const float* u, float* r) {
    const float rad = degrees * degree;
    // Ormath's correctly rounded sine and cosine, as the library's own rotate.
    const float c = ormath::cos(rad), s = ormath::sin(rad);
    const float t[3] = {(1 - c) * u[0], (1 - c) * u[1], (1 - c) * u[2]};
    // clang-format off
    const float m[16] = {c + t[0] * u[0],        t[0] * u[1] + s * u[2], t[0] * u[2] - s * u[1], 0,
                         t[1] * u[0] - s * u[2], c + t[1] * u[1],        t[1] * u[2] + s * u[0], 0,
                         t[2] * u[0] + s * u[1], t[2] * u[1] - s * u[0], c + t[2] * u[2],        0,
                         0,                      0,                      0,                      1};
    // clang-format on
    std::memcpy(r, m, sizeof m);
}

void translate(const float* v, float* r) {
    for (int k = 0; k < 16; ++k) {
        r[k] = k % 5 == 0 ? 1.0f : 0.0f;
    }
    r[12] = v[0];
    r[13] = v[1];
    r[14] = v[2];
}

void perspective(float fovy, float asp, float n, float f, float* r) {
    const float range = ormath::tan(fovy / 2 * degree) * n;
    for (int k = 0; k < 16; ++k) {
        r[k] = 0;
    }
    r[0] = (2 * n) / (range * asp - -range * asp);
    r[5] = (2 * n) / (range - -range);
    r[10] = -(f + n) / (f - n);
    r[11] = -1;
    r[14] = -(2 * f * n) / (f - n);
}

void mix(const float* x, const float* y, float a, float* r) {
    const float keep = 1 - a;
    for (int k = 0; k < 3; ++k) {
        r[k] = x[k] * keep + y[k] * a;
    }
}

float dot(const float* a, const float* b) { return (a[0] * b[0] + a[1] * b[1]) + a[2] * b[2]; }

void cross(const float* a, const float* b, float* r) {
    r[0] = a[1] * b[2] - a[2] * b[1];
    r[1] = a[2] * b[0] - a[0] * b[2];
    r[2] = a[0] * b[1] - a[1] * b[0];
}

void normalize(const float* v, float* r) {
    const float length = std::sqrt(dot(v, v));
    for (int k = 0; k < 3; ++k) {
        r[k] = v[k] / length;
    }
}

void transpose(const float* m, float* r) {
    for (int c = 0; c < 4; ++c) {
        for (int row = 0; row < 4; ++row) {
            r[4 * c + row] = m[4 * row + c];
        }
    }
}

// By the 2x2 minors: with a, b, c, d the upper three entries of columns 0 to
// 3 and x, y, z, w their entries in row 3, s = a x b, t = c x d,
// u = a y - b x, v = c w - d z. The adjugate's rows are b x v + t y, v x a - t x,
// d x u + s w and u x c - s z, with -b.t, a.t, -d.s and c.s in column 3;
// each entry is multiplied by 1 / (s.v + t.u).
void inverse(const float* m, float* r) {
    const float* a = m;
    const float* b = m + 4;
    const float* c = m + 8;
    const float* d = m + 12;
    const float x = m[3], y = m[7], z = m[11], w = m[15];
    float s[3], t[3], u[3], v[3];
    cross(a, b, s);
    cross(c, d, t);
    for (int k = 0; k < 3; ++k) {
        u[k] = a[k] * y - b[k] * x;
        v[k] = c[k] * w - d[k] * z;
    }
    const float k = 1 / (dot(s, v) + dot(t, u));
    float rows[4][4];
    cross(b, v, rows[0]);
    cross(v, a, rows[1]);
    cross(d, u, rows[2]);
    cross(u, c, rows[3]);
    for (int e = 0; e < 3; ++e) {
        rows[0][e] = rows[0][e] + t[e] * y;
        rows[1][e] = rows[1][e] - t[e] * x;
        rows[2][e] = rows[2][e] + s[e] * w;
        rows[3][e] = rows[3][e] - s[e] * z;
    }
    rows[0][3] = -dot(b, t);
    rows[1][3] = dot(a, t);
    rows[2][3] = -dot(d, s);
    rows[3][3] = dot(c, s);
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 4; ++col) {
            r[4 * col + row] = rows[row][col] * k;
        }
    }
}

// The rows of the view are the side, up and backward axes; the translation
// column is minus each row's dot product with the eye.
void look_at(const float* eye, const float* center, const float* up, float* r) {
    const float to_center[3] = {center[0] - eye[0], center[1] - eye[1], center[2] - eye[2]};
    float f[3], side[3], s[3], u[3];
    normalize(to_center, f);
    cross(f, up, side);
    normalize(side, s);
    cross(s, f, u);
    // clang-format off
    const float m[16] = {s[0], u[0], -f[0], 0,
                         s[1], u[1], -f[1], 0,
                         s[2], u[2], -f[2], 0,
                         -dot(s, eye), -dot(u, eye), dot(f, eye), 1};
    // clang-format on
    std::memcpy(r, m, sizeof m);
}

void product3(const float* a, const float* b, float* r) {
    for (std::size_t c = 0; c < 3; ++c) {
        for (std::size_t row = 0; row < 3; ++row) {
            float s = a[row] * b[3 * c];
            for (std::size_t k = 1; k < 3; ++k) {
                s = s + a[3 * k + row] * b[3 * c + k];
            }
            r[3 * c + row] = s;
        }
    }
}

// The quaternion operations in the orders quaternion.hpp states.
void quat_product(const float* q, const float* p, float* r) {
    r[0] = ((q[3] * p[0] + q[0] * p[3]) + q[1] * p[2]) - q[2] * p[1];
    r[1] = ((q[3] * p[1] - q[0] * p[2]) + q[1] * p[3]) + q[2] * p[0];
    r[2] = ((q[3] * p[2] + q[0] * p[1]) - q[1] * p[0]) + q[2] * p[3];
    r[3] = ((q[3] * p[3] - q[0] * p[0]) - q[1] * p[1]) - q[2] * p[2];
}

float dot4(const float* a, const float* b) {
    return ((a[0] * b[0] + a[1] * b[1]) + a[2] * b[2]) + a[3] * b[3];
}

// ((a v + b u) + c (u x v)) / n, with u = q's vector part, n = q.q,
// a = w w - u.u, b = 2 u.v, c = 2 w.
void quat_turn(const float* q, const float* v, float* r) {
    const float n = dot4(q, q), a = q[3] * q[3] - dot(q, q), b = 2 * dot(q, v), c = 2 * q[3];
    float uv[3];
    cross(q, v, uv);
    for (int k = 0; k < 3; ++k) {
        r[k] = ((a * v[k] + b * q[k]) + c * uv[k]) / n;
    }
}

void quat_mat3(const float* q, float* r) {
    const float xx = q[0] * q[0], yy = q[1] * q[1], zz = q[2] * q[2], ww = q[3] * q[3];
    const float xy = q[0] * q[1], xz = q[0] * q[2], yz = q[1] * q[2];
    const float wx = q[3] * q[0], wy = q[3] * q[1], wz = q[3] * q[2];
    const float n = ((xx + yy) + zz) + ww;
    const float m[9] = {(ww + xx) - (yy + zz), 2 * (xy + wz),         2 * (xz - wy),
                        2 * (xy - wz),         (ww + yy) - (xx + zz), 2 * (yz + wx),
                        2 * (xz + wy),         2 * (yz - wx),         (ww + zz) - (xx + yy)};
    for (int k = 0; k < 9; ++k) {
        r[k] = m[k] / n;
    }
}

void slerp(const float* q, const float* p, float t, float* r) {
    const float d0 = dot4(q, p), sign = d0 < 0 ? -1.0f : 1.0f, d = std::fabs(d0);
    float to[4];
    for (int k = 0; k < 4; ++k) {
        to[k] = sign * p[k];
    }
    if (d > 0.9995f) {
        const float keep = 1 - t;
        for (int k = 0; k < 4; ++k) {
            r[k] = q[k] * keep + to[k] * t;
        }
        const float length = std::sqrt(dot4(r, r));
        for (int k = 0; k < 4; ++k) {
            r[k] = r[k] / length;
        }
        return;
    }
    // The C library in double, rounded once to float, as quaternion.hpp calls it.
    const auto sin = [](float x) { return static_cast<float>(std::sin(static_cast<double>(x))); };
    const float theta = static_cast<float>(std::acos(static_cast<double>(d))), sin_theta = sin(theta);
    const float a = sin((1 - t) * theta) / sin_theta, b = sin(t * theta) / sin_theta;
    for (int k = 0; k < 4; ++k) {
        r[k] = q[k] * a + to[k] * b;
    }
}

// Rows r0..r3 of the matrix: left r3 + r0, right r3 - r0, bottom r3 + r1,
// top r3 - r1, near r3 + r2, far r3 - r2, each divided by its normal's length.
void frustum_planes(const float* m, float (*planes)[4]) {
    for (int i = 0; i < 6; ++i) {
        const int row = i / 2;
        for (int k = 0; k < 4; ++k) {
            planes[i][k] = i % 2 == 0 ? m[4 * k + 3] + m[4 * k + row] : m[4 * k + 3] - m[4 * k + row];
        }
        const float length = std::sqrt(dot(planes[i], planes[i]));
        for (int k = 0; k < 4; ++k) {
            planes[i][k] = planes[i][k] / length;
        }
    }
}

}  // namespace plain

// ---------------------------------------------------------------- the operations

// Each implementation computes result j into out; n is the result's float count.
// "plain" is the reference the others are compared with.

template <class M>
void put(const M& m, float* out) {
    std::memcpy(out, m.data(), sizeof(float) * 16);
}
template <class M>
void put9(const M& m, float* out) {
    std::memcpy(out, m.data(), sizeof(float) * 9);
}
template <class V>
void put3(const V& v, float* out) {
    std::memcpy(out, v.data(), sizeof(float) * 3);
}

struct product_ormath {
    static constexpr std::size_t n = 16;
    void operator()(unsigned j, float* out) const { put(in.oa[j] * in.ob[j], out); }
};
struct product_eigen {
    static constexpr std::size_t n = 16;
    void operator()(unsigned j, float* out) const {
        Eigen::Matrix4f r;
        r.noalias() = in.ea[j] * in.eb[j];
        put(r, out);
    }
};
struct product_plain {
    static constexpr std::size_t n = 16;
    void operator()(unsigned j, float* out) const { plain::product(in.a[j], in.b[j], out); }
};

struct rotate_ormath {
    static constexpr std::size_t n = 16;
    void operator()(unsigned j, float* out) const {
        put(ormath::rotate(in.angle[j], ormath::vec3(axis[0], axis[1], axis[2])), out);
    }
};
struct rotate_eigen {
    static constexpr std::size_t n = 16;
    void operator()(unsigned j, float* out) const {
        const Eigen::Affine3f r(
            Eigen::AngleAxisf(in.angle[j] * degree, Eigen::Vector3f(axis[0], axis[1], axis[2])));
        put(r.matrix(), out);
    }
};
struct rotate_plain {
    static constexpr std::size_t n = 16;
    void operator()(unsigned j, float* out) const { plain::rotate(in.angle[j], axis, out); }
};

struct translate_ormath {
    static constexpr std::size_t n = 16;
    void operator()(unsigned j, float* out) const { put(ormath::translate(in.omove[j]), out); }
};
struct translate_eigen {
    static constexpr std::size_t n = 16;
    void operator()(unsigned j, float* out) const {
        const Eigen::Affine3f r(Eigen::Translation3f(in.emove[j]));
        put(r.matrix(), out);
    }
};
struct translate_plain {
    static constexpr std::size_t n = 16;
    void operator()(unsigned j, float* out) const { plain::translate(in.move[j], out); }
};

struct perspective_ormath {
    static constexpr std::size_t n = 16;
    void operator()(unsigned j, float* out) const {
        put(ormath::perspective(in.fovy[j], aspect, z_near, z_far), out);
    }
};
// Eigen has no projection builder: the same frustum written with its types.
struct perspective_eigen {
    static constexpr std::size_t n = 16;
    void operator()(unsigned j, float* out) const {
        const float range = std::tan(in.fovy[j] / 2 * degree) * z_near;
        Eigen::Matrix4f m = Eigen::Matrix4f::Zero();
        m(0, 0) = (2 * z_near) / (range * aspect - -range * aspect);
        m(1, 1) = (2 * z_near) / (range - -range);
        m(2, 2) = -(z_far + z_near) / (z_far - z_near);
        m(3, 2) = -1;
        m(2, 3) = -(2 * z_far * z_near) / (z_far - z_near);
        put(m, out);
    }
};
struct perspective_plain {
    static constexpr std::size_t n = 16;
    void operator()(unsigned j, float* out) const {
        plain::perspective(in.fovy[j], aspect, z_near, z_far, out);
    }
};

struct mix_ormath {
    static constexpr std::size_t n = 3;
    void operator()(unsigned j, float* out) const {
        const ormath::vec3 r = ormath::mix(in.ox[j], in.oy[j], in.weight[j]);
        std::memcpy(out, r.data(), sizeof(float) * 3);
    }
};
struct mix_eigen {
    static constexpr std::size_t n = 3;
    void operator()(unsigned j, float* out) const {
        const float a = in.weight[j];
        const Eigen::Vector3f r = in.ex[j] * (1 - a) + in.ey[j] * a;
        std::memcpy(out, r.data(), sizeof(float) * 3);
    }
};
struct mix_plain {
    static constexpr std::size_t n = 3;
    void operator()(unsigned j, float* out) const { plain::mix(in.x[j], in.y[j], in.weight[j], out); }
};

// One frame's model-view matrix: a move 4 units away after a turn about z.
struct modelview_ormath {
    static constexpr std::size_t n = 16;
    void operator()(unsigned j, float* out) const {
        put(ormath::translate(ormath::vec3(0, 0, -4)) * ormath::rotate(in.angle[j], ormath::vec3(0, 0, 1)),
            out);
    }
};
struct modelview_eigen {
    static constexpr std::size_t n = 16;
    void operator()(unsigned j, float* out) const {
        const Eigen::Affine3f r = Eigen::Translation3f(0, 0, -4) *
                                  Eigen::AngleAxisf(in.angle[j] * degree, Eigen::Vector3f::UnitZ());
        put(r.matrix(), out);
    }
};
struct modelview_plain {
    static constexpr std::size_t n = 16;
    void operator()(unsigned j, float* out) const {
        static constexpr float z[3] = {0, 0, 1};
        static constexpr float move[3] = {0, 0, -4};
        float t[16], r[16];
        plain::translate(move, t);
        plain::rotate(in.angle[j], z, r);
        plain::product(t, r, out);
    }
};

struct dot_ormath {
    static constexpr std::size_t n = 1;
    void operator()(unsigned j, float* out) const { *out = ormath::dot(in.ox[j], in.oy[j]); }
};
struct dot_eigen {
    static constexpr std::size_t n = 1;
    void operator()(unsigned j, float* out) const { *out = in.ex[j].dot(in.ey[j]); }
};
struct dot_plain {
    static constexpr std::size_t n = 1;
    void operator()(unsigned j, float* out) const { *out = plain::dot(in.x[j], in.y[j]); }
};

struct cross_ormath {
    static constexpr std::size_t n = 3;
    void operator()(unsigned j, float* out) const { put3(ormath::cross(in.ox[j], in.oy[j]), out); }
};
struct cross_eigen {
    static constexpr std::size_t n = 3;
    void operator()(unsigned j, float* out) const { put3(Eigen::Vector3f(in.ex[j].cross(in.ey[j])), out); }
};
struct cross_plain {
    static constexpr std::size_t n = 3;
    void operator()(unsigned j, float* out) const { plain::cross(in.x[j], in.y[j], out); }
};

struct normalize_ormath {
    static constexpr std::size_t n = 3;
    void operator()(unsigned j, float* out) const { put3(ormath::normalize(in.omove[j]), out); }
};
struct normalize_eigen {
    static constexpr std::size_t n = 3;
    void operator()(unsigned j, float* out) const { put3(Eigen::Vector3f(in.emove[j].normalized()), out); }
};
struct normalize_plain {
    static constexpr std::size_t n = 3;
    void operator()(unsigned j, float* out) const { plain::normalize(in.move[j], out); }
};

struct inverse_ormath {
    static constexpr std::size_t n = 16;
    void operator()(unsigned j, float* out) const { put(ormath::inverse(in.oinvertible[j]), out); }
};
struct inverse_eigen {
    static constexpr std::size_t n = 16;
    void operator()(unsigned j, float* out) const {
        Eigen::Matrix4f r;
        r.noalias() = in.einvertible[j].inverse();
        put(r, out);
    }
};
struct inverse_plain {
    static constexpr std::size_t n = 16;
    void operator()(unsigned j, float* out) const { plain::inverse(in.invertible[j], out); }
};

struct transpose_ormath {
    static constexpr std::size_t n = 16;
    void operator()(unsigned j, float* out) const { put(ormath::transpose(in.oa[j]), out); }
};
struct transpose_eigen {
    static constexpr std::size_t n = 16;
    void operator()(unsigned j, float* out) const {
        Eigen::Matrix4f r;
        r.noalias() = in.ea[j].transpose();
        put(r, out);
    }
};
struct transpose_plain {
    static constexpr std::size_t n = 16;
    void operator()(unsigned j, float* out) const { plain::transpose(in.a[j], out); }
};

// A camera at a point of the 20-unit cube looking at a point near the
// origin, the y axis up.
struct look_at_ormath {
    static constexpr std::size_t n = 16;
    void operator()(unsigned j, float* out) const {
        put(ormath::look_at(in.omove[j], in.ox[j], ormath::vec3(0, 1, 0)), out);
    }
};
// Eigen has no camera builder: the same view written with its types.
struct look_at_eigen {
    static constexpr std::size_t n = 16;
    void operator()(unsigned j, float* out) const {
        const Eigen::Vector3f& eye = in.emove[j];
        const Eigen::Vector3f f = (in.ex[j] - eye).normalized();
        const Eigen::Vector3f s = f.cross(Eigen::Vector3f::UnitY()).normalized();
        const Eigen::Vector3f u = s.cross(f);
        Eigen::Matrix4f m;
        m.row(0) << s.transpose(), -s.dot(eye);
        m.row(1) << u.transpose(), -u.dot(eye);
        m.row(2) << -f.transpose(), f.dot(eye);
        m.row(3) << 0, 0, 0, 1;
        put(m, out);
    }
};
struct look_at_plain {
    static constexpr std::size_t n = 16;
    void operator()(unsigned j, float* out) const {
        static constexpr float up[3] = {0, 1, 0};
        plain::look_at(in.move[j], in.x[j], up, out);
    }
};

struct product3_ormath {
    static constexpr std::size_t n = 9;
    void operator()(unsigned j, float* out) const { put9(in.oa3[j] * in.ob3[j], out); }
};
struct product3_eigen {
    static constexpr std::size_t n = 9;
    void operator()(unsigned j, float* out) const {
        Eigen::Matrix3f r;
        r.noalias() = in.ea3[j] * in.eb3[j];
        put9(r, out);
    }
};
struct product3_plain {
    static constexpr std::size_t n = 9;
    void operator()(unsigned j, float* out) const { plain::product3(in.a[j], in.b[j], out); }
};

struct quat_product_ormath {
    static constexpr std::size_t n = 4;
    void operator()(unsigned j, float* out) const { std::memcpy(out, (in.oq[j] * in.op[j]).data(), 16); }
};
struct quat_product_eigen {
    static constexpr std::size_t n = 4;
    void operator()(unsigned j, float* out) const {
        std::memcpy(out, (in.eq[j] * in.ep[j]).coeffs().data(), 16);
    }
};
struct quat_product_plain {
    static constexpr std::size_t n = 4;
    void operator()(unsigned j, float* out) const { plain::quat_product(in.q[j], in.p[j], out); }
};

struct quat_turn_ormath {
    static constexpr std::size_t n = 3;
    void operator()(unsigned j, float* out) const { put3(in.oq[j] * in.ox[j], out); }
};
struct quat_turn_eigen {
    static constexpr std::size_t n = 3;
    void operator()(unsigned j, float* out) const {
        const Eigen::Vector3f r = in.eq[j] * in.ex[j];
        put3(r, out);
    }
};
struct quat_turn_plain {
    static constexpr std::size_t n = 3;
    void operator()(unsigned j, float* out) const { plain::quat_turn(in.q[j], in.x[j], out); }
};

struct quat_mat3_ormath {
    static constexpr std::size_t n = 9;
    void operator()(unsigned j, float* out) const { put9(ormath::mat3(in.oq[j]), out); }
};
struct quat_mat3_eigen {
    static constexpr std::size_t n = 9;
    void operator()(unsigned j, float* out) const {
        const Eigen::Matrix3f r = in.eq[j].toRotationMatrix();
        put9(r, out);
    }
};
struct quat_mat3_plain {
    static constexpr std::size_t n = 9;
    void operator()(unsigned j, float* out) const { plain::quat_mat3(in.q[j], out); }
};

struct slerp_ormath {
    static constexpr std::size_t n = 4;
    void operator()(unsigned j, float* out) const {
        std::memcpy(out, ormath::slerp(in.oq[j], in.op[j], in.weight[j]).data(), 16);
    }
};
struct slerp_eigen {
    static constexpr std::size_t n = 4;
    void operator()(unsigned j, float* out) const {
        std::memcpy(out, in.eq[j].slerp(in.weight[j], in.ep[j]).coeffs().data(), 16);
    }
};
struct slerp_plain {
    static constexpr std::size_t n = 4;
    void operator()(unsigned j, float* out) const { plain::slerp(in.q[j], in.p[j], in.weight[j], out); }
};

// Culling: the six planes of a camera's clip matrix, then 1,000 spheres of
// radius 1 in the 120-unit cube tested against them. The result is the
// planes and the number of spheres kept.
struct spheres_t {
    static constexpr int count = 1000;
    float center[count][3];
    ormath::vec3 ocenter[count];
    Eigen::Vector3f ecenter[count];
    spheres_t() {
        unsigned state = 777u;
        for (int i = 0; i < count; ++i) {
            for (int k = 0; k < 3; ++k) {
                state = state * 1664525u + 1013904223u;
                center[i][k] = -60 + 120 * static_cast<float>(state >> 8) * 0x1p-24f;
            }
            ocenter[i] = {center[i][0], center[i][1], center[i][2]};
            ecenter[i] = {center[i][0], center[i][1], center[i][2]};
        }
    }
};
const spheres_t spheres;

struct culling_ormath {
    static constexpr std::size_t n = 25;
    void operator()(unsigned j, float* out) const {
        const std::array<ormath::vec4, 6> planes = ormath::frustum_planes(in.oclip[j]);
        int kept = 0;
        for (const ormath::vec3& c : spheres.ocenter) {
            kept += ormath::sphere_visible(planes, c, 1.0f) ? 1 : 0;
        }
        std::memcpy(out, planes.data(), 24 * sizeof(float));
        out[24] = static_cast<float>(kept);
    }
};
// Eigen has no frustum planes: the same algorithm written with its types.
struct culling_eigen {
    static constexpr std::size_t n = 25;
    void operator()(unsigned j, float* out) const {
        const Eigen::Matrix4f& m = in.eclip[j];
        Eigen::Vector4f planes[6] = {m.row(3) + m.row(0), m.row(3) - m.row(0), m.row(3) + m.row(1),
                                     m.row(3) - m.row(1), m.row(3) + m.row(2), m.row(3) - m.row(2)};
        for (Eigen::Vector4f& p : planes) {
            p /= p.head<3>().norm();
        }
        int kept = 0;
        for (const Eigen::Vector3f& c : spheres.ecenter) {
            bool inside = true;
            for (const Eigen::Vector4f& p : planes) {
                inside = inside && p.head<3>().dot(c) + p[3] >= -1.0f;
            }
            kept += inside ? 1 : 0;
        }
        for (std::size_t i = 0; i < 6; ++i) {
            std::memcpy(out + 4 * i, planes[i].data(), 4 * sizeof(float));
        }
        out[24] = static_cast<float>(kept);
    }
};
struct culling_plain {
    static constexpr std::size_t n = 25;
    void operator()(unsigned j, float* out) const {
        float planes[6][4];
        plain::frustum_planes(in.clip[j], planes);
        int kept = 0;
        for (const auto& c : spheres.center) {
            bool inside = true;
            for (const auto& p : planes) {
                inside = inside && !(plain::dot(p, c) + p[3] < -1.0f);
            }
            kept += inside ? 1 : 0;
        }
        std::memcpy(out, planes, sizeof planes);
        out[24] = static_cast<float>(kept);
    }
};

// What the timing loop itself costs: the result is a copy of an input.
struct loop_only {
    static constexpr std::size_t n = 16;
    void operator()(unsigned j, float* out) const { std::memcpy(out, in.a[j], sizeof in.a[j]); }
};

// ---------------------------------------------------------------- the timing loop

// `exact`: every result must equal the reference's bit for bit (Ormath's
// contract); otherwise the share that does is only reported.
template <class Impl, class Reference, bool exact>
void timed(benchmark::State& state) {
    constexpr std::size_t n = Impl::n;
    const Impl impl;
    static bench::ring_sum<n> results;
    results = {};
    std::uint64_t i = 0;
    for (auto _ : state) {
        impl(static_cast<unsigned>(i) & (n_inputs - 1), results.slot(i));
        results.consume(i);
        ++i;
    }
    const bench::word_sum<n> sum = results.total(i);

    // The sum the loop must have reached, from the same results computed
    // untimed; and how these results compare with the reference's.
    const std::uint64_t iterations = state.iterations();
    bench::word_sum<n> cycle, expected;
    int identical = 0;
    double worst = 0;
    for (unsigned k = 0; k < n_inputs; ++k) {
        float out[n], ref[n];
        impl(k, out);
        Reference()(k, ref);
        cycle.add(out);
        if (k < iterations % n_inputs) {
            expected.add(out);
        }
        identical += bench::same_bits(out, ref, n);
        for (std::size_t e = 0; e < n; ++e) {
            const double err = std::fabs(double(out[e]) - double(ref[e])) / (1 + std::fabs(double(ref[e])));
            worst = err > worst ? err : worst;
        }
    }
    expected.add_times(cycle, iterations / n_inputs);
    bench::report_checksum(state, sum == expected);
    // Rounding differences stay near 1e-7; anything larger is a different operation.
    if (worst > 1e-5) {
        bench::any_checksum_failed() = true;
        state.SkipWithError("results differ from the reference beyond rounding");
    } else if (exact && identical != n_inputs) {
        bench::any_checksum_failed() = true;
        state.SkipWithError("results differ from the documented evaluation order");
    }
    state.counters["identical"] = double(identical) / n_inputs;
}

template <class Impl, class Reference, bool exact>
void add(const char* op, const char* lib) {
    const std::string name = std::string(op) + "/" + lib;
    // Debian 12's Google Benchmark takes the name as a C string; newer ones
    // also take a std::string, where clang-tidy finds c_str() redundant.
    // NOLINTNEXTLINE(readability-redundant-string-cstr)
    benchmark::RegisterBenchmark(name.c_str(),
                                 [](benchmark::State& state) { timed<Impl, Reference, exact>(state); });
}

template <class Ormath, class Eigen_, class Plain>
void add_op(const char* op) {
    add<Ormath, Plain, true>(op, "ormath");
    add<Eigen_, Plain, false>(op, "eigen");
    add<Plain, Plain, true>(op, "plain");
}

// ---------------------------------------------------------------- every row of the test table

// One benchmark per function of Ormath's test table (tests/ormath/functions.hpp),
// timed on random arguments of the row's magnitude: a function added there
// is timed here too. The row's call is a constant, so it is inlined.
template <std::size_t I>
void table_row(benchmark::State& state) {
    constexpr const functions::row& r = functions::table[I];
    static float args[n_inputs][functions::max_inputs];
    functions::float_source next(static_cast<std::uint32_t>(I + 1));
    for (auto& a : args) {
        next.fill(r, a);
    }
    float out[functions::max_outputs] = {};
    unsigned i = 0;
    for (auto _ : state) {
        r.evaluate(args[i++ & (n_inputs - 1)], out);
        benchmark::DoNotOptimize(out);
    }
}
template <std::size_t... I>
void add_table_rows(std::index_sequence<I...>) {
    // NOLINTNEXTLINE(readability-redundant-string-cstr): see add() above
    (benchmark::RegisterBenchmark((std::string("table/") + functions::table[I].name).c_str(), table_row<I>),
     ...);
}

const bool registered = [] {
    benchmark::AddCustomContext("variant", BENCH_VARIANT);
    add<loop_only, loop_only, true>("loop", "only");
    add_op<product_ormath, product_eigen, product_plain>("product");
    add_op<rotate_ormath, rotate_eigen, rotate_plain>("rotate");
    add_op<translate_ormath, translate_eigen, translate_plain>("translate");
    add_op<perspective_ormath, perspective_eigen, perspective_plain>("perspective");
    add_op<mix_ormath, mix_eigen, mix_plain>("mix");
    add_op<modelview_ormath, modelview_eigen, modelview_plain>("modelview");
    add_op<dot_ormath, dot_eigen, dot_plain>("dot");
    add_op<cross_ormath, cross_eigen, cross_plain>("cross");
    add_op<normalize_ormath, normalize_eigen, normalize_plain>("normalize");
    add_op<inverse_ormath, inverse_eigen, inverse_plain>("inverse");
    add_op<transpose_ormath, transpose_eigen, transpose_plain>("transpose");
    add_op<look_at_ormath, look_at_eigen, look_at_plain>("look_at");
    add_op<product3_ormath, product3_eigen, product3_plain>("mat3_product");
    add_op<quat_product_ormath, quat_product_eigen, quat_product_plain>("quat_product");
    add_op<quat_turn_ormath, quat_turn_eigen, quat_turn_plain>("quat_turn");
    add_op<quat_mat3_ormath, quat_mat3_eigen, quat_mat3_plain>("quat_mat3");
    add_op<slerp_ormath, slerp_eigen, slerp_plain>("slerp");
    add_op<culling_ormath, culling_eigen, culling_plain>("culling");
    add_table_rows(std::make_index_sequence<functions::row_count>());
    return true;
}();

}  // namespace

BENCH_MAIN_WITH_CHECKSUMS()
