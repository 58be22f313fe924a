// Products and blends whose results change in the last bits when a
// multiply-add is fused, with the results of the written evaluation order
// (each product rounded, sums left to right). Shared by the library's own
// tests and by the outside consumer built against an installed copy.
#pragma once

namespace exact_cases {

// 14 of the 16 entries of a * b differ when the sums are fused.
constexpr float product_a[16] = {-0x1.955c5ap+2f, 0x1.467f7p+2f,   0x1.115ddp+2f,   0x1.68349p+1f,
                                 0x1.1e411p+1f,   -0x1.c9a442p+2f, -0x1.8db1b4p+2f, 0x1.b41684p+2f,
                                 -0x1.1cafc4p+1f, -0x1.91a688p+2f, 0x1.b721fp+0f,   -0x1.c76c3cp+2f,
                                 -0x1.36c52cp+1f, 0x1.57d57p+2f,   0x1.b0a1p-4f,    0x1.ab9a4p+2f};
constexpr float product_b[16] = {-0x1.49568p+2f,  -0x1.1c94bcp+2f, 0x1.ee748p+0f,   0x1.49028p+0f,
                                 -0x1.9631fp-1f,  -0x1.429d3ep+2f, 0x1.61cdp-3f,    0x1.f946e4p+2f,
                                 -0x1.ba55b4p+1f, -0x1.f126ap-1f,  0x1.bae16cp+2f,  0x1.80c494p+2f,
                                 0x1.0cb7c8p+1f,  0x1.89cbp+0f,    -0x1.87d324p+1f, 0x1.2815a8p+1f};
constexpr float product_ab[16] = {0x1.e77204p+3f,  0x1.4ee94p-2f,  0x1.2331f8p+3f,  -0x1.8f7f14p+5f,
                                  -0x1.9ccf3p+4f,  0x1.25509ep+6f, 0x1.d10b26p+4f,  0x1.de0b4p+3f,
                                  -0x1.48ac52p+3f, -0x1.5d0e1p+4f, 0x1.e3a24ep+1f,  -0x1.96a73p+4f,
                                  -0x1.1543f8p+3f, 0x1.f59424p+4f, -0x1.6648c8p+2f, 0x1.ad045ep+5f};

struct mix_case {
    float x[3], y[3], a, expected[3];
};
// Every component differs when either product is fused with the sum.
constexpr mix_case mixes[] = {
    {{-0x1.51cdfp-1f, -0x1.d351p-2f, -0x1.f04154p+1f},
     {0x1.5139p+1f, -0x1.40b11p-1f, -0x1.842208p+1f},
     -0x1.800618p-2f,
     {-0x1.e52d58p+0f, -0x1.92098cp-2f, -0x1.0c66dcp+2f}},
    {{0x1.f1e514p+2f, 0x1.93e8b8p+2f, 0x1.ace14p+2f},
     {-0x1.732d88p+1f, 0x1.83a668p+2f, 0x1.479e28p+2f},
     0x1.86d4fcp-1f,
     {-0x1.7d693p-2f, 0x1.877f7p+2f, 0x1.5f9504p+2f}},
    {{0x1.066ba8p+1f, -0x1.78faap-1f, 0x1.f201d4p+2f},
     {0x1.b276cp+2f, -0x1.ae938cp+1f, -0x1.b0a5bcp+2f},
     0x1.4f4948p-3f,
     {0x1.69b6d8p+1f, -0x1.2a9d28p+0f, 0x1.59a56p+2f}},
    {{-0x1.7368cp+0f, -0x1.89adf8p+2f, -0x1.c89c62p+2f},
     {0x1.f66e7p+0f, 0x1.4504e8p+2f, 0x1.8283acp+2f},
     0x1.ef22p-2f,
     {0x1.98f048p-3f, -0x1.715918p-1f, -0x1.877d2p-1f}},
};

}  // namespace exact_cases
