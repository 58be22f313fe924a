// GLSL's exponential functions, correctly rounded: exp, exp2, log, log2,
// pow, sqrt and inversesqrt, for float and, component by component, for
// vec2, vec3 and vec4 (pow on two vectors of the same size).
//
// Each result is the float nearest the exact mathematical value, ties to
// even; no C library function is called but std::sqrt, which IEEE 754 makes
// correctly rounded (sqrt is std::sqrt itself). As in trigonometric.hpp, the
// functions work in double behind detail::rounded_double(), so that no
// multiply-add is fused and no wider precision is kept, x87 included, and the
// few arguments whose double result lies too close to a midpoint between two
// floats are evaluated again in double-double.
//
// How they evaluate:
//   exp, exp2 and pow end in 2^(k/64) e^u: 2^(j/64) (j = k mod 64) from a
//     table, e^u by a polynomial on |u| <= ln2/128. exp reduces x by
//     k ln2/64, exp2 by k/64, exactly.
//   log, log2 and pow start from x = 2^e m, with r = m c - 1 exact for c a
//     9-bit reciprocal of m's nearest multiple of 1/128 (a table of 129, with
//     log c beside it), and log(1 + r) by a polynomial on |r| < 0.0048.
//   pow(x, y) is e^(y log|x|), with log|x| to about 2^-52 and y log|x| kept
//     as a double-double, so that a product up to about 100 in size is still
//     good to 2^-45. Its exact results: where |x|^y is a float or a midpoint
//     between two floats (x a power of two, y a small integer, pow(x, 0.5)
//     of a perfect square, ...), no rounding test could tell the two sides
//     of the midpoint apart, so an argument that fails the fast test is
//     first tried for an exact result in integer arithmetic, which
//     conversion to float then rounds to even.
//   inversesqrt(x) is 1/sqrt(x) rounded once: 1/std::sqrt(double(x)), and
//     where that lies too close to a midpoint m, the sign of m^2 x - 1,
//     computed exactly, picks the side (1/sqrt(x) is never a midpoint).
//   The fast paths' results are good to 2^-45 (pow's in the worst case) and
//   are taken where they lie 2^-43 clear of every midpoint; the others, about
//   one in 2^18, are evaluated again in double-double (exp's reduction then
//   with ln2/64 in three parts, the first of whose products by k are exact,
//   after Cody and Waite).
// scripts/check-elementary.sh proves exp, exp2, log, log2 and inversesqrt on
// all 2^32 inputs and checks pow on 10^9 pairs and an edge set of over- and
// underflows, special values and exact results; docs/elementary.md records
// its last run. pow's accurate path is good to about 2^-94 of the result; a
// pair whose exact value is not a midpoint but lies closer than that to one
// would need more, and none is known.
//
// Special values, as C's Annex F defines them for expf, exp2f, logf, log2f,
// powf and sqrtf (and for inversesqrt as for 1/sqrt rounded once):
//   exp(+-0) = exp2(+-0) = 1; exp(-inf) = exp2(-inf) = +0,
//   exp(+inf) = exp2(+inf) = +inf; a finite x whose result is beyond the
//   largest float gives +inf (overflow), one below the smallest subnormal
//   gives +0 or the correctly rounded subnormal (underflow);
//   log(+-0) = log2(+-0) = -inf (divide-by-zero); log(1) = log2(1) = +0;
//   log(x) and log2(x) of x < 0 are NaN (invalid); log(+inf) = +inf;
//   sqrt(+-0) = +-0, sqrt(x < 0) is NaN, sqrt(+inf) = +inf;
//   inversesqrt(+0) = +inf, inversesqrt(-0) = -inf (divide-by-zero),
//   inversesqrt(x < 0) is NaN, inversesqrt(+inf) = +0;
//   pow(x, +-0) = 1 for every x, NaN included; pow(+1, y) = 1 for every y,
//   NaN included; pow(-1, +-inf) = 1;
//   pow(+-0, y) = +-inf for an odd integer y < 0, +inf for any other y < 0
//   (divide-by-zero), +-0 for an odd integer y > 0, +0 for any other y > 0;
//   pow(x, -inf) = +inf for |x| < 1, +0 for |x| > 1; pow(x, +inf) = +0 for
//   |x| < 1, +inf for |x| > 1;
//   pow(-inf, y) = -0 for an odd integer y < 0, +0 for any other y < 0, -inf
//   for an odd integer y > 0, +inf for any other y > 0; pow(+inf, y) = +0
//   for y < 0, +inf for y > 0;
//   pow(x, y) of a finite x < 0: -(|x|^y) for an odd integer y, |x|^y for
//   an even one, NaN (invalid) for a finite y that is not an integer. GLSL
//   leaves pow(x, y) undefined for x < 0 and for x = 0 with y <= 0; Ormath
//   defines it so, as Annex F does;
//   any other NaN argument gives a NaN (its sign and payload are not part of
//   the contract).
// The exceptions named are raised at run time.
//
// Each function is constexpr where the compiler has __builtin_bit_cast (gcc
// 11 and later, clang 14 and later); the constant-evaluated result is the
// run-time one (sqrt and inversesqrt then take no std::sqrt, but integer
// square roots and Newton's iteration, and round the same).
//
// SPDX-License-Identifier: MIT
#pragma once

#include <ormath/guard.hpp>

#include <ormath/elementary/trigonometric.hpp>  // the toolkit of detail::elem
#include <ormath/rounding.hpp>
#include <ormath/vectors.hpp>

#include <cmath>
#include <cstdint>
#include <limits>

