// A program's own float arithmetic beside Ormath's calls. Built through
// ormath::strict or pkg-config's ormath-strict, its own a * b - c is not
// fused into one multiply-add either, whatever else the build asks for.
#include <ormath/ormath.hpp>

#include <cstdio>

int main() {
    // a * b is 1 + 2^-22 + 2^-46, which rounds to c: the written order gives
    // 0, a fused multiply-add 2^-46. Ormath's own dot product of the same
    // numbers keeps its written order in any build.
    volatile float a_in = 0x1.000002p+0f, b_in = 0x1.000002p+0f, c_in = 0x1.000004p+0f;
    const float a = a_in, b = b_in, c = c_in;
    const float own = a * b - c;
    const float ormaths = ormath::dot(ormath::vec2(a_in, -c_in), ormath::vec2(b_in, 1.0f));
    std::printf("strict: the program's own a * b - c is %a, Ormath's dot((a, -c), (b, 1)) is %a\n", own,
                ormaths);
    return own == 0.0f && ormaths == 0.0f ? 0 : 1;
}
