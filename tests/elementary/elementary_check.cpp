// The proof of correct rounding of Ormath's elementary functions: each
// result beside an independent oracle. One-argument functions on all 2^32
// floats (--all) or on a fixed sample (--sample N); two-argument functions
// (in GLSL's argument order) on N pairs drawn over their whole range whose
// results are finite and non-zero (--pairs N, --seed S), and on an edge set
// (--pairs-edge): the pairs that overflow, underflow or hit a special value,
// and those whose exact result is a float or a midpoint between two floats.
//
// The oracle is the C library's double function (never its float one; sin
// and cos from one sincos call): its
// result d, within a few double ulps of the exact value, decides the float
// whenever d - 4 ulp and d + 4 ulp round to the same float. Otherwise the
// exact value may lie on either side of a midpoint between two floats, and
// MPFR settles it: the function at 24 bits with mpfr_subnormalize, which is
// the correctly rounded float, subnormals included (an exact midpoint
// included: MPFR rounds it to even). A build without MPFR (the i686 one)
// prints such inputs instead as "settle NAME XBITS YBITS" lines ("settle
// NAME ABITS BBITS YBITS" for a pair), which --settle of a build with MPFR
// reads and checks.
//
// A function's name selects it in each mode whose table has it; without a
// name, each mode runs all of its functions.
//
//   elementary_check [--threads N] [--all | --sample N]
//                    [--pairs N [--seed S]] [--pairs-edge] [FUNCTION...]
//   elementary_check --settle < lines
//
// SPDX-License-Identifier: MIT
#include <ormath/elementary.hpp>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cinttypes>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#if ORMATH_CHECK_MPFR
#include <mpfr.h>
#endif

