// Uses the product and mix once each, as the demos do. Built by the install
// test at -O3 -march=native -ffp-contract=fast against an installed Ormath:
// the results must keep their bits, and neither function may be emitted out
// of line (the rounding barriers must not stop inlining). A program that
// multiplies matrices at several places may get one shared copy of the
// product from gcc's inliner; that is its choice and costs no bits.
#include <ormath/ormath.hpp>

#include "functions.hpp"

#include <cstdio>
#include <cstring>

int main() {
    const functions::row& product = functions::find("product4");
    const functions::row& blend = functions::find("mix3");
    using functions::m4;
    using functions::v3;
    const ormath::mat4 ab = m4(product.in) * m4(product.in + 16);
    const ormath::vec3 blended = ormath::mix(v3(blend.in), v3(blend.in + 3), blend.in[6]);
    int wrong = 0;
    if (std::memcmp(ab.data(), product.expected, sizeof ab) != 0) {
        std::fprintf(stderr, "inlined: the matrix product lost its bits\n");
        ++wrong;
    }
    if (std::memcmp(blended.data(), blend.expected, sizeof blended) != 0) {
        std::fprintf(stderr, "inlined: mix lost its bits\n");
        ++wrong;
    }
    std::printf("inlined: %s\n", wrong == 0 ? "bit-exact" : "WRONG");
    return wrong == 0 ? 0 : 1;
}
