// Uses the product and mix once each, as the demos do. Built by the install
// test at -O3 -march=native -ffp-contract=fast against an installed Ormath:
// the results must keep their bits, and neither function may be emitted out
// of line (the rounding barriers must not stop inlining). A program that
// multiplies matrices at several places may get one shared copy of the
// product from gcc's inliner; that is its choice and costs no bits.
#include <ormath/ormath.hpp>

#include "exact_cases.hpp"

#include <cstdio>
#include <cstring>

int main() {
    ormath::mat4 a, b;
    std::memcpy(a.data(), exact_cases::product_a, sizeof a);
    std::memcpy(b.data(), exact_cases::product_b, sizeof b);
    const ormath::mat4 ab = a * b;
    int wrong = 0;
    if (std::memcmp(ab.data(), exact_cases::product_ab, sizeof ab) != 0) {
        std::fprintf(stderr, "inlined: the matrix product lost its bits\n");
        ++wrong;
    }
    for (const auto& c : exact_cases::mixes) {
        const ormath::vec3 blended =
            ormath::mix(ormath::vec3(c.x[0], c.x[1], c.x[2]), ormath::vec3(c.y[0], c.y[1], c.y[2]), c.a);
        if (std::memcmp(blended.data(), c.expected, sizeof c.expected) != 0) {
            std::fprintf(stderr, "inlined: mix lost its bits\n");
            ++wrong;
        }
    }
    std::printf("inlined: %s\n", wrong == 0 ? "bit-exact" : "WRONG");
    return wrong == 0 ? 0 : 1;
}
