// Ormath's operations beside the same operations in Eigen and in plain scalar
// code, in one run. Built twice: for the default target and for the build
// machine (-march=native), where Eigen fuses multiply-adds and Ormath must not.
//
// Each benchmark reports ns per operation and "identical", the share of its
// results that equal, bit for bit, the plain scalar code's (which rounds every
// product and sums left to right, as the project's arithmetic prescribes).
#include "checksum.hpp"

#include <Eigen/Geometry>
#include <ormath/ormath.hpp>

#include <cmath>
#include <cstring>
#include <string>

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

    ormath::mat4 oa[n_inputs], ob[n_inputs];
    ormath::vec3 omove[n_inputs], ox[n_inputs], oy[n_inputs];
    Eigen::Matrix4f ea[n_inputs], eb[n_inputs];
    Eigen::Vector3f emove[n_inputs], ex[n_inputs], ey[n_inputs];

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
            std::memcpy(oa[j].data(), a[j], sizeof a[j]);
            std::memcpy(ob[j].data(), b[j], sizeof b[j]);
            std::memcpy(ea[j].data(), a[j], sizeof a[j]);
            std::memcpy(eb[j].data(), b[j], sizeof b[j]);
            omove[j] = {move[j][0], move[j][1], move[j][2]};
            ox[j] = {x[j][0], x[j][1], x[j][2]};
            oy[j] = {y[j][0], y[j][1], y[j][2]};
            emove[j] = {move[j][0], move[j][1], move[j][2]};
            ex[j] = {x[j][0], x[j][1], x[j][2]};
            ey[j] = {y[j][0], y[j][1], y[j][2]};
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
    const float c = std::cos(rad), s = std::sin(rad);
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
    const float range = std::tan(fovy / 2 * degree) * n;
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

}  // namespace plain

// ---------------------------------------------------------------- the operations

// Each implementation computes result j into out; n is the result's float count.
// "plain" is the reference the others are compared with.

template <class M>
void put(const M& m, float* out) {
    std::memcpy(out, m.data(), sizeof(float) * 16);
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

// What the timing loop itself costs: the result is a copy of an input.
struct loop_only {
    static constexpr std::size_t n = 16;
    void operator()(unsigned j, float* out) const { std::memcpy(out, in.a[j], sizeof in.a[j]); }
};

// ---------------------------------------------------------------- the timing loop

template <class Impl, class Reference>
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
    }
    state.counters["identical"] = double(identical) / n_inputs;
}

template <class Impl, class Reference>
void add(const char* op, const char* lib) {
    const std::string name = std::string(op) + "/" + lib;
    // Debian 12's Google Benchmark takes the name as a C string; newer ones
    // also take a std::string, where clang-tidy finds c_str() redundant.
    // NOLINTNEXTLINE(readability-redundant-string-cstr)
    benchmark::RegisterBenchmark(name.c_str(),
                                 [](benchmark::State& state) { timed<Impl, Reference>(state); });
}

template <class Ormath, class Eigen_, class Plain>
void add_op(const char* op) {
    add<Ormath, Plain>(op, "ormath");
    add<Eigen_, Plain>(op, "eigen");
    add<Plain, Plain>(op, "plain");
}

const bool registered = [] {
    benchmark::AddCustomContext("variant", BENCH_VARIANT);
    add<loop_only, loop_only>("loop", "only");
    add_op<product_ormath, product_eigen, product_plain>("product");
    add_op<rotate_ormath, rotate_eigen, rotate_plain>("rotate");
    add_op<translate_ormath, translate_eigen, translate_plain>("translate");
    add_op<perspective_ormath, perspective_eigen, perspective_plain>("perspective");
    add_op<mix_ormath, mix_eigen, mix_plain>("mix");
    add_op<modelview_ormath, modelview_eigen, modelview_plain>("modelview");
    return true;
}();

}  // namespace

BENCH_MAIN_WITH_CHECKSUMS()