namespace ormath {

namespace detail::elem::exponential {

// BEGIN GENERATED by ormath/tools/derive_exponential.py
// e^u ~ 1 + u + u^2 * E(u): relative error < 2^-47.48 on |u| <= 0.005416.
inline constexpr double exp_poly[] = {0x1.0000000006d9ep-1, 0x1.555571d8d568dp-3, 0x1.555521015b28fp-5};
// log1p(r) ~ r + r^2 * Q(r): relative error < 2^-53.72 on |r| <= 0.0048
// (|r| <= 0.00476074 for every float).
inline constexpr double log1p_poly[] = {-0x1.0000000000001p-1, 0x1.55555554c5a73p-2, -0x1.fffffffe4c087p-3,
                                        0x1.999c00b09c954p-3, -0x1.5557d517554b5p-3};
// 2^(j/64) = exp2_table_hi[j] + exp2_table_lo[j], j = 0..63, to 2^-106.
inline constexpr double exp2_table_hi[] = {
    0x1.0000000000000p+0, 0x1.02c9a3e778061p+0, 0x1.059b0d3158574p+0, 0x1.0874518759bc8p+0,
    0x1.0b5586cf9890fp+0, 0x1.0e3ec32d3d1a2p+0, 0x1.11301d0125b51p+0, 0x1.1429aaea92de0p+0,
    0x1.172b83c7d517bp+0, 0x1.1a35beb6fcb75p+0, 0x1.1d4873168b9aap+0, 0x1.2063b88628cd6p+0,
    0x1.2387a6e756238p+0, 0x1.26b4565e27cddp+0, 0x1.29e9df51fdee1p+0, 0x1.2d285a6e4030bp+0,
    0x1.306fe0a31b715p+0, 0x1.33c08b26416ffp+0, 0x1.371a7373aa9cbp+0, 0x1.3a7db34e59ff7p+0,
    0x1.3dea64c123422p+0, 0x1.4160a21f72e2ap+0, 0x1.44e086061892dp+0, 0x1.486a2b5c13cd0p+0,
    0x1.4bfdad5362a27p+0, 0x1.4f9b2769d2ca7p+0, 0x1.5342b569d4f82p+0, 0x1.56f4736b527dap+0,
    0x1.5ab07dd485429p+0, 0x1.5e76f15ad2148p+0, 0x1.6247eb03a5585p+0, 0x1.6623882552225p+0,
    0x1.6a09e667f3bcdp+0, 0x1.6dfb23c651a2fp+0, 0x1.71f75e8ec5f74p+0, 0x1.75feb564267c9p+0,
    0x1.7a11473eb0187p+0, 0x1.7e2f336cf4e62p+0, 0x1.82589994cce13p+0, 0x1.868d99b4492edp+0,
    0x1.8ace5422aa0dbp+0, 0x1.8f1ae99157736p+0, 0x1.93737b0cdc5e5p+0, 0x1.97d829fde4e50p+0,
    0x1.9c49182a3f090p+0, 0x1.a0c667b5de565p+0, 0x1.a5503b23e255dp+0, 0x1.a9e6b5579fdbfp+0,
    0x1.ae89f995ad3adp+0, 0x1.b33a2b84f15fbp+0, 0x1.b7f76f2fb5e47p+0, 0x1.bcc1e904bc1d2p+0,
    0x1.c199bdd85529cp+0, 0x1.c67f12e57d14bp+0, 0x1.cb720dcef9069p+0, 0x1.d072d4a07897cp+0,
    0x1.d5818dcfba487p+0, 0x1.da9e603db3285p+0, 0x1.dfc97337b9b5fp+0, 0x1.e502ee78b3ff6p+0,
    0x1.ea4afa2a490dap+0, 0x1.efa1bee615a27p+0, 0x1.f50765b6e4540p+0, 0x1.fa7c1819e90d8p+0};
inline constexpr double exp2_table_lo[] = {0x0.0p+0,
                                           -0x1.19083535b085dp-56,
                                           0x1.d73e2a475b465p-55,
                                           0x1.186be4bb284ffp-57,
                                           0x1.8a62e4adc610bp-54,
                                           0x1.03a1727c57b53p-59,
                                           -0x1.6c51039449b3ap-54,
                                           -0x1.32fbf9af1369ep-54,
                                           -0x1.19041b9d78a76p-55,
                                           0x1.e5b4c7b4968e4p-55,
                                           0x1.e016e00a2643cp-54,
                                           0x1.dc775814a8495p-55,
                                           0x1.9b07eb6c70573p-54,
                                           0x1.2bd339940e9d9p-55,
                                           0x1.612e8afad1255p-55,
                                           0x1.0024754db41d5p-54,
                                           0x1.6f46ad23182e4p-55,
                                           0x1.32721843659a6p-54,
                                           -0x1.63aeabf42eae2p-54,
                                           -0x1.5e436d661f5e3p-56,
                                           0x1.ada0911f09ebcp-55,
                                           -0x1.ef3691c309278p-58,
                                           0x1.89b7a04ef80d0p-59,
                                           0x1.3c1a3b69062f0p-56,
                                           0x1.d4397afec42e2p-56,
                                           -0x1.4b309d25957e3p-54,
                                           -0x1.07abe1db13cadp-55,
                                           0x1.9bb2c011d93adp-54,
                                           0x1.6324c054647adp-54,
                                           0x1.ba6f93080e65ep-54,
                                           -0x1.383c17e40b497p-54,
                                           -0x1.bb60987591c34p-54,
                                           -0x1.bdd3413b26456p-54,
                                           -0x1.bbe3a683c88abp-57,
                                           -0x1.16e4786887a99p-55,
                                           -0x1.0245957316dd3p-54,
                                           -0x1.41577ee04992fp-55,
                                           0x1.05d02ba15797ep-56,
                                           -0x1.d4c1dd41532d8p-54,
                                           -0x1.fc6f89bd4f6bap-54,
                                           0x1.6e9f156864b27p-54,
                                           0x1.5cc13a2e3976cp-55,
                                           -0x1.75fc781b57ebcp-57,
                                           -0x1.d185b7c1b85d1p-54,
                                           0x1.c7c46b071f2bep-56,
                                           -0x1.359495d1cd533p-54,
                                           -0x1.d2f6edb8d41e1p-54,
                                           0x1.0fac90ef7fd31p-54,
                                           0x1.7a1cd345dcc81p-54,
                                           -0x1.2805e3084d708p-57,
                                           -0x1.5584f7e54ac3bp-56,
                                           0x1.23dd07a2d9e84p-55,
                                           0x1.11065895048ddp-55,
                                           0x1.2884dff483cadp-54,
                                           0x1.503cbd1e949dbp-56,
                                           -0x1.cbc3743797a9cp-54,
                                           0x1.2ed02d75b3707p-55,
                                           0x1.c2300696db532p-54,
                                           -0x1.1a5cd4f184b5cp-54,
                                           0x1.39e8980a9cc8fp-55,
                                           -0x1.e9c23179c2893p-54,
                                           0x1.dc7f486a4b6b0p-54,
                                           0x1.9d3e12dd8a18bp-54,
                                           0x1.74853f3a5931ep-55};
// ln2/64 = ln2_64_hi + ln2_64_mid + ln2_64_lo to 2^-163.3; ln2_64_hi has 39 bits;
// ln2_64 is ln2/64 rounded.
inline constexpr double ln2_64_hi = 0x1.62e42fefa4000p-7, ln2_64_mid = -0x1.8432a1b0e2634p-49,
                        ln2_64_lo = 0x1.f97b57a079a19p-109;
inline constexpr double ln2_64 = 0x1.62e42fefa39efp-7, inv_ln2_64 = 0x1.71547652b82fep+6;
// ln2 = ln2_hi + ln2_mid + ln2_lo to 2^-157.3; ln2_hi has 45 bits.
inline constexpr double ln2_hi = 0x1.62e42fefa3a00p-1, ln2_mid = -0x1.0ca86c3898d00p-49,
                        ln2_lo = 0x1.f97b57a079a19p-103;
// ln2 and 1/ln2 in double-double, to 2^-106.
inline constexpr double ln2_dd_hi = 0x1.62e42fefa39efp-1, ln2_dd_lo = 0x1.abc9e3b39803fp-56;
inline constexpr double inv_ln2_hi = 0x1.71547652b82fep+0, inv_ln2_lo = 0x1.777d0ffda0d24p-56;
// c_i ~ 1 / (1 + i/128) to 9 bits, and L_i = -log c_i (-log 2 c_i from i = 53 on)
// in double-double, i = 0..128.
inline constexpr double log_inv[] = {
    0x1.0000000000000p+0, 0x1.fc00000000000p-1, 0x1.f800000000000p-1, 0x1.f400000000000p-1,
    0x1.f000000000000p-1, 0x1.ed00000000000p-1, 0x1.e900000000000p-1, 0x1.e500000000000p-1,
    0x1.e200000000000p-1, 0x1.de00000000000p-1, 0x1.db00000000000p-1, 0x1.d700000000000p-1,
    0x1.d400000000000p-1, 0x1.d100000000000p-1, 0x1.ce00000000000p-1, 0x1.ca00000000000p-1,
    0x1.c700000000000p-1, 0x1.c400000000000p-1, 0x1.c100000000000p-1, 0x1.be00000000000p-1,
    0x1.bb00000000000p-1, 0x1.b800000000000p-1, 0x1.b500000000000p-1, 0x1.b200000000000p-1,
    0x1.af00000000000p-1, 0x1.ac00000000000p-1, 0x1.aa00000000000p-1, 0x1.a700000000000p-1,
    0x1.a400000000000p-1, 0x1.a100000000000p-1, 0x1.9f00000000000p-1, 0x1.9c00000000000p-1,
    0x1.9a00000000000p-1, 0x1.9700000000000p-1, 0x1.9500000000000p-1, 0x1.9200000000000p-1,
    0x1.9000000000000p-1, 0x1.8d00000000000p-1, 0x1.8b00000000000p-1, 0x1.8800000000000p-1,
    0x1.8600000000000p-1, 0x1.8400000000000p-1, 0x1.8200000000000p-1, 0x1.7f00000000000p-1,
    0x1.7d00000000000p-1, 0x1.7b00000000000p-1, 0x1.7900000000000p-1, 0x1.7600000000000p-1,
    0x1.7400000000000p-1, 0x1.7200000000000p-1, 0x1.7000000000000p-1, 0x1.6e00000000000p-1,
    0x1.6c00000000000p-1, 0x1.6a00000000000p-1, 0x1.6800000000000p-1, 0x1.6600000000000p-1,
    0x1.6400000000000p-1, 0x1.6200000000000p-1, 0x1.6000000000000p-1, 0x1.5e00000000000p-1,
    0x1.5d00000000000p-1, 0x1.5b00000000000p-1, 0x1.5900000000000p-1, 0x1.5700000000000p-1,
    0x1.5500000000000p-1, 0x1.5400000000000p-1, 0x1.5200000000000p-1, 0x1.5000000000000p-1,
    0x1.4e00000000000p-1, 0x1.4d00000000000p-1, 0x1.4b00000000000p-1, 0x1.4900000000000p-1,
    0x1.4800000000000p-1, 0x1.4600000000000p-1, 0x1.4400000000000p-1, 0x1.4300000000000p-1,
    0x1.4100000000000p-1, 0x1.4000000000000p-1, 0x1.3e00000000000p-1, 0x1.3d00000000000p-1,
    0x1.3b00000000000p-1, 0x1.3a00000000000p-1, 0x1.3800000000000p-1, 0x1.3700000000000p-1,
    0x1.3500000000000p-1, 0x1.3400000000000p-1, 0x1.3200000000000p-1, 0x1.3100000000000p-1,
    0x1.2f00000000000p-1, 0x1.2e00000000000p-1, 0x1.2d00000000000p-1, 0x1.2b00000000000p-1,
    0x1.2a00000000000p-1, 0x1.2900000000000p-1, 0x1.2700000000000p-1, 0x1.2600000000000p-1,
    0x1.2500000000000p-1, 0x1.2300000000000p-1, 0x1.2200000000000p-1, 0x1.2100000000000p-1,
    0x1.1f00000000000p-1, 0x1.1e00000000000p-1, 0x1.1d00000000000p-1, 0x1.1c00000000000p-1,
    0x1.1a00000000000p-1, 0x1.1900000000000p-1, 0x1.1800000000000p-1, 0x1.1700000000000p-1,
    0x1.1600000000000p-1, 0x1.1500000000000p-1, 0x1.1300000000000p-1, 0x1.1200000000000p-1,
    0x1.1100000000000p-1, 0x1.1000000000000p-1, 0x1.0f00000000000p-1, 0x1.0e00000000000p-1,
    0x1.0d00000000000p-1, 0x1.0b00000000000p-1, 0x1.0a00000000000p-1, 0x1.0900000000000p-1,
    0x1.0800000000000p-1, 0x1.0700000000000p-1, 0x1.0600000000000p-1, 0x1.0500000000000p-1,
    0x1.0400000000000p-1, 0x1.0300000000000p-1, 0x1.0200000000000p-1, 0x1.0100000000000p-1,
    0x1.0000000000000p-1};
inline constexpr double log_table_hi[] = {0x0.0p+0,
                                          0x1.010157588de71p-7,
                                          0x1.0205658935847p-6,
                                          0x1.8492528c8cabfp-6,
                                          0x1.0415d89e74444p-5,
                                          0x1.35c8bfaa1306bp-5,
                                          0x1.788595a3577bap-5,
                                          0x1.bbcebfc68f420p-5,
                                          0x1.eea31c006b87cp-5,
                                          0x1.1973bd1465567p-4,
                                          0x1.333d7f8183f4bp-4,
                                          0x1.55e10050e0384p-4,
                                          0x1.700d30aeac0e1p-4,
                                          0x1.8a6477a91dc29p-4,
                                          0x1.a4e7640b1bc38p-4,
                                          0x1.c885801bc4b23p-4,
                                          0x1.e3707ee30487bp-4,
                                          0x1.fe89139dbd566p-4,
                                          0x1.0ce7ecdccc28dp-3,
                                          0x1.1aa2b7e23f72ap-3,
                                          0x1.28753bc11aba5p-3,
                                          0x1.365fcb0159016p-3,
                                          0x1.4462b9dc9b3dcp-3,
                                          0x1.527e5e4a1b58dp-3,
                                          0x1.60b3100b09476p-3,
                                          0x1.6f0128b756abcp-3,
                                          0x1.7898d85444c73p-3,
                                          0x1.871213750e994p-3,
                                          0x1.95a5adcf7017fp-3,
                                          0x1.a454082e6ab05p-3,
                                          0x1.ae2ca6f672bd4p-3,
                                          0x1.bd087383bd8adp-3,
                                          0x1.c6ffbc6f00f71p-3,
                                          0x1.d60a17f903515p-3,
                                          0x1.e020cc6235ab5p-3,
                                          0x1.ef5ade4dcffe6p-3,
                                          0x1.f991c6cb3b379p-3,
                                          0x1.047e60cde83b8p-2,
                                          0x1.09aa572e6c6d4p-2,
                                          0x1.1178e8227e47cp-2,
                                          0x1.16b5ccbacfb73p-2,
                                          0x1.1bf99635a6b95p-2,
                                          0x1.214456d0eb8d4p-2,
                                          0x1.2941afb186b7cp-2,
                                          0x1.2e9e2bce12286p-2,
                                          0x1.3401e12aecba1p-2,
                                          0x1.396ce359bbf54p-2,
                                          0x1.419b423d5e8c7p-2,
                                          0x1.4718dc271c41bp-2,
                                          0x1.4c9e09e172c3cp-2,
                                          0x1.522ae0738a3d8p-2,
                                          0x1.57bf753c8d1fbp-2,
                                          0x1.5d5bddf595f30p-2,
                                          -0x1.62c82f2b9c795p-2,
                                          -0x1.5d1bdbf5809cap-2,
                                          -0x1.5767717455a6cp-2,
                                          -0x1.51aad872df82dp-2,
                                          -0x1.4be5f957778a1p-2,
                                          -0x1.4618bc21c5ec2p-2,
                                          -0x1.404308686a7e4p-2,
                                          -0x1.3d54fa5c1f710p-2,
                                          -0x1.3772662bfd85bp-2,
                                          -0x1.31871c9544185p-2,
                                          -0x1.2b9303ab89d25p-2,
                                          -0x1.2596010df763ap-2,
                                          -0x1.22941fbcf7966p-2,
                                          -0x1.1c898c16999fbp-2,
                                          -0x1.1675cababa60ep-2,
                                          -0x1.1058bf9ae4ad5p-2,
                                          -0x1.0d46b579ab74bp-2,
                                          -0x1.071b85fcd590dp-2,
                                          -0x1.00e6c45ad501dp-2,
                                          -0x1.fb9186d5e3e2bp-3,
                                          -0x1.ef0adcbdc5936p-3,
                                          -0x1.e27076e2af2e6p-3,
                                          -0x1.dc1bca0abec7dp-3,
                                          -0x1.cf6354e09c5dcp-3,
                                          -0x1.c8ff7c79a9a22p-3,
                                          -0x1.bc286742d8cd6p-3,
                                          -0x1.b5b519e8fb5a4p-3,
                                          -0x1.a8becfc882f19p-3,
                                          -0x1.a23bc1fe2b563p-3,
                                          -0x1.9525a9cf456b4p-3,
                                          -0x1.8e928de886d41p-3,
                                          -0x1.815c0a14357ebp-3,
                                          -0x1.7ab890210d909p-3,
                                          -0x1.6d60fe719d21dp-3,
                                          -0x1.66acd4272ad51p-3,
                                          -0x1.59338d9982086p-3,
                                          -0x1.526e5e3a1b438p-3,
                                          -0x1.4ba36f39a55e5p-3,
                                          -0x1.3dfc2b0ecc62ap-3,
                                          -0x1.371fc201e8f74p-3,
                                          -0x1.303d718e47fd3p-3,
                                          -0x1.2266f190a5acbp-3,
                                          -0x1.1b72ad52f67a0p-3,
                                          -0x1.14785846742acp-3,
                                          -0x1.0671512ca596ep-3,
                                          -0x1.fec9131dbeabbp-4,
                                          -0x1.f0a30c01162a6p-4,
                                          -0x1.d4313d66cb35dp-4,
                                          -0x1.c5e548f5bc743p-4,
                                          -0x1.b78c82bb0eda1p-4,
                                          -0x1.a926d3a4ad563p-4,
                                          -0x1.8c345d6319b21p-4,
                                          -0x1.7da766d7b12cdp-4,
                                          -0x1.6f0d28ae56b4cp-4,
                                          -0x1.60658a93750c4p-4,
                                          -0x1.51b073f06183fp-4,
                                          -0x1.42edcbea646f0p-4,
                                          -0x1.253f62f0a1417p-4,
                                          -0x1.16536eea37ae1p-4,
                                          -0x1.075983598e471p-4,
                                          -0x1.f0a30c01162a6p-5,
                                          -0x1.d276b8adb0b52p-5,
                                          -0x1.b42dd711971bfp-5,
                                          -0x1.95c830ec8e3ebp-5,
                                          -0x1.58a5bafc8e4d5p-5,
                                          -0x1.39e87b9febd60p-5,
                                          -0x1.1b0d98923d980p-5,
                                          -0x1.f829b0e783300p-6,
                                          -0x1.b9fc027af9198p-6,
                                          -0x1.7b91b07d5b11bp-6,
                                          -0x1.3cea44346a575p-6,
                                          -0x1.fc0a8b0fc03e4p-7,
                                          -0x1.7dc475f810a77p-7,
                                          -0x1.fe02a6b106789p-8,
                                          -0x1.ff00aa2b10bc0p-9,
                                          0x0.0p+0};
inline constexpr double log_table_lo[] = {0x0.0p+0,
                                          0x1.46662d417ced0p-62,
                                          0x1.27c8e8416e71fp-60,
                                          -0x1.d192d0619fa67p-60,
                                          0x1.c05cf1d753622p-59,
                                          -0x1.50830a65543a4p-63,
                                          0x1.e5ef898b67923p-59,
                                          0x1.e5cf3a0f56f72p-60,
                                          -0x1.3e4fc93b7b66cp-59,
                                          -0x1.7558367a6acf6p-59,
                                          0x1.a92afc8ef70b1p-58,
                                          -0x1.45f9d61c68c1bp-58,
                                          -0x1.72566212cdd05p-61,
                                          -0x1.fa83214904842p-59,
                                          -0x1.5b5ca203e4259p-58,
                                          0x1.a38cb559a6706p-58,
                                          0x1.09ccecd579d99p-58,
                                          -0x1.ac9f4215f9393p-58,
                                          -0x1.692a0055dc959p-57,
                                          -0x1.c6ef1d9b2ef7ep-59,
                                          -0x1.6394d9fa33311p-57,
                                          0x1.7d411a5b944adp-58,
                                          -0x1.629c46c186385p-58,
                                          -0x1.71a9682395bfdp-61,
                                          -0x1.5b2623e05016bp-58,
                                          -0x1.8de59c21e166cp-57,
                                          0x1.ef8f6ebcfb201p-58,
                                          0x1.d685f35eea2a0p-57,
                                          0x1.142c507fb7a3dp-58,
                                          0x1.df207dc5c34c6p-58,
                                          0x1.ab5ca9eaa088ap-57,
                                          0x1.dd355f6a516d7p-60,
                                          -0x1.8e58b2c57a4a5p-57,
                                          -0x1.c0df841a71b7ap-57,
                                          0x1.fea48dd7b81d1p-58,
                                          -0x1.08ab2ddc708a0p-58,
                                          0x1.f665066f980a2p-57,
                                          -0x1.0779634061cbcp-56,
                                          0x1.43c2e68684d53p-57,
                                          -0x1.0e63a5f01c691p-57,
                                          0x1.66fbd28b40935p-56,
                                          -0x1.12aeb84249223p-57,
                                          0x1.f7ae91aeba60ap-57,
                                          -0x1.856e61c515740p-57,
                                          0x1.8251a3b83d97ap-62,
                                          -0x1.cd55b8a4746c0p-58,
                                          -0x1.ce2b31b31e8b0p-58,
                                          0x1.0dbb243827392p-57,
                                          0x1.8fb4c14c56eefp-60,
                                          -0x1.123615b147a5dp-58,
                                          -0x1.8f7e9b38a6979p-57,
                                          -0x1.0908d15f88b63p-57,
                                          -0x1.6541148cbb8a2p-56,
                                          -0x1.7b7af915300e5p-57,
                                          -0x1.4236383dc7fe1p-56,
                                          -0x1.526adb283660cp-56,
                                          -0x1.3927ac19f55e3p-59,
                                          0x1.259b35b04813dp-57,
                                          -0x1.f42decdeccf1dp-56,
                                          0x1.0bcfb6082ce6dp-56,
                                          0x1.e3265c6a1c98dp-56,
                                          0x1.b5629d8117de7p-59,
                                          0x1.51acc4c09b379p-60,
                                          0x1.896b5fd852ad4p-56,
                                          0x1.0f76c57075e9ep-58,
                                          0x1.76f5eb09628afp-56,
                                          0x1.0e5c62aff1c44p-60,
                                          -0x1.ce63eab883717p-61,
                                          -0x1.89fa0ab4cb31dp-58,
                                          -0x1.03ec81c3cbd92p-57,
                                          -0x1.d1707f97bde80p-58,
                                          0x1.cb9568ff6feadp-57,
                                          0x1.caaae64f21acbp-57,
                                          -0x1.48637950dc20dp-57,
                                          0x1.61578001e0162p-59,
                                          -0x1.834c51998b6fcp-57,
                                          -0x1.239a07d55b695p-57,
                                          0x1.4f689f8434012p-57,
                                          -0x1.4fce744870f55p-58,
                                          -0x1.ba27fdc19e1a0p-57,
                                          0x1.e8c37918c39ebp-58,
                                          -0x1.93711b07a998cp-59,
                                          -0x1.d904c1d4e2e26p-57,
                                          0x1.569d851a56770p-57,
                                          0x1.4be48073a0564p-58,
                                          -0x1.be36b2d6a0608p-59,
                                          0x1.caae268ecd179p-57,
                                          0x1.0900e4e1ea8b2p-58,
                                          0x1.65d22aa8ad7cfp-58,
                                          0x1.746ff8a470d3ap-57,
                                          -0x1.68981bcc36756p-57,
                                          0x1.ab3a8e7d81017p-58,
                                          -0x1.de6cb62af18a0p-58,
                                          0x1.6b9c7d96091fap-63,
                                          -0x1.f547bf1809e88p-57,
                                          -0x1.483023472cd74p-58,
                                          -0x1.a28813e3a7f07p-57,
                                          -0x1.50c647eb86499p-58,
                                          0x1.5746b9981b36cp-58,
                                          -0x1.85f325c5bbacdp-58,
                                          -0x1.790dd951d90fap-58,
                                          -0x1.5d617ef8161b1p-60,
                                          -0x1.0878cf0327e21p-61,
                                          -0x1.942f48aa70ea9p-58,
                                          0x1.4a697ab3424a9p-61,
                                          0x1.eeedfcdd94131p-58,
                                          0x1.906d99184b992p-58,
                                          0x1.388458ec21b6ap-58,
                                          -0x1.a49e39a1a8be4p-58,
                                          -0x1.ddd4f935996c9p-59,
                                          0x1.c125963fc4cfdp-62,
                                          0x1.79da3e8c22cdap-60,
                                          -0x1.80da5333c45b8p-59,
                                          -0x1.85f325c5bbacdp-59,
                                          -0x1.1e3c53257fd47p-61,
                                          0x1.eb9759c130499p-60,
                                          -0x1.f5a0e80520bf2p-59,
                                          0x1.ce55c2b4e2b72p-59,
                                          0x1.5bfa937f551bbp-59,
                                          0x1.e9ae889bac481p-60,
                                          -0x1.33e3f04f1ef23p-60,
                                          0x1.0ae69229dc868p-64,
                                          0x1.5b602ace3a510p-60,
                                          0x1.0cb5a902b3a1cp-62,
                                          0x1.83092c59642a1p-62,
                                          0x1.16d7687d3df21p-62,
                                          0x1.e44b7e3711ebfp-67,
                                          -0x1.2821ad5a6d353p-63,
                                          0x0.0p+0};
// 1/k! in double-double, k = 0..11.
inline constexpr double exp_taylor_hi[] = {
    0x1.0000000000000p+0,  0x1.0000000000000p+0,  0x1.0000000000000p-1,  0x1.5555555555555p-3,
    0x1.5555555555555p-5,  0x1.1111111111111p-7,  0x1.6c16c16c16c17p-10, 0x1.a01a01a01a01ap-13,
    0x1.a01a01a01a01ap-16, 0x1.71de3a556c734p-19, 0x1.27e4fb7789f5cp-22, 0x1.ae64567f544e4p-26};
inline constexpr double exp_taylor_lo[] = {0x0.0p+0,
                                           0x0.0p+0,
                                           0x0.0p+0,
                                           0x1.5555555555555p-57,
                                           0x1.5555555555555p-59,
                                           0x1.1111111111111p-63,
                                           -0x1.f49f49f49f49fp-65,
                                           0x1.a01a01a01a01ap-73,
                                           0x1.a01a01a01a01ap-76,
                                           -0x1.c154f8ddc6c00p-73,
                                           0x1.cbbc05b4fa99ap-76,
                                           -0x1.c062e06d1f209p-80};
// (-1)^(k+1) / k in double-double, k = 1..15.
inline constexpr double log1p_taylor_hi[] = {
    0x1.0000000000000p+0, -0x1.0000000000000p-1, 0x1.5555555555555p-2, -0x1.0000000000000p-2,
    0x1.999999999999ap-3, -0x1.5555555555555p-3, 0x1.2492492492492p-3, -0x1.0000000000000p-3,
    0x1.c71c71c71c71cp-4, -0x1.999999999999ap-4, 0x1.745d1745d1746p-4, -0x1.5555555555555p-4,
    0x1.3b13b13b13b14p-4, -0x1.2492492492492p-4, 0x1.1111111111111p-4};
inline constexpr double log1p_taylor_lo[] = {0x0.0p+0,
                                             0x0.0p+0,
                                             0x1.5555555555555p-56,
                                             0x0.0p+0,
                                             -0x1.999999999999ap-57,
                                             -0x1.5555555555555p-57,
                                             0x1.2492492492492p-57,
                                             0x0.0p+0,
                                             0x1.c71c71c71c71cp-58,
                                             0x1.999999999999ap-58,
                                             -0x1.745d1745d1746p-59,
                                             -0x1.5555555555555p-58,
                                             -0x1.3b13b13b13b14p-58,
                                             -0x1.2492492492492p-58,
                                             0x1.1111111111111p-60};
// END GENERATED

inline constexpr float infinity = std::numeric_limits<float>::infinity();

// The special results, with their exception at run time (a constant
// expression may raise none).
ORMATH_ELEMENTARY_CONSTEXPR float overflow() noexcept {
    if (detail::constant_evaluated()) {
        return infinity;
    }
    return ormath::rounded(ormath::rounded(0x1p127f) * 0x1p127f);
}
ORMATH_ELEMENTARY_CONSTEXPR float underflow() noexcept {
    if (detail::constant_evaluated()) {
        return 0.0f;
    }
    return ormath::rounded(ormath::rounded(0x1p-100f) * 0x1p-100f);
}
ORMATH_ELEMENTARY_CONSTEXPR float divide_by_zero(bool negative) noexcept {
    if (detail::constant_evaluated()) {
        return negative ? -infinity : infinity;
    }
    return ormath::rounded(1.0f / ormath::rounded(negative ? -0.0f : 0.0f));
}
ORMATH_ELEMENTARY_CONSTEXPR float invalid() noexcept {
    if (detail::constant_evaluated()) {
        return std::numeric_limits<float>::quiet_NaN();
    }
    const float zero = ormath::rounded(0.0f);
    return ormath::rounded(zero / zero);
}

// The number of trailing zero bits of a non-zero u.
constexpr int trailing_zeros(std::uint32_t u) noexcept {
#if defined(__GNUC__) || defined(__clang__)
    return __builtin_ctz(u);
#else
    int n = 0;
    while ((u & 1u) == 0) {
        u >>= 1;
        ++n;
    }
    return n;
#endif
}

// floor(sqrt(n)), a bit at a time.
constexpr std::uint64_t isqrt(std::uint64_t n) noexcept {
    std::uint64_t root = 0, bit = std::uint64_t{1} << 62;
    while (bit > n) {
        bit >>= 2;
    }
    while (bit != 0) {
        if (n >= root + bit) {
            n -= root + bit;
            root = (root >> 1) + bit;
        } else {
            root >>= 1;
        }
        bit >>= 2;
    }
    return root;
}

// The integer nearest v (|v| < 2^31), as a double and as an int: adding
// 1.5 * 2^52 rounds v to an integer, which the low bits then hold in two's
// complement.
struct nearest {
    double k;
    std::int32_t n;
};
ORMATH_ELEMENTARY_CONSTEXPR nearest nearest_integer(double v) noexcept {
    const double shifted = add(v, 0x1.8p52);
    return {sub(shifted, 0x1.8p52), static_cast<std::int32_t>(static_cast<std::uint32_t>(bits(shifted)))};
}

// Whether every value within err * |y| of y rounds to one float, stored in
// result: then that float is the exact value's.
ORMATH_ELEMENTARY_CONSTEXPR bool rounds_to(double y, double err, float& result) noexcept {
    const double e = mul(y < 0.0 ? -y : y, err);
    const float lower = to_float(sub(y, e));
    result = to_float(add(y, e));
    return lower == result;
}

// The same test on y's bits, for a y whose float is normal or infinite:
// within its binade, the 29 bits of y below a float's 24 place it against
// the midpoint (2^28), and ulps bounds the error in units of y's last bit
// (err * |y| < 2 err 2^52 of them). Near a power of two the midpoints lie
// 2^28 units away.
ORMATH_ELEMENTARY_CONSTEXPR bool clear_of_midpoints(double y, std::uint64_t ulps) noexcept {
    return ((bits(y) + ulps - 0x10000000u) & 0x1fffffffu) > 2 * ulps;
}

// 2^(k/64) e^u for |u| <= 0.005416, k = 64 q + j, -152 <= q <= 130, in
// double: relative error below 2^-47.3 (the polynomial 2^-47.5, its
// evaluation and the table about 2^-52); 2^q goes into the exponent's bits.
ORMATH_ELEMENTARY_CONSTEXPR double exp_fast(std::int32_t k, double u) noexcept {
    const double e = add(exp_poly[0], mul(u, add(exp_poly[1], mul(u, exp_poly[2]))));
    const double p = add(1.0, add(u, mul(mul(u, u), e)));
    const std::int32_t j = k & 63;
    const auto q = static_cast<std::uint64_t>(static_cast<std::int64_t>((k - j) / 64));
    return double_from_bits(bits(mul(exp2_table_hi[j], p)) + (q << 52));
}

// The same in double-double, to about 2^-104.
ORMATH_ELEMENTARY_CONSTEXPR dd exp_accurate(std::int32_t k, const dd& u) noexcept {
    dd p = {exp_taylor_hi[11], exp_taylor_lo[11]};
    for (int i = 10; i >= 0; --i) {
        p = dd_add({exp_taylor_hi[i], exp_taylor_lo[i]}, dd_mul(u, p));
    }
    const std::int32_t j = k & 63;
    const dd v = dd_mul({exp2_table_hi[j], exp2_table_lo[j]}, p);
    const double scale = pow2((k - j) / 64);
    return {mul(v.hi, scale), mul(v.lo, scale)};
}

// The fast paths' error bound, 2^-43 relative, four times the largest
// analysis (exp's and pow's, near 2^-45.2: exp_fast's 2^-47.3 and the
// reduction's 2^-45.8), and the same in units of the result's last bit: a
// result clear of every midpoint by this much rounds as the exact value.
inline constexpr double fast_error = 0x1p-43;
inline constexpr std::uint64_t fast_ulps = 1024;
// From this k on, exp_fast's result is a normal float: at least
// 2^(-126 + 1/64) e^-0.005416 > 2^-126.
inline constexpr std::int32_t normal_k = -126 * 64 + 1;

// e^(k ln2/64 + u), exp's and pow's result: the bits' test while it is a
// normal float, else the general one.
ORMATH_ELEMENTARY_CONSTEXPR bool exp_rounds_to(std::int32_t k, double u, float& result) noexcept {
    const double y = exp_fast(k, u);
    if (k >= normal_k) {
        result = to_float(y);
        return clear_of_midpoints(y, fast_ulps);
    }
    return rounds_to(y, fast_error, result);
}

// exp(x): u = x - k ln2/64 in double with ln2/64 rounded, |k| < 2^14: the
// product's rounding and ln2/64's are each below 2^-46.3 absolute.
ORMATH_ELEMENTARY_CONSTEXPR float exp_eval(float x) noexcept {
    const std::uint32_t ux = bits(x), ax = ux & 0x7fffffffu;
    if (ax >= 0x42d00000u) {
        // |x| >= 104, infinite or NaN: e^104 is beyond the largest float, e^-104
        // below half the smallest subnormal.
        if (ax > 0x7f800000u) {
            return x + x;
        }
        if ((ux >> 31) == 0) {
            return overflow();
        }
        return ax == 0x7f800000u ? 0.0f : underflow();
    }
    const auto xd = static_cast<double>(x);
    const nearest k = nearest_integer(mul(xd, inv_ln2_64));
    float result = 0.0f;
    if (exp_rounds_to(k.n, sub(xd, mul(k.k, ln2_64)), result)) {
        return result;
    }
    // Again in double-double: x - k ln2_64_hi is exact (k has at most 14
    // bits and ln2_64_hi 39), the rest's products exact or below 2^-100.
    dd u = dd_add({sub(xd, mul(k.k, ln2_64_hi)), 0.0}, dd_neg(two_prod(k.k, ln2_64_mid)));
    u = dd_add(u, {-mul(k.k, ln2_64_lo), 0.0});
    return round_to_float(exp_accurate(k.n, u));
}

// exp2(x): x - k/64 is exact.
ORMATH_ELEMENTARY_CONSTEXPR float exp2_eval(float x) noexcept {
    const std::uint32_t ux = bits(x), ax = ux & 0x7fffffffu;
    if (ax >= 0x43160000u) {
        // |x| >= 150, infinite or NaN; 2^-150 is the midpoint that rounds to 0.
        if (ax > 0x7f800000u) {
            return x + x;
        }
        if ((ux >> 31) == 0) {
            return overflow();
        }
        return ax == 0x7f800000u ? 0.0f : underflow();
    }
    const auto xd = static_cast<double>(x);
    const nearest k = nearest_integer(mul(xd, 64.0));
    const double r = sub(xd, mul(k.k, 0x1p-6));
    float result = 0.0f;
    if (exp_rounds_to(k.n, mul(r, ln2_dd_hi), result)) {
        return result;
    }
    return round_to_float(exp_accurate(k.n, dd_mul({r, 0.0}, {ln2_dd_hi, ln2_dd_lo})));
}

// A positive finite x as 2^e m (m in [1, 2), e raised by one above sqrt 2),
// the table index i of m and r = m c_i - 1, exact: m c_i has at most 33
// bits and lies within 0.005 of 1.
struct log_reduction {
    std::int32_t e, i;
    double r;
};
ORMATH_ELEMENTARY_CONSTEXPR log_reduction log_reduce(std::uint32_t ax) noexcept {
    std::int32_t e = 0;
    std::uint32_t fraction = 0;
    if (ax < 0x00800000u) {
        const int shift = leading_zeros(std::uint64_t{ax}) - 40;  // to bring the top bit to bit 23
        fraction = (ax << shift) & 0x7fffffu;
        e = -126 - shift;
    } else {
        fraction = ax & 0x7fffffu;
        e = static_cast<std::int32_t>(ax >> 23) - 127;
    }
    const auto i = static_cast<std::int32_t>((fraction + 0x8000u) >> 16);
    if (i >= 53) {
        ++e;
    }
    const double m = double_from_bits((std::uint64_t{0x3ff} << 52) | (std::uint64_t{fraction} << 29));
    return {e, i, sub(mul(m, log_inv[i]), 1.0)};
}

// Q(r) of log1p(r) ~ r + r^2 Q(r).
constexpr double log1p_tail(double r) noexcept {
    double q = log1p_poly[4];
    for (int i = 3; i >= 0; --i) {
        q = add(log1p_poly[i], mul(r, q));
    }
    return q;
}

// log x - e ln2 = L_i + log1p(r) in double-double, to about 2^-104: the
// series of log1p in r (|r| < 0.0048).
ORMATH_ELEMENTARY_CONSTEXPR dd log_mantissa_accurate(const log_reduction& red) noexcept {
    const dd r = {red.r, 0.0};
    dd p = {log1p_taylor_hi[14], log1p_taylor_lo[14]};
    for (int i = 13; i >= 0; --i) {
        p = dd_add({log1p_taylor_hi[i], log1p_taylor_lo[i]}, dd_mul(r, p));
    }
    return dd_add({log_table_hi[red.i], log_table_lo[red.i]}, dd_mul(r, p));
}

// log x in double-double, to about 2^-102 relative: where e is 0 and L_i is
// not, |log x| > 0.0019 against |L_i| < 0.35, and where e is not 0, |log x|
// > 0.34.
ORMATH_ELEMENTARY_CONSTEXPR dd log_accurate(const log_reduction& red) noexcept {
    return dd_add(dd_mul({static_cast<double>(red.e), 0.0}, {ln2_dd_hi, ln2_dd_lo}),
                  log_mantissa_accurate(red));
}

// log(x) and log2(x) of x < 0, +-0, +inf or NaN (ux its bits).
ORMATH_ELEMENTARY_CONSTEXPR float log_special(float x, std::uint32_t ux) noexcept {
    if ((ux & 0x7fffffffu) == 0) {
        return divide_by_zero(true);
    }
    if (ux >= 0x7f800000u && ux <= 0x7fffffffu) {
        return x + x;  // +inf, or NaN
    }
    return (ux & 0x7fffffffu) > 0x7f800000u ? x + x : invalid();
}

// log(x) = e ln2 + L_i + log1p(r) in double, to about 2^-46.3 relative:
// e ln2's rounding and ln2's against |log x| > 0.34 where e is not 0, L_i's
// against |log x| > 0.0019 where L_i is not 0 (2^-46.5), the sums' (six
// units of 2^-53 where L_i and log1p(r) nearly cancel), the polynomial's
// (2^-53.7).
ORMATH_ELEMENTARY_CONSTEXPR float log_eval(float x) noexcept {
    const std::uint32_t ux = bits(x);
    if (ux - 1u >= 0x7f7fffffu) {  // not in (0, +inf)
        return log_special(x, ux);
    }
    const log_reduction red = log_reduce(ux);
    const double e = red.e, r = red.r;
    const double y = add(add(mul(e, ln2_dd_hi), log_table_hi[red.i]), add(r, mul(mul(r, r), log1p_tail(r))));
    if (clear_of_midpoints(y, fast_ulps)) {
        return to_float(y);
    }
    return round_to_float(log_accurate(red));
}

// log2(x) = e + (L_i + log1p(r)) / ln2; exact for a power of two.
ORMATH_ELEMENTARY_CONSTEXPR float log2_eval(float x) noexcept {
    const std::uint32_t ux = bits(x);
    if (ux - 1u >= 0x7f7fffffu) {
        return log_special(x, ux);
    }
    const log_reduction red = log_reduce(ux);
    const double r = red.r;
    const auto e = static_cast<double>(red.e);
    const double y = add(e, mul(add(log_table_hi[red.i], add(r, mul(mul(r, r), log1p_tail(r)))), inv_ln2_hi));
    if (clear_of_midpoints(y, fast_ulps)) {
        return to_float(y);
    }
    return round_to_float(dd_add({e, 0.0}, dd_mul(log_mantissa_accurate(red), {inv_ln2_hi, inv_ln2_lo})));
}

// Whether a finite non-zero y (|y|'s bits) is an integer: 0 not, 1 odd, 2
// even.
constexpr int integer_class(std::uint32_t ay) noexcept {
    const int e = static_cast<int>(ay >> 23) - 127;
    if (e < 0) {
        return 0;
    }
    if (e > 23) {
        return 2;
    }
    const std::uint32_t m = (ay & 0x7fffffu) | 0x800000u;
    const int shift = 23 - e;
    if ((m & ((1u << shift) - 1u)) != 0) {
        return 0;
    }
    return ((m >> shift) & 1u) != 0 ? 1 : 2;
}

// |x|^y, in out, when it is a double (at most 53 significant bits), which
// holds every float and every midpoint between two. With |x| = mx 2^ex and
// y = my 2^ey, mx and my odd, a non-integer y (ey < 0) needs mx to be a
// perfect 2^-ey-th power and ex a multiple of 2^-ey (so ey >= -7), and then
// |x|^y = (s 2^f)^n with s that odd root, f = ex 2^ey and n = +-my 2^max(ey,
// 0): for s = 1 a power of two, for s >= 3 an integer below 2^53 times one
// only if n > 0 (s^-n has no finite binary expansion) and n <= 33.
ORMATH_ELEMENTARY_CONSTEXPR bool pow_exact(std::uint32_t ax, std::uint32_t uy, double& out) noexcept {
    const std::uint32_t ay = uy & 0x7fffffffu;
    if (ay < 0x3c000000u) {  // |y| < 2^-7
        return false;
    }
    std::uint32_t my = (ay & 0x7fffffu) | 0x800000u;
    std::int32_t ey = static_cast<std::int32_t>(ay >> 23) - 150;
    int z = trailing_zeros(my);
    my >>= z;
    ey += z;
    if (ey < -7) {
        return false;
    }
    std::uint32_t mx = ax < 0x00800000u ? ax : (ax & 0x7fffffu) | 0x800000u;
    std::int32_t ex = ax < 0x00800000u ? -149 : static_cast<std::int32_t>(ax >> 23) - 150;
    z = trailing_zeros(mx);
    mx >>= z;
    ex += z;
    for (std::int32_t k = ey; k < 0; ++k) {  // one square root a factor 2 of y's denominator
        const std::uint64_t s = isqrt(mx);
        if (s * s != mx || ex % 2 != 0) {
            return false;
        }
        mx = static_cast<std::uint32_t>(s);
        ex /= 2;
    }
    // |x|^y = (mx 2^ex)^(+-n), n = my 2^max(ey, 0).
    const bool y_negative = (uy >> 31) != 0;
    if (mx == 1) {
        if (ex == 0) {
            out = 1.0;
            return true;
        }
        if (ey > 10) {
            return false;  // |ex n| >= 2^11: far outside the floats (settled before)
        }
        const std::int64_t n = ey > 0 ? std::int64_t{my} << ey : std::int64_t{my};
        const std::int64_t e = (y_negative ? -n : n) * ex;
        if (e < -1000 || e > 1000) {
            return false;
        }
        out = pow2(static_cast<int>(e));
        return true;
    }
    if (y_negative || ey > 5 || (my << (ey > 0 ? ey : 0)) > 33) {
        return false;  // 1 / mx^n has no finite binary expansion; 3^34 > 2^53
    }
    const std::uint32_t n = my << (ey > 0 ? ey : 0);
    std::uint64_t p = 1;
    for (std::uint32_t i = 0; i < n; ++i) {
        if (p > (std::uint64_t{1} << 53) / mx) {
            return false;
        }
        p *= mx;
    }
    const std::int64_t e = std::int64_t{ex} * n;
    if (e < -1000 || e > 900) {
        return false;
    }
    out = mul(static_cast<double>(p), pow2(static_cast<int>(e)));
    return true;
}

// y b exactly as p + e, for a y of at most 26 bits: Dekker's product
// without y's split.
constexpr dd two_prod_short(double y, double b) noexcept {
    const double p = mul(y, b);
    const dd s = split(b);
    return {p, add(sub(mul(y, s.hi), p), mul(y, s.lo))};
}

// |x|^y for a finite positive x (its bits) and a finite non-zero y.
ORMATH_ELEMENTARY_CONSTEXPR float pow_positive(std::uint32_t ax, float y) noexcept {
    // log|x| = l.hi + l.lo to about 2^-61 absolute, 2^-52 relative (|log|x||
    // > 0.0019 where e and L_i are not both 0): e ln2_hi, L_i's high part and
    // r summed exactly, the rest (at most 2^-16) with a few roundings.
    const log_reduction red = log_reduce(ax);
    const double e = red.e, r = red.r;
    const dd a = fast_two_sum(mul(e, ln2_hi), log_table_hi[red.i]);
    const dd b = two_sum(a.hi, r);
    const double rest =
        add(add(add(add(a.lo, b.lo), mul(e, ln2_mid)), log_table_lo[red.i]), mul(mul(r, r), log1p_tail(r)));
    const dd l = fast_two_sum(b.hi, rest);
    // t = y log|x| = t.hi + t_lo, to 2^-45 absolute while |t| < 104 (|y| <
    // 104 / 0.0019 where the relative error of l is largest).
    const auto yd = static_cast<double>(y);
    const dd t = two_prod_short(yd, l.hi);
    if (t.hi > 89.0) {
        return overflow();  // e^89 is beyond the largest float
    }
    if (t.hi < -104.0) {
        return underflow();  // e^-104 is below half the smallest subnormal
    }
    const double t_lo = add(t.lo, mul(yd, l.lo));
    const nearest k = nearest_integer(mul(t.hi, inv_ln2_64));
    float result = 0.0f;
    if (exp_rounds_to(k.n, add(sub(t.hi, mul(k.k, ln2_64)), t_lo), result)) {
        return result;
    }
    double exact = 0.0;
    if (pow_exact(ax, bits(y), exact)) {
        return to_float(exact);  // a midpoint rounds to even here
    }
    // Again in double-double: log|x| to 2^-102 relative, y log|x| to 2^-95
    // absolute, the result to 2^-94 relative. t2.hi - k ln2_64_hi is exact
    // (Sterbenz's lemma for |k| >= 2, few enough bits for |k| = 1).
    const dd t2 = dd_mul({yd, 0.0}, log_accurate(red));
    const nearest k2 = nearest_integer(mul(t2.hi, inv_ln2_64));
    dd u = two_sum(sub(t2.hi, mul(k2.k, ln2_64_hi)), t2.lo);
    u = dd_add(u, dd_neg(two_prod(k2.k, ln2_64_mid)));
    u = dd_add(u, {-mul(k2.k, ln2_64_lo), 0.0});
    return round_to_float(exp_accurate(k2.n, u));
}

ORMATH_ELEMENTARY_CONSTEXPR float pow_eval(float x, float y) noexcept {
    const std::uint32_t ux = bits(x), uy = bits(y);
    const std::uint32_t ax = ux & 0x7fffffffu, ay = uy & 0x7fffffffu;
    if (ay == 0 || ux == 0x3f800000u) {
        return 1.0f;  // pow(x, +-0) and pow(+1, y), NaN or not
    }
    if (ax > 0x7f800000u || ay > 0x7f800000u) {
        return x + y;
    }
    const bool y_negative = (uy >> 31) != 0;
    if (ay == 0x7f800000u) {
        if (ax == 0x3f800000u) {
            return 1.0f;  // pow(-1, +-inf)
        }
        return (ax > 0x3f800000u) != y_negative ? infinity : 0.0f;
    }
    const int y_class = integer_class(ay);
    const bool negate = (ux >> 31) != 0 && y_class == 1;
    if (ax == 0 || ax == 0x7f800000u) {
        // 0^y is infinite for y < 0, inf^y for y > 0; the sign is x's for an odd y.
        if ((ax == 0) != y_negative) {
            return negate ? -0.0f : 0.0f;
        }
        if (ax == 0) {
            return divide_by_zero(negate);
        }
        return negate ? -infinity : infinity;
    }
    if ((ux >> 31) != 0 && y_class == 0) {
        return invalid();
    }
    const float magnitude = pow_positive(ax, y);
    return negate ? -magnitude : magnitude;
}

// 1/sqrt(x) with a relative error below 2^-51: 1/std::sqrt, or where a
// constant expression cannot call it, Newton's iteration from the exponent's
// estimate (3.5% off, then 5e-6 after three steps, double's precision after
// five).
ORMATH_ELEMENTARY_CONSTEXPR double inversesqrt_approx(double x) noexcept {
    if (!detail::constant_evaluated()) {
        return div(1.0, std::sqrt(x));
    }
    double y = double_from_bits(0x5fe6eb50c7b537a9u - (bits(x) >> 1));
    for (int i = 0; i < 6; ++i) {
        y = mul(y, sub(1.5, mul(mul(0.5, x), mul(y, y))));
    }
    return y;
}

// inversesqrt(x): the approximation's float where it is 16 ulps of double
// clear of a midpoint (its result is normal); else the midpoint m nearest
// it (y's bits cut to 24 and a half bit set: 25 bits, so m^2 is exact, and
// m^2 x exact as p.hi + p.lo) decides: 1/sqrt(x) > m exactly when m^2 x < 1.
ORMATH_ELEMENTARY_CONSTEXPR float inversesqrt_eval(float x) noexcept {
    const std::uint32_t ux = bits(x);
    if (ux - 1u >= 0x7f7fffffu) {  // not in (0, +inf)
        if ((ux & 0x7fffffffu) == 0) {
            return divide_by_zero(ux != 0);
        }
        if (ux == 0x7f800000u) {
            return 0.0f;
        }
        return (ux & 0x7fffffffu) > 0x7f800000u ? x + x : invalid();
    }
    const auto xd = static_cast<double>(x);
    const double y = inversesqrt_approx(xd);
    if (clear_of_midpoints(y, 16)) {
        return to_float(y);
    }
    const std::uint64_t below = bits(y) & ~std::uint64_t{0x1fffffff};
    const double m = double_from_bits(below | 0x10000000u);
    const dd p = two_prod(mul(m, m), xd);
    const bool above = p.hi < 1.0 || (p.hi == 1.0 && p.lo < 0.0);
    return to_float(double_from_bits(above ? below + 0x20000000u : below));
}

// sqrt(x): std::sqrt at run time; in a constant expression, the integer
// square root of x's significand, shifted to 47 or 48 bits so that the root
// has 24, rounded by its remainder (a square root is never a midpoint).
ORMATH_ELEMENTARY_CONSTEXPR float sqrt_eval(float x) noexcept {
    if (!detail::constant_evaluated()) {
        return std::sqrt(x);
    }
    const std::uint32_t ux = bits(x);
    if ((ux & 0x7fffffffu) == 0 || ux == 0x7f800000u) {
        return x;
    }
    if (ux > 0x7f800000u) {
        return std::numeric_limits<float>::quiet_NaN();
    }
    std::uint64_t m = ux < 0x00800000u ? ux : (ux & 0x7fffffu) | 0x800000u;
    std::int32_t e = ux < 0x00800000u ? -149 : static_cast<std::int32_t>(ux >> 23) - 150;
    if (e % 2 != 0) {
        m <<= 1;
        --e;
    }
    const int length = 64 - leading_zeros(m);
    const int shift = (48 - length) % 2 == 0 ? 48 - length : 47 - length;
    m <<= shift;
    std::uint64_t root = isqrt(m);
    if (m - root * root > root) {
        ++root;
    }
    return to_float(mul(static_cast<double>(root), pow2((e - shift) / 2)));
}

}  // namespace detail::elem::exponential

// e^x, 2^x, the natural and the base-2 logarithm, correctly rounded.
ORMATH_ELEMENTARY_CONSTEXPR float exp(float x) noexcept { return detail::elem::exponential::exp_eval(x); }
ORMATH_ELEMENTARY_CONSTEXPR float exp2(float x) noexcept { return detail::elem::exponential::exp2_eval(x); }
ORMATH_ELEMENTARY_CONSTEXPR float log(float x) noexcept { return detail::elem::exponential::log_eval(x); }
ORMATH_ELEMENTARY_CONSTEXPR float log2(float x) noexcept { return detail::elem::exponential::log2_eval(x); }

// x^y, correctly rounded; Annex F's special values, for x < 0 too.
ORMATH_ELEMENTARY_CONSTEXPR float pow(float x, float y) noexcept {
    return detail::elem::exponential::pow_eval(x, y);
}

// The square root (std::sqrt's, exact under IEEE 754) and 1/sqrt(x) rounded
// once.
ORMATH_ELEMENTARY_CONSTEXPR float sqrt(float x) noexcept { return detail::elem::exponential::sqrt_eval(x); }
ORMATH_ELEMENTARY_CONSTEXPR float inversesqrt(float x) noexcept {
    return detail::elem::exponential::inversesqrt_eval(x);
}

// The same, component by component.
#define ORMATH_DETAIL_EXPONENTIAL_EACH(name)                                                 \
    ORMATH_ELEMENTARY_CONSTEXPR vec2 name(const vec2& v) noexcept {                          \
        return {ormath::name(v.x), ormath::name(v.y)};                                       \
    }                                                                                        \
    ORMATH_ELEMENTARY_CONSTEXPR vec3 name(const vec3& v) noexcept {                          \
        return {ormath::name(v.x), ormath::name(v.y), ormath::name(v.z)};                    \
    }                                                                                        \
    ORMATH_ELEMENTARY_CONSTEXPR vec4 name(const vec4& v) noexcept {                          \
        return {ormath::name(v.x), ormath::name(v.y), ormath::name(v.z), ormath::name(v.w)}; \
    }
ORMATH_DETAIL_EXPONENTIAL_EACH(exp)
ORMATH_DETAIL_EXPONENTIAL_EACH(exp2)
ORMATH_DETAIL_EXPONENTIAL_EACH(log)
ORMATH_DETAIL_EXPONENTIAL_EACH(log2)
ORMATH_DETAIL_EXPONENTIAL_EACH(sqrt)
ORMATH_DETAIL_EXPONENTIAL_EACH(inversesqrt)
#undef ORMATH_DETAIL_EXPONENTIAL_EACH

ORMATH_ELEMENTARY_CONSTEXPR vec2 pow(const vec2& x, const vec2& y) noexcept {
    return {ormath::pow(x.x, y.x), ormath::pow(x.y, y.y)};
}
ORMATH_ELEMENTARY_CONSTEXPR vec3 pow(const vec3& x, const vec3& y) noexcept {
    return {ormath::pow(x.x, y.x), ormath::pow(x.y, y.y), ormath::pow(x.z, y.z)};
}
ORMATH_ELEMENTARY_CONSTEXPR vec4 pow(const vec4& x, const vec4& y) noexcept {
    return {ormath::pow(x.x, y.x), ormath::pow(x.y, y.y), ormath::pow(x.z, y.z), ormath::pow(x.w, y.w)};
}

}  // namespace ormath
