// A program whose own arithmetic sits next to Ormath's calls: a * b - c on
// Ormath's results, which a compiler fuses into one multiply-add at -O3 on a
// processor with FMA unless the program is built through ormath::strict or
// ormath-strict. Built both ways, it must print the same bits.
#include <ormath/ormath.hpp>

#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

float opaque(float f) {
    volatile float v = f;
    return v;
}

}  // namespace

int main() {
    for (int i = 1; i <= 64; ++i) {
        const float a = ormath::sin(opaque(0.1f * static_cast<float>(i)));
        const float b = ormath::cos(opaque(0.37f * static_cast<float>(i)));
        const float c = ormath::length(ormath::vec3(a, b, opaque(0.5f)));
        const float own = a * b - c * opaque(0.3f);  // the program's own expression
        std::uint32_t u;
        std::memcpy(&u, &own, sizeof u);
        std::printf("%08x\n", static_cast<unsigned>(u));
    }
    return 0;
}
