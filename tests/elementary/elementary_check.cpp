// The proof of correct rounding of Ormath's one-argument elementary
// functions: each result beside an independent oracle, on all 2^32 floats
// (--all) or on a fixed sample (--sample N).
//
// The oracle is the C library's double function (never its float one; sin
// and cos from one sincos call): its
// result d, within a few double ulps of the exact value, decides the float
// whenever d - 4 ulp and d + 4 ulp round to the same float. Otherwise the
// exact value may lie on either side of a midpoint between two floats, and
// MPFR settles it: the function at 24 bits with mpfr_subnormalize, which is
// the correctly rounded float, subnormals included. A build without MPFR
// (the i686 one) prints such inputs instead as "settle NAME XBITS YBITS"
// lines, which --settle of a build with MPFR reads and checks.
//
//   elementary_check [--threads N] (--all | --sample N) FUNCTION...
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
    int slot;  // which oracle value: 0 sin, 1 cos (both from sincos), 2 tan, 3 asin, 4 acos, 5 atan
#if ORMATH_CHECK_MPFR
    int (*exact)(mpfr_ptr, mpfr_srcptr, mpfr_rnd_t);
#endif
};

#if ORMATH_CHECK_MPFR
// clang-format off
#define ORACLE(name, slot) {#name, [](float x) { return ormath::name(x); }, slot, mpfr_##name}
// clang-format on
#else
// clang-format off
#define ORACLE(name, slot) {#name, [](float x) { return ormath::name(x); }, slot}
// clang-format on
#endif

const function functions[] = {
    ORACLE(sin, 0),
    ORACLE(cos, 1),
    ORACLE(tan, 2),
    ORACLE(asin, 3),
    ORACLE(acos, 4),
    ORACLE(atan, 5),
};

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
        // ulp of r at float precision, subnormals included.
        const float up = std::nextafter(std::fabs(r), INFINITY);
        const double ulp = static_cast<double>(up) - std::fabs(static_cast<double>(r));
        mpfr_t diff;
        mpfr_init2(diff, 200);
        mpfr_sub_d(diff, wide, static_cast<double>(r), MPFR_RNDN);
        mpfr_abs(diff, diff, MPFR_RNDN);
        const double off = mpfr_get_d(diff, MPFR_RNDN) / ulp;  // in [0, 0.5]
        *distance = 0.5 - off;
        mpfr_clear(diff);
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
    if (std::isnan(d)) {
        if (!std::isnan(y)) {
            ++c.misrounded;
            std::lock_guard<std::mutex> lock(out_mutex);
            std::fprintf(stderr, "MISROUNDED %s(%a) [%08" PRIx32 "] = %a, expected NaN\n", f.name, x, u, y);
        }
        return;
    }
    float expected;
    if (d == 0.0 || std::isinf(d)) {
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
    bool need_sincos = false, need[6] = {};
    for (const function* f : chosen) {
        need_sincos |= f->slot < 2;
        need[f->slot] = true;
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
                double v[6] = {0, 0, 0, 0, 0, 0};
                if (need_sincos) {
                    ::sincos(xd, &v[0], &v[1]);
                }
                v[2] = need[2] ? std::tan(xd) : 0.0;
                v[3] = need[3] ? std::asin(xd) : 0.0;
                v[4] = need[4] ? std::acos(xd) : 0.0;
                v[5] = need[5] ? std::atan(xd) : 0.0;
                for (std::size_t k = 0; k < nf; ++k) {
                    check_one(*chosen[k], u, v[chosen[k]->slot], c[t][k], hard[t][k]);
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
        // The positive inputs whose exact value lies closest to a midpoint (a
        // distance in ulps of the result): the unit tests' hard cases.
        std::sort(hardest.begin(), hardest.end(),
                  [](const hard_case& a, const hard_case& b) { return a.distance < b.distance; });
        int shown = 0;
        for (std::size_t i = 0; i < hardest.size() && shown < 4; ++i) {
            if ((hardest[i].x >> 31) != 0) {
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
                 "usage: elementary_check [--threads N] (--all | --sample N) FUNCTION...\n"
                 "       elementary_check --settle < lines\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    bool all = false;
    std::uint64_t n = 0;
    unsigned threads = 1;
    std::vector<const function*> chosen;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--all") {
            all = true;
        } else if (a == "--sample" && i + 1 < argc) {
            n = std::strtoull(argv[++i], nullptr, 10);
        } else if (a == "--threads" && i + 1 < argc) {
            threads = static_cast<unsigned>(std::strtoul(argv[++i], nullptr, 10));
        } else if (a == "--settle") {
#if ORMATH_CHECK_MPFR
            // Lines "settle NAME XBITS YBITS", in hexadecimal.
            std::uint64_t lines = 0, wrong = 0;
            char line[128];
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
                const function* f = find(name);
                if (f == nullptr) {
                    return usage();
                }
                char* end = nullptr;
                const auto xb = static_cast<std::uint32_t>(std::strtoul(space + 1, &end, 16));
                const auto yb = static_cast<std::uint32_t>(std::strtoul(end, nullptr, 16));
                ++lines;
                const float expected = settle(*f, bits_float(xb), nullptr);
                if (float_bits(expected) != yb) {
                    ++wrong;
                    std::fprintf(stderr, "MISROUNDED %s(%a) [%08" PRIx32 "] = %a, expected %a\n", name,
                                 bits_float(xb), xb, bits_float(yb), expected);
                }
            }
            std::printf("settled by MPFR: %" PRIu64 " inputs, %" PRIu64 " misrounded\n", lines, wrong);
            return wrong == 0 ? 0 : 1;
#else
            std::fprintf(stderr, "elementary_check: --settle needs the build with MPFR\n");
            return 2;
#endif
        } else if (const function* f = find(a.c_str())) {
            chosen.push_back(f);
        } else {
            return usage();
        }
    }
    if ((!all && n == 0) || threads == 0) {
        return usage();
    }
    if (chosen.empty()) {
        for (const function& f : functions) {
            chosen.push_back(&f);
        }
    }
    return run(chosen, all, n, threads);
}