namespace {

struct function {
    const char* name;
    float (*ours)(float);
#if ORMATH_CHECK_MPFR
    int (*exact)(mpfr_ptr, mpfr_srcptr, mpfr_rnd_t);
#endif
    double (*oracle)(double);  // the oracle where slot is -1
    // Which oracle value: 0 sin, 1 cos (both from sincos), 2 tan, -1 the
    // function's own oracle.
    int slot;
    // Whether f(-x) is +-f(x), so that the hard cases shown are positive x.
    bool symmetric;
};

#if ORMATH_CHECK_MPFR
// clang-format off
#define ORACLE(name, slot) {#name, [](float x) { return ormath::name(x); }, mpfr_##name, nullptr, slot, true}
#define ORACLE_OWN(name, oracle, exact) {#name, [](float x) { return ormath::name(x); }, exact, oracle, -1, false}
#define ORACLE_ODD(name, oracle, exact) {#name, [](float x) { return ormath::name(x); }, exact, oracle, -1, true}
// clang-format on
#else
// clang-format off
#define ORACLE(name, slot) {#name, [](float x) { return ormath::name(x); }, nullptr, slot, true}
#define ORACLE_OWN(name, oracle, exact) {#name, [](float x) { return ormath::name(x); }, oracle, -1, false}
#define ORACLE_ODD(name, oracle, exact) {#name, [](float x) { return ormath::name(x); }, oracle, -1, true}
// clang-format on
#endif

// The C library's double function of the same name as the oracle, MPFR's
// function of that name as the exact one.
// clang-format off
#define ORACLE_STD(name) ORACLE_OWN(name, [](double x) { return std::name(x); }, mpfr_##name)
#define ORACLE_STD_ODD(name) ORACLE_ODD(name, [](double x) { return std::name(x); }, mpfr_##name)
// clang-format on

// 1/sqrt(x) in double: two roundings, within 2 ulps.
double inverse_sqrt(double x) { return 1.0 / std::sqrt(x); }

// clang-format off
const function functions[] = {
    ORACLE(sin, 0), ORACLE(cos, 1), ORACLE(tan, 2),
    ORACLE_STD_ODD(asin), ORACLE_STD(acos), ORACLE_STD_ODD(atan),
    ORACLE_STD(sinh), ORACLE_STD(cosh), ORACLE_STD(tanh),
    ORACLE_STD(asinh), ORACLE_STD(acosh), ORACLE_STD(atanh),
    ORACLE_STD(exp), ORACLE_STD(exp2), ORACLE_STD(log), ORACLE_STD(log2), ORACLE_STD(sqrt),
    ORACLE_OWN(inversesqrt, inverse_sqrt, mpfr_rec_sqrt),
};
// clang-format on

std::uint32_t float_bits(float x) {
    std::uint32_t u;
    std::memcpy(&u, &x, 4);
    return u;
}
float bits_float(std::uint32_t u) {
    float x;
    std::memcpy(&x, &u, 4);
    return x;
}
// double -> float, rounded once (the barrier keeps x87 from skipping it).
float narrow(double d) {
    volatile auto f = static_cast<float>(d);
    return f;
}
double step_ulps(double d, int n) {
    std::uint64_t u;
    std::memcpy(&u, &d, 8);
    // Away from zero for n > 0 when d > 0; d is finite and non-zero here.
    u = (d > 0) ? u + n : u - n;
    std::memcpy(&d, &u, 8);
    return d;
}

#if ORMATH_CHECK_MPFR
// How far the exact value w lies from the nearest midpoint between two
// floats (the overflow threshold 2^128 - 2^103 counting as one), in units
// of the float ulp on that side of r, its correctly rounded float: 0 on a
// midpoint, 0.5 on a float.
double midpoint_distance(mpfr_srcptr w, float r) {
    const float a = std::fabs(r);
    mpfr_t aw, d;
    mpfr_inits2(200, aw, d, static_cast<mpfr_ptr>(nullptr));
    mpfr_abs(aw, w, MPFR_RNDN);
    double best;
    if (std::isinf(a)) {
        mpfr_sub_d(d, aw, 0x1p128 - 0x1p103, MPFR_RNDN);
        best = mpfr_get_d(d, MPFR_RNDN) / 0x1p104;
    } else {
        const double up = static_cast<double>(std::nextafter(a, INFINITY)) - a;
        mpfr_d_sub(d, a + up / 2, aw, MPFR_RNDN);  // to the midpoint above
        best = mpfr_get_d(d, MPFR_RNDN) / up;
        if (a != 0) {
            const double down = a - static_cast<double>(std::nextafter(a, 0.0f));
            mpfr_sub_d(d, aw, a - down / 2, MPFR_RNDN);  // to the midpoint below
            best = std::min(best, mpfr_get_d(d, MPFR_RNDN) / down);
        }
    }
    mpfr_clears(aw, d, static_cast<mpfr_ptr>(nullptr));
    return best;
}

// The correctly rounded float, and how far the exact value lies from the
// nearest midpoint, in units of the float's ulp (0.5 means on a float).
float settle(const function& f, float x, double* distance) {
    mpfr_set_emin(-148);
    mpfr_set_emax(128);
    mpfr_t mx, y, wide;
    mpfr_init2(mx, 24);
    mpfr_init2(y, 24);
    mpfr_init2(wide, 200);
    mpfr_set_flt(mx, x, MPFR_RNDN);
    const int t = f.exact(y, mx, MPFR_RNDN);
    mpfr_subnormalize(y, t, MPFR_RNDN);
    const float r = mpfr_get_flt(y, MPFR_RNDN);
    if (distance != nullptr) {
        mpfr_set_emin(mpfr_get_emin_min());
        mpfr_set_emax(mpfr_get_emax_max());
        f.exact(wide, mx, MPFR_RNDN);
        *distance = mpfr_number_p(wide) != 0 ? midpoint_distance(wide, r) : 0.5;
    }
    mpfr_clears(mx, y, wide, static_cast<mpfr_ptr>(nullptr));
    return r;
}
#endif

struct counts {
    std::uint64_t checked = 0, settled = 0, misrounded = 0;
};

struct hard_case {
    double distance;
    std::uint32_t x;
    std::uint32_t y;
};

std::mutex out_mutex;

// Checks one function at one input against the oracle's double d.
void check_one(const function& f, std::uint32_t u, double d, counts& c, std::vector<hard_case>& hard) {
    const float x = bits_float(u);
    const float y = f.ours(x);
    ++c.checked;
    // Where the oracle gives NaN (a NaN argument, sin of an infinity, asin
    // beyond 1) any NaN will do.
    if (std::isnan(x) || std::isnan(d)) {
        if (!std::isnan(y)) {
            ++c.misrounded;
            std::lock_guard<std::mutex> lock(out_mutex);
            std::fprintf(stderr, "MISROUNDED %s(%a) [%08" PRIx32 "] = %a, expected NaN\n", f.name, x, u, y);
        }
        return;
    }
    float expected;
    if (std::fabs(d) < 0x1p-1000 || std::isinf(d)) {
        // Zero, infinite, or so far below half the smallest subnormal that
        // stepping it by ulps would cross zero.
        expected = narrow(d);
    } else {
        const float lo = narrow(step_ulps(d, -4)), hi = narrow(step_ulps(d, 4));
        if (float_bits(lo) == float_bits(hi)) {
            expected = lo;
        } else {
            ++c.settled;
#if ORMATH_CHECK_MPFR
            double distance = 0;
            expected = settle(f, x, &distance);
            hard.push_back({distance, u, float_bits(expected)});
#else
            (void)hard;
            std::lock_guard<std::mutex> lock(out_mutex);
            std::printf("settle %s %08" PRIx32 " %08" PRIx32 "\n", f.name, u, float_bits(y));
            return;
#endif
        }
    }
    if (float_bits(expected) != float_bits(y)) {
        ++c.misrounded;
        std::lock_guard<std::mutex> lock(out_mutex);
        std::fprintf(stderr, "MISROUNDED %s(%a) [%08" PRIx32 "] = %a, expected %a\n", f.name, x, u, y,
                     expected);
    }
}

// A fixed sequence of N inputs spread over all 2^32 bit patterns.
std::uint32_t sample_input(std::uint64_t i) {
    std::uint64_t z = (i + 1) * 0x9e3779b97f4a7c15u;
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9u;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebu;
    return static_cast<std::uint32_t>(z ^ (z >> 31));
}

// All chosen functions in one pass over the inputs, so that the oracle's
// argument reduction (sincos) serves two of them.
int run(const std::vector<const function*>& chosen, bool all, std::uint64_t n, unsigned threads) {
    const auto start = std::chrono::steady_clock::now();
    const std::uint64_t total = all ? (std::uint64_t{1} << 32) : n;
    const std::size_t nf = chosen.size();
    std::vector<std::vector<counts>> c(threads, std::vector<counts>(nf));
    std::vector<std::vector<std::vector<hard_case>>> hard(threads, std::vector<std::vector<hard_case>>(nf));
    bool need_sincos = false, need_tan = false;
    for (const function* f : chosen) {
        need_sincos |= f->slot == 0 || f->slot == 1;
        need_tan |= f->slot == 2;
    }
    std::atomic<std::uint64_t> next{0};
    const std::uint64_t chunk = 1 << 20;
    auto work = [&](unsigned t) {
        for (;;) {
            const std::uint64_t begin = next.fetch_add(chunk);
            if (begin >= total) {
                break;
            }
            const std::uint64_t end = begin + chunk < total ? begin + chunk : total;
            for (std::uint64_t i = begin; i < end; ++i) {
                const std::uint32_t u = all ? static_cast<std::uint32_t>(i) : sample_input(i);
                const auto xd = static_cast<double>(bits_float(u));
                // glibc's sincos for sin and cos at once, its double function
                // for each other.
                double v[3] = {0, 0, 0};
                if (need_sincos) {
                    ::sincos(xd, &v[0], &v[1]);
                }
                if (need_tan) {
                    v[2] = std::tan(xd);
                }
                for (std::size_t k = 0; k < nf; ++k) {
                    const function& f = *chosen[k];
                    check_one(f, u, f.slot >= 0 ? v[f.slot] : f.oracle(xd), c[t][k], hard[t][k]);
                }
            }
        }
    };
    std::vector<std::thread> pool;
    for (unsigned t = 1; t < threads; ++t) {
        pool.emplace_back(work, t);
    }
    work(0);
    for (auto& th : pool) {
        th.join();
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    int status = 0;
    for (std::size_t k = 0; k < nf; ++k) {
        counts sum;
        std::vector<hard_case> hardest;
        for (unsigned t = 0; t < threads; ++t) {
            sum.checked += c[t][k].checked;
            sum.settled += c[t][k].settled;
            sum.misrounded += c[t][k].misrounded;
            hardest.insert(hardest.end(), hard[t][k].begin(), hard[t][k].end());
        }
        std::printf("%s: %" PRIu64 " inputs, %" PRIu64 " settled by MPFR, %" PRIu64 " misrounded\n",
                    chosen[k]->name, sum.checked, sum.settled, sum.misrounded);
#if ORMATH_CHECK_MPFR
        // The inputs whose exact value lies closest to a midpoint (a distance
        // in ulps of the result), positive ones where f(-x) = +-f(x): the unit
        // tests' hard cases.
        std::sort(hardest.begin(), hardest.end(),
                  [](const hard_case& a, const hard_case& b) { return a.distance < b.distance; });
        int shown = 0;
        for (std::size_t i = 0; i < hardest.size() && shown < 4; ++i) {
            if (chosen[k]->symmetric && (hardest[i].x >> 31) != 0) {
                continue;
            }
            ++shown;
            std::printf("  hard %s(%a) = %a, %.3g ulp from a midpoint\n", chosen[k]->name,
                        bits_float(hardest[i].x), bits_float(hardest[i].y), hardest[i].distance);
        }
#endif
        status |= sum.misrounded == 0 ? 0 : 1;
    }
    std::printf("time: %.1f s for %zu function(s), %u thread(s)\n", seconds, nf, threads);
    std::fflush(stdout);
    return status;
}

// Two-argument functions, f(a, b) in GLSL's argument order: the oracle is
// the C library's double function of the same order, MPFR's the exact one.
struct pair {
    float a, b;
};

struct pair_function {
    const char* name;
    float (*ours)(float, float);
    double (*oracle)(double, double);
#if ORMATH_CHECK_MPFR
    int (*exact)(mpfr_ptr, mpfr_srcptr, mpfr_srcptr, mpfr_rnd_t);
#endif
    // A pair from 64 random bits, spread over the function's range; nullptr
    // for two random bit patterns. Either way a pair whose result is not a
    // finite non-zero float is drawn again.
    pair (*draw)(std::uint64_t random);
    // Appends the function's own edge cases to the common ones; may be
    // nullptr.
    void (*edge)(std::vector<pair>& out);
};

#if ORMATH_CHECK_MPFR
// clang-format off
#define PAIR_ORACLE(name, oracle, exact, draw, edge) \
    {#name, [](float a, float b) { return ormath::name(a, b); }, oracle, exact, draw, edge}
// clang-format on
#else
// clang-format off
#define PAIR_ORACLE(name, oracle, exact, draw, edge) \
    {#name, [](float a, float b) { return ormath::name(a, b); }, oracle, draw, edge}
// clang-format on
#endif

// pow's pairs: x over all finite floats, y chosen so that x^y lands
// anywhere from the smallest subnormal to the largest float; one draw in
// eight each with x near 1 (within 2^-22 to 2^-1 of it), with x < 0 and an
// integer y, with a small integer y (|y| <= 32), with y a multiple of 1/4 up
// to 16, and with x and y of random bits.
pair pow_draw(std::uint64_t random) {
    const auto kind = static_cast<unsigned>(random & 7u);
    std::uint64_t rest = random >> 3;
    auto take = [&rest](int n) {
        const auto v = static_cast<std::uint32_t>(rest & ((std::uint64_t{1} << n) - 1));
        rest >>= n;
        return v;
    };
    float x = bits_float(take(31) % 0x7f800000u);
    if (kind == 3) {
        const std::uint32_t near = (take(22) >> take(5) % 22) + 1;  // 1 to 2^22 ulps
        x = bits_float(take(1) != 0 ? 0x3f800000u + near : 0x3f800000u - near);
    }
    // An exponent for a result 2^t, t uniform over the floats' range.
    const double t = -150.0 + 278.0 * take(20) * 0x1p-20;
    const double ty = t / std::log2(static_cast<double>(x));
    switch (kind) {
        case 4:
            return {-x, static_cast<float>(std::nearbyint(ty))};
        case 5:
            return {take(1) != 0 ? -x : x, static_cast<float>(static_cast<int>(take(6)) - 32)};
        case 6:
            return {x, static_cast<float>(static_cast<int>(take(7)) - 64) * 0.25f};
        case 7:
            return {bits_float(take(32)), bits_float(static_cast<std::uint32_t>(random >> 32))};
        default:
            return {x, static_cast<float>(ty)};
    }
}

// The float y steps floats away from y (a finite non-zero float).
float float_step(float y, int steps) {
    const std::uint32_t u = float_bits(y);
    return bits_float(static_cast<std::uint32_t>(static_cast<std::int64_t>(u) + steps));
}

// pow's own edge pairs:
// - for bases across the range, the 33 floats y around each exponent where
//   x^y crosses the overflow threshold, the smallest normal, the smallest
//   subnormal and half of it;
// - powers of two to every power that gives a power of two from 2^-152 to
//   2^129 (2^-150 is the midpoint that rounds to 0);
// - m 2^f (m odd) to the integer powers n whose result has at most 26 bits,
//   with results over the whole range, subnormals included: exact floats,
//   exact midpoints (25 bits, each squared 13-bit odd m among them) and
//   quarter points; negative bases with odd n;
// - the same results reached as roots: m^2 to 1/2, 3/2, -1/2, m^4 to 1/4 and
//   3/4, m^8 to 1/8;
// - the neighbours of 1 to large powers of two and their neighbours.
void pow_edge(std::vector<pair>& out) {
    const float bases[] = {2.0f,    3.0f,    10.0f,         0.5f,           0.1f,      1.5f,
                           7.0f,    0.75f,   1e-20f,        1e20f,          0x1p-149f, 0x1.fffffep127f,
                           1.0001f, 0.9999f, 0x1.000002p0f, 0x1.fffffep-1f, 123.456f,  0x1.8p-140f};
    const double crossings[] = {std::log2(0x1p128 - 0x1p103), -126.0, -149.0, -150.0};
    for (const float x : bases) {
        for (const double c : crossings) {
            const auto y = static_cast<float>(c / std::log2(static_cast<double>(x)));
            for (int s = -16; s <= 16; ++s) {
                out.push_back({x, float_step(y, s)});
                out.push_back({-x, std::nearbyint(float_step(y, s))});
            }
        }
    }
    for (int e = -149; e <= 127; ++e) {
        if (e == 0) {
            continue;
        }
        for (int target = -152; target <= 129; ++target) {
            const auto y = static_cast<float>(static_cast<double>(target) / e);
            if (static_cast<double>(y) * e == target) {
                out.push_back({std::ldexp(1.0f, e), y});
            }
        }
    }
    const int targets[] = {-149, -140, -127, -100, -30, 0, 20, 60, 100, 127};
    for (int n = 2; n <= 26; ++n) {
        for (std::uint32_t m = 1; std::pow(static_cast<double>(m), n) < 0x1p26; m += 2) {
            const int bits = static_cast<int>(std::floor(std::log2(static_cast<double>(m)))) + 1;
            for (const int target : targets) {
                // x = m 2^f with the result near 2^target.
                const int f = static_cast<int>(std::floor(static_cast<double>(target) / n)) - bits + 1;
                const float x = std::ldexp(static_cast<float>(m), f);
                if (x == 0.0f || std::isinf(x)) {
                    continue;
                }
                out.push_back({x, static_cast<float>(n)});
                if (n % 2 == 1) {
                    out.push_back({-x, static_cast<float>(n)});
                }
                if (n == 2) {
                    out.push_back({x * x, 0.5f});
                    out.push_back({x * x, 1.5f});
                    out.push_back({x * x, -0.5f});
                }
                if (n == 4) {
                    const float x4 = (x * x) * (x * x);
                    out.push_back({x4, 0.25f});
                    out.push_back({x4, 0.75f});
                }
                if (n == 8) {
                    const float x4 = (x * x) * (x * x);
                    out.push_back({x4 * x4, 0.125f});
                }
            }
        }
    }
    for (int s = -8; s <= 8; ++s) {
        for (int k = 0; k <= 40; ++k) {
            for (const float near : {0x1.000002p0f, 0x1.fffffep-1f, 0x1.00002p0f, 0x1.ffffcp-1f}) {
                out.push_back({near, float_step(std::ldexp(1.0f, k), s)});
                out.push_back({near, -float_step(std::ldexp(1.0f, k), s)});
            }
        }
    }
}

// atan(y, x): a quarter of the pairs are two random bit patterns (whose
// quotients mostly overflow or underflow: results near 0, +-pi/2 and +-pi,
// subnormals included); half have exponents within 30 of each other, where
// the angle takes every value; a quarter have y within 2^-23..1 of x in
// relative terms (angles near +-pi/4 and +-3pi/4).
pair draw_atan2(std::uint64_t random) {
    const auto low = static_cast<std::uint32_t>(random);
    const auto high = static_cast<std::uint32_t>(random >> 32);
    const std::uint32_t signs = (high >> 30) << 30;  // y's sign, then x's
    const std::uint32_t x = low & 0x7fffffffu;
    switch (low >> 31 | (high >> 29 & 1u) << 1) {
        case 0:
            return {bits_float(high), bits_float(low)};
        case 1:
        case 2: {
            const auto e = static_cast<int>(x >> 23) + static_cast<int>(high % 61) - 30;
            const std::uint32_t ey = e < 0 ? 0 : (e > 254 ? 254 : static_cast<std::uint32_t>(e));
            const std::uint32_t y = ey << 23 | (high * 0x9e3779b9u & 0x7fffffu);
            return {bits_float(y | (signs & 0x80000000u)), bits_float(x | (signs << 1))};
        }
        default: {
            const std::uint32_t reach = std::uint32_t{1} << (high % 24);
            const std::uint32_t y = x + (high * 0x9e3779b9u) % (2 * reach + 1) - reach;
            return {bits_float((y & 0x7fffffffu) | (signs & 0x80000000u)), bits_float(x | (signs << 1))};
        }
    }
}

// atan(y, x)'s own edges, each with the four sign pairs: y = x at every
// exponent (pi/4 rounded, from subnormals to the largest float); quotients
// that are exactly a midpoint between two subnormals (m 2^-150, m odd),
// whose angle lies just below it; quotients about 2^-150 and 2^-126 (the
// smallest subnormal and normal results); and quotients on and beside the
// table's points and half-points from 2^-8 to 2^8.
void edge_atan2(std::vector<pair>& out) {
    std::vector<pair> base;
    for (std::uint32_t e = 0; e < 255; ++e) {
        for (const std::uint32_t m : {0x1u, 0x400000u, 0x7fffffu}) {
            const float x = bits_float(e << 23 | m);
            base.push_back({x, x});
        }
    }
    for (int j = 1; j <= 127; ++j) {
        const float two_j = std::ldexp(1.0f, j);
        for (const std::uint32_t m : {1u, 3u, 5u, 7u, 0x7ffu, 0x800001u, 0xfffffdu, 0xffffffu}) {
            base.push_back({std::ldexp(static_cast<float>(m), j - 150), two_j});
            if (3 * m < 0x1000000u) {
                base.push_back({std::ldexp(static_cast<float>(3 * m), j - 150), 3 * two_j});
            }
        }
    }
    for (const float x : {1.0f, 2.0f, 0x1.8p0f, 0x1.fffffep+0f, 0x1p100f, 0x1.000002p-20f}) {
        for (const double q : {0x1p-150, 0x1p-126}) {
            const float y = narrow(q * x);
            base.push_back({y, x});
            base.push_back({std::nextafter(y, 0.0f), x});
            base.push_back({std::nextafter(y, 1.0f), x});
        }
    }
    for (int e = -8; e <= 7; ++e) {
        for (int j = 0; j < 64; ++j) {
            const double c = std::ldexp(1.0 + j / 64.0, e);
            for (const float x : {1.0f, 0x1.8p0f, 0x1.fffffep+0f, 0x1p-140f, 0x1p100f}) {
                const float y = narrow(c * x);
                base.push_back({y, x});
                base.push_back({std::nextafter(y, 0.0f), x});
                base.push_back({std::nextafter(y, INFINITY), x});
            }
        }
    }
    for (const pair p : base) {
        for (const float sy : {1.0f, -1.0f}) {
            for (const float sx : {1.0f, -1.0f}) {
                out.push_back({std::copysign(p.a, sy), std::copysign(p.b, sx)});
            }
        }
    }
}

const std::vector<pair_function>& pair_functions() {
    static const std::vector<pair_function> table = {
        PAIR_ORACLE(
            pow, [](double a, double b) { return std::pow(a, b); }, mpfr_pow, pow_draw, pow_edge),
        PAIR_ORACLE(
            atan, [](double y, double x) { return std::atan2(y, x); }, mpfr_atan2, draw_atan2, edge_atan2),
    };
    return table;
}

#if ORMATH_CHECK_MPFR
// The correctly rounded float of f(a, b), and its distance from a midpoint.
float settle_pair(const pair_function& f, float a, float b, double* distance) {
    mpfr_set_emin(-148);
    mpfr_set_emax(128);
    mpfr_t ma, mb, y, wide;
    mpfr_inits2(24, ma, mb, y, static_cast<mpfr_ptr>(nullptr));
    mpfr_init2(wide, 200);
    mpfr_set_flt(ma, a, MPFR_RNDN);
    mpfr_set_flt(mb, b, MPFR_RNDN);
    const int t = f.exact(y, ma, mb, MPFR_RNDN);
    mpfr_subnormalize(y, t, MPFR_RNDN);
    const float r = mpfr_get_flt(y, MPFR_RNDN);
    if (distance != nullptr) {
        mpfr_set_emin(mpfr_get_emin_min());
        mpfr_set_emax(mpfr_get_emax_max());
        f.exact(wide, ma, mb, MPFR_RNDN);
        *distance = mpfr_number_p(wide) != 0 ? midpoint_distance(wide, r) : 0.5;
    }
    mpfr_clears(ma, mb, y, wide, static_cast<mpfr_ptr>(nullptr));
    return r;
}
#endif

struct pair_counts {
    std::uint64_t checked = 0, settled = 0, midpoints = 0, misrounded = 0;
};

struct hard_pair {
    double distance;
    std::uint32_t a, b, y;
};

// Checks one function at one pair against the oracle's double d.
void check_pair(const pair_function& f, pair p, double d, pair_counts& c, std::vector<hard_pair>& hard) {
    const float y = f.ours(p.a, p.b);
    ++c.checked;
    float expected;
    if (std::isnan(d)) {
        expected = NAN;
    } else if (std::fabs(d) < 0x1p-1000 || std::isinf(d)) {
        expected = narrow(d);  // as in check_one
    } else {
        const float lo = narrow(step_ulps(d, -4)), hi = narrow(step_ulps(d, 4));
        if (float_bits(lo) == float_bits(hi)) {
            expected = lo;
        } else {
            ++c.settled;
#if ORMATH_CHECK_MPFR
            double distance = 0;
            expected = settle_pair(f, p.a, p.b, &distance);
            if (distance == 0) {
                ++c.midpoints;  // the exact value is a midpoint: MPFR rounds it to even
            } else {
                hard.push_back({distance, float_bits(p.a), float_bits(p.b), float_bits(expected)});
            }
#else
            (void)hard;
            std::lock_guard<std::mutex> lock(out_mutex);
            std::printf("settle %s %08" PRIx32 " %08" PRIx32 " %08" PRIx32 "\n", f.name, float_bits(p.a),
                        float_bits(p.b), float_bits(y));
            return;
#endif
        }
    }
    // A NaN is expected as a NaN, of any sign and payload.
    if (std::isnan(expected) ? !std::isnan(y) : float_bits(expected) != float_bits(y)) {
        ++c.misrounded;
        std::lock_guard<std::mutex> lock(out_mutex);
        std::fprintf(stderr, "MISROUNDED %s(%a, %a) [%08" PRIx32 " %08" PRIx32 "] = %a, expected %a\n",
                     f.name, p.a, p.b, float_bits(p.a), float_bits(p.b), y, expected);
    }
}

std::uint64_t mix64(std::uint64_t z) {
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9u;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebu;
    return z ^ (z >> 31);
}

// The i-th random pair of the seed: the first draw whose result is a finite
// non-zero float. The same for every thread count.
pair random_pair(const pair_function& f, std::uint64_t seed, std::uint64_t i) {
    std::uint64_t state = mix64(seed * 0x9e3779b97f4a7c15u + i);
    for (;;) {
        state = mix64(state + 0x9e3779b97f4a7c15u);
        const pair p = f.draw != nullptr ? f.draw(state)
                                         : pair{bits_float(static_cast<std::uint32_t>(state)),
                                                bits_float(static_cast<std::uint32_t>(state >> 32))};
        const float r = narrow(f.oracle(p.a, p.b));
        if (std::isfinite(r) && r != 0.0f) {
            return p;
        }
    }
}

// Every pair of these values: zeros, the smallest and largest subnormals and
// normals, the neighbours of 1, small integers and halves, infinities, NaN;
// each with both signs.
std::vector<pair> edge_pairs(const pair_function& f) {
    const float magnitudes[] = {0.0f,
                                0x1p-149f,
                                0x1.fffffcp-127f,
                                0x1p-126f,
                                0x1p-24f,
                                0.5f,
                                0x1.fffffep-1f,
                                1.0f,
                                0x1.000002p+0f,
                                1.5f,
                                2.0f,
                                3.0f,
                                0x1p24f,
                                0x1.fffffep+127f,
                                INFINITY,
                                NAN};
    std::vector<float> values;
    for (const float m : magnitudes) {
        values.push_back(m);
        values.push_back(-m);
    }
    std::vector<pair> out;
    for (const float a : values) {
        for (const float b : values) {
            out.push_back({a, b});
        }
    }
    if (f.edge != nullptr) {
        f.edge(out);
    }
    return out;
}

// One two-argument function on N random pairs (edge false) or on its edge
// set, in chunks shared by the threads.
int run_pairs(const pair_function& f, bool edge, std::uint64_t n, std::uint64_t seed, unsigned threads) {
    const auto start = std::chrono::steady_clock::now();
    const std::vector<pair> edges = edge ? edge_pairs(f) : std::vector<pair>{};
    const std::uint64_t total = edge ? edges.size() : n;
    std::vector<pair_counts> c(threads);
    std::vector<std::vector<hard_pair>> hard(threads);
    std::atomic<std::uint64_t> next{0};
    const std::uint64_t chunk = edge ? 256 : 1 << 16;
    auto work = [&](unsigned t) {
        for (;;) {
            const std::uint64_t begin = next.fetch_add(chunk);
            if (begin >= total) {
                break;
            }
            const std::uint64_t end = begin + chunk < total ? begin + chunk : total;
            for (std::uint64_t i = begin; i < end; ++i) {
                const pair p = edge ? edges[i] : random_pair(f, seed, i);
                check_pair(f, p, f.oracle(p.a, p.b), c[t], hard[t]);
            }
        }
    };
    std::vector<std::thread> pool;
    for (unsigned t = 1; t < threads; ++t) {
        pool.emplace_back(work, t);
    }
    work(0);
    for (auto& th : pool) {
        th.join();
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    pair_counts sum;
    std::vector<hard_pair> hardest;
    for (unsigned t = 0; t < threads; ++t) {
        sum.checked += c[t].checked;
        sum.settled += c[t].settled;
        sum.midpoints += c[t].midpoints;
        sum.misrounded += c[t].misrounded;
        hardest.insert(hardest.end(), hard[t].begin(), hard[t].end());
    }
    std::printf("%s: %" PRIu64 " %s, %" PRIu64 " settled by MPFR (%" PRIu64 " exact midpoints), %" PRIu64
                " misrounded, %.1f s\n",
                f.name, sum.checked, edge ? "edge pairs" : "pairs", sum.settled, sum.midpoints,
                sum.misrounded, seconds);
#if ORMATH_CHECK_MPFR
    // The pairs whose exact value lies closest to a midpoint without being
    // one: the unit tests' hard cases.
    std::sort(hardest.begin(), hardest.end(),
              [](const hard_pair& x, const hard_pair& y) { return x.distance < y.distance; });
    for (std::size_t i = 0; i < hardest.size() && i < 4; ++i) {
        std::printf("  hard %s(%a, %a) = %a, %.3g ulp from a midpoint\n", f.name, bits_float(hardest[i].a),
                    bits_float(hardest[i].b), bits_float(hardest[i].y), hardest[i].distance);
    }
#endif
    std::fflush(stdout);
    return sum.misrounded == 0 ? 0 : 1;
}

const pair_function* find_pair(const char* name) {
    for (const pair_function& f : pair_functions()) {
        if (std::strcmp(f.name, name) == 0) {
            return &f;
        }
    }
    return nullptr;
}

const function* find(const char* name) {
    for (const function& f : functions) {
        if (std::strcmp(f.name, name) == 0) {
            return &f;
        }
    }
    return nullptr;
}

int usage() {
    std::fprintf(stderr,
                 "usage: elementary_check [--threads N] [--all | --sample N] [--pairs N [--seed S]]\n"
                 "                        [--pairs-edge] [FUNCTION...]\n"
                 "       elementary_check --settle < lines\n");
    return 2;
}

#if ORMATH_CHECK_MPFR
// Reads "settle NAME XBITS YBITS" and "settle NAME ABITS BBITS YBITS" lines
// (hexadecimal) and checks each result against MPFR.
int settle_lines() {
    std::uint64_t lines = 0, wrong = 0;
    char line[160];
    while (std::fgets(line, sizeof line, stdin) != nullptr) {
        if (std::strncmp(line, "settle ", 7) != 0) {
            continue;
        }
        char* name = line + 7;
        char* space = std::strchr(name, ' ');
        if (space == nullptr) {
            return usage();
        }
        *space = '\0';
        std::uint32_t v[3] = {0, 0, 0};
        int count = 0;
        for (char* p = space + 1; count < 3; ++count) {
            char* end = nullptr;
            v[count] = static_cast<std::uint32_t>(std::strtoul(p, &end, 16));
            if (end == p) {
                break;
            }
            p = end;
        }
        float expected = 0;
        char buf[256];
        if (count == 2 && find(name) != nullptr) {
            expected = settle(*find(name), bits_float(v[0]), nullptr);
            std::snprintf(buf, sizeof buf, "%s(%a) [%08" PRIx32 "]", name, bits_float(v[0]), v[0]);
        } else if (count == 3 && find_pair(name) != nullptr) {
            expected = settle_pair(*find_pair(name), bits_float(v[0]), bits_float(v[1]), nullptr);
            std::snprintf(buf, sizeof buf, "%s(%a, %a) [%08" PRIx32 " %08" PRIx32 "]", name, bits_float(v[0]),
                          bits_float(v[1]), v[0], v[1]);
        } else {
            return usage();
        }
        ++lines;
        const std::uint32_t yb = v[count - 1];
        if (std::isnan(expected) ? !std::isnan(bits_float(yb)) : float_bits(expected) != yb) {
            ++wrong;
            std::fprintf(stderr, "MISROUNDED %s = %a, expected %a\n", buf, bits_float(yb), expected);
        }
    }
    std::printf("settled by MPFR: %" PRIu64 " inputs, %" PRIu64 " misrounded\n", lines, wrong);
    return wrong == 0 ? 0 : 1;
}
#endif

}  // namespace

int main(int argc, char** argv) {
    bool all = false, pairs_edge = false;
    std::uint64_t n = 0, pairs = 0, seed = 1;
    unsigned threads = 1;
    std::vector<std::string> names;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--all") {
            all = true;
        } else if (a == "--sample" && i + 1 < argc) {
            n = std::strtoull(argv[++i], nullptr, 10);
        } else if (a == "--pairs" && i + 1 < argc) {
            pairs = std::strtoull(argv[++i], nullptr, 10);
        } else if (a == "--seed" && i + 1 < argc) {
            seed = std::strtoull(argv[++i], nullptr, 10);
        } else if (a == "--pairs-edge") {
            pairs_edge = true;
        } else if (a == "--threads" && i + 1 < argc) {
            threads = static_cast<unsigned>(std::strtoul(argv[++i], nullptr, 10));
        } else if (a == "--settle") {
#if ORMATH_CHECK_MPFR
            return settle_lines();
#else
            std::fprintf(stderr, "elementary_check: --settle needs the build with MPFR\n");
            return 2;
#endif
        } else if (find(a.c_str()) != nullptr || find_pair(a.c_str()) != nullptr) {
            names.push_back(a);
        } else {
            return usage();
        }
    }
    const bool single = all || n != 0;
    if ((!single && pairs == 0 && !pairs_edge) || threads == 0) {
        return usage();
    }
    std::vector<const function*> chosen;
    std::vector<const pair_function*> chosen_pairs;
    for (const std::string& name : names) {
        if (const function* f = find(name.c_str())) {
            chosen.push_back(f);
        }
        if (const pair_function* f = find_pair(name.c_str())) {
            chosen_pairs.push_back(f);
        }
    }
    if (names.empty()) {
        for (const function& f : functions) {
            chosen.push_back(&f);
        }
        for (const pair_function& f : pair_functions()) {
            chosen_pairs.push_back(&f);
        }
    }
    int status = 0;
    if (single && !chosen.empty()) {
        status |= run(chosen, all, n, threads);
    }
    for (const pair_function* f : chosen_pairs) {
        if (pairs != 0) {
            status |= run_pairs(*f, false, pairs, seed, threads);
        }
        if (pairs_edge) {
            status |= run_pairs(*f, true, 0, seed, threads);
        }
    }
    if ((pairs != 0 || pairs_edge) && chosen_pairs.empty()) {
        std::printf("no two-argument function to check\n");
    }
    return status;
}
