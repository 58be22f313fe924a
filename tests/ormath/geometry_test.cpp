// The depth conventions of the projections, frustum planes and culling, the
// ray tests, and the printing and hashing of every type: cases whose answers
// are exact (integer geometry, axis-aligned rays).
#include <ormath/io.hpp>
#include <ormath/ormath.hpp>

#include "bits.hpp"

#include <cmath>
#include <cstdlib>
#include <functional>
#include <limits>
#include <sstream>
#include <string>
#include <unordered_set>

using ormath::clip_depth;
using ormath::mat4;
using ormath::vec3;
using ormath::vec4;

namespace {

constexpr float inf = std::numeric_limits<float>::infinity();
constexpr clip_depth conventions[] = {clip_depth::minus_one_to_one, clip_depth::zero_to_one,
                                      clip_depth::one_to_zero};
// The depths of the near and the far plane in each convention.
constexpr float near_depth[] = {-1, 0, 1};
constexpr float far_depth[] = {1, 1, 0};

vec3 to_ndc(const mat4& m, const vec3& p) {
    const vec4 c = m * vec4(p, 1);
    return {c.x / c.w, c.y / c.w, c.z / c.w};
}

// Near plane at z = -1, far plane at z = -3, x and y in -1..1 on the near
// plane: every quotient on the way is exact, so each corner lands on its
// exact clip-space corner, y not flipped.
TEST(ClipDepth, CornersMapToTheirExactDepths) {
    for (int c = 0; c < 3; ++c) {
        const clip_depth depth = conventions[c];
        const mat4 projections[] = {ormath::frustum(-1, 1, -1, 1, 1, 3, depth),
                                    ormath::ortho(-1, 1, -1, 1, 1, 3, depth),
                                    ormath::frustum(-1, 1, -1, 1, 1, inf, depth)};
        for (int which = 0; which < 3; ++which) {
            const float far_scale = which == 0 ? 3 : 1;  // the frustum widens with distance
            for (const float x : {-1.0f, 1.0f}) {
                for (const float y : {-1.0f, 1.0f}) {
                    const mat4& m = projections[which];
                    EXPECT_EQ(to_ndc(m, {x, y, -1}), vec3(x, y, near_depth[c])) << c << " " << which;
                    if (which < 2) {
                        EXPECT_EQ(to_ndc(m, {far_scale * x, far_scale * y, -3}), vec3(x, y, far_depth[c]))
                            << c << " " << which;
                    }
                }
            }
        }
    }
}

TEST(ClipDepth, AnInfiniteFarPlaneGivesTheLimitExactly) {
    // m[2][2] and m[3][2] for z_near = 0.5: the limits of each convention's quotients.
    const float limits[3][2] = {{-1, -1}, {-1, -0.5f}, {0, 0.5f}};
    for (int c = 0; c < 3; ++c) {
        for (const mat4& m : {ormath::frustum(-1, 1, -1, 1, 0.5f, inf, conventions[c]),
                              ormath::perspective(90, 1, 0.5f, inf, conventions[c])}) {
            EXPECT_EQ(bits(m[2][2]), bits(limits[c][0])) << c;
            EXPECT_EQ(bits(m[3][2]), bits(limits[c][1])) << c;
            EXPECT_EQ(m[2][3], -1.0f);
            // Far away, depth tends to the far plane's.
            EXPECT_NEAR(to_ndc(m, {0, 0, -1e30f}).z, far_depth[c], 1e-6f) << c;
        }
    }
}

TEST(PickMatrix, AreaCentredOnThePointAndNonPositiveSizes) {
    // 10 x 20 pixels around (100, 50) of a 640 x 480 viewport at (0, 0):
    // scale 64 and 24, and the pick centre moved to the origin.
    const float expected[16] = {64, 0, 0, 0, 0, 24, 0, 0, 0, 0, 1, 0, 44, 19, 0, 1};
    EXPECT_TRUE(same_floats(ormath::pick_matrix(100, 50, 10, 20, {0, 0, 640, 480}).data(), expected, 16));
    for (const float size : {0.0f, -1.0f, std::nanf("")}) {
        EXPECT_EQ(ormath::pick_matrix(100, 50, size, 20, {0, 0, 640, 480}), mat4());
        EXPECT_EQ(ormath::pick_matrix(100, 50, 10, size, {0, 0, 640, 480}), mat4());
    }
}

// ortho(-1, 1, -1, 1, 1, 3) seen from a camera at z = 10: the box
// -1 <= x, y <= 1, 7 <= z <= 9, whatever the depth convention.
TEST(FrustumPlanes, UnitPlanesInEveryConventionAndTheInfiniteFarPlane) {
    const vec4 expected[6] = {{1, 0, 0, 1},  {-1, 0, 0, 1}, {0, 1, 0, 1},
                              {0, -1, 0, 1}, {0, 0, -1, 9}, {0, 0, 1, -7}};
    for (const clip_depth depth : conventions) {
        const auto planes = ormath::frustum_planes(
            ormath::ortho(-1, 1, -1, 1, 1, 3, depth) * ormath::translate({0, 0, -10}), depth);
        for (int i = 0; i < 6; ++i) {
            EXPECT_EQ(planes[i], expected[i]) << "plane " << i;
        }
        const auto endless = ormath::frustum_planes(ormath::perspective(60, 1.5f, 0.1f, inf, depth), depth);
        EXPECT_TRUE(same_floats(endless[5].data(), vec4(0, 0, 0, 1).data(), 4));
        EXPECT_EQ(endless[4].z, -1.0f);  // the near plane faces -z
    }
}

TEST(Culling, WhollyOutsideOnlyIsCulled) {
    const auto planes = ormath::frustum_planes(ormath::ortho(-1, 1, -1, 1, 1, 3));
    struct row {
        vec3 center;
        float radius;
        bool visible;
    };
    const row spheres[] = {
        {{0, 0, -2}, 0.25f, true},      {{5, 0, -2}, 1, false},    {{1.5f, 0, -2}, 0.5f, true},  // touching
        {{1.5f, 0, -2}, 0.25f, false},  {{0, 0, 0}, 0.75f, false}, {{0, 0, 0}, 1, true},
        {{1.5f, 1.5f, -2}, 0.6f, true},  // outside, near a corner: kept, as culling errs
    };
    for (const row& r : spheres) {
        EXPECT_EQ(ormath::sphere_visible(planes, r.center, r.radius), r.visible)
            << r.center.x << " " << r.radius;
        // The box around the sphere: the same verdict for these.
        EXPECT_EQ(ormath::box_visible(planes, r.center - r.radius, r.center + r.radius), r.visible)
            << r.center.x;
    }
}

// One ray test, its ray, and the expected parameter.
struct ray_case {
    const char* what;
    std::function<float(const vec3&, const vec3&)> test;
    vec3 origin, direction;
    float t;
};

TEST(Rays, ExactParametersInsideStartsGrazingAndDegenerateInput) {
    const auto plane = [](const vec3& o, const vec3& d) { return ormath::ray_plane(o, d, {0, 0, 1, -2}); };
    const auto sphere = [](const vec3& o, const vec3& d) { return ormath::ray_sphere(o, d, {0, 0, 0}, 1); };
    const auto big_sphere = [](const vec3& o, const vec3& d) {
        return ormath::ray_sphere(o, d, {0, 0, 0}, 5);
    };
    const auto box = [](const vec3& o, const vec3& d) {
        return ormath::ray_box(o, d, {-1, -1, -1}, {1, 1, 1});
    };
    const auto triangle = [](const vec3& o, const vec3& d) {
        return ormath::ray_triangle(o, d, {-1, -1, 0}, {1, -1, 0}, {-1, 1, 0});
    };
    const auto sliver = [](const vec3& o, const vec3& d) {
        return ormath::ray_triangle(o, d, {-1, 0, 0}, {0, 0, 0}, {1, 0, 0});
    };
    const ray_case cases[] = {
        {"plane ahead", plane, {0, 0, -6}, {0, 0, 2}, 4},
        {"plane from behind", plane, {1, 2, 5}, {0, 0, -1}, 3},
        {"plane behind", plane, {0, 0, 5}, {0, 0, 1}, inf},
        {"plane along", plane, {0, 0, 5}, {1, 0, 0}, inf},
        {"plane on it", plane, {3, 0, 2}, {1, 0, 0}, 0},
        {"plane zero direction", plane, {0, 0, 5}, {0, 0, 0}, inf},
        {"sphere ahead", sphere, {0, 0, -5}, {0, 0, 1}, 4},
        {"sphere, long direction", sphere, {0, 0, -5}, {0, 0, 4}, 1},
        {"sphere grazing", sphere, {1, 0, -5}, {0, 0, 1}, 5},
        {"sphere passing by", sphere, {1.5f, 0, -5}, {0, 0, 1}, inf},
        {"sphere behind", sphere, {0, 0, -5}, {0, 0, -1}, inf},
        {"sphere inside", sphere, {0, 0, 0}, {0, 0, 2}, 0.5f},
        {"sphere inside, off centre", big_sphere, {0, 3, 0}, {-1, 0, 0}, 4},
        {"sphere on it, going in", sphere, {0, 0, -1}, {0, 0, 1}, 0},
        {"sphere zero direction", sphere, {0, 0, 0.5f}, {0, 0, 0}, inf},
        {"box ahead", box, {0, 0, -5}, {0, 0, 1}, 4},
        {"box ahead, oblique", box, {-3, -2, 0}, {1, 1, 0}, 2},
        {"box along an edge", box, {1, 1, -5}, {0, 0, 1}, 4},
        {"box passing by", box, {1.5f, 0, -5}, {0, 0, 1}, inf},
        {"box behind", box, {0, 0, 5}, {0, 0, 1}, inf},
        {"box inside", box, {0, 0.5f, 0}, {0, 2, 0}, 0.25f},
        {"box on a face, going out", box, {1, 0, 0}, {1, 0, 0}, 0},
        {"box on a face, going along", box, {1, 0, 0}, {0, 1, 0}, 0},
        {"box zero direction", box, {0, 0, 0}, {0, 0, 0}, inf},
        {"triangle front", triangle, {-0.5f, -0.5f, -5}, {0, 0, 1}, 5},
        {"triangle back", triangle, {-0.5f, -0.5f, 5}, {0, 0, -2}, 2.5f},
        {"triangle edge", triangle, {0, 0, -5}, {0, 0, 1}, 5},
        {"triangle corner", triangle, {1, -1, -5}, {0, 0, 1}, 5},
        {"triangle miss", triangle, {0.5f, 0.5f, -5}, {0, 0, 1}, inf},
        {"triangle behind", triangle, {-0.5f, -0.5f, 5}, {0, 0, 1}, inf},
        {"triangle on it", triangle, {-0.5f, -0.5f, 0}, {0, 0, 1}, 0},
        {"triangle in its plane", triangle, {-5, -0.5f, 0}, {1, 0, 0}, inf},
        {"triangle zero direction", triangle, {-0.5f, -0.5f, 0}, {0, 0, 0}, inf},
        {"triangle of no area", sliver, {0, 0, -5}, {0, 0, 1}, inf},
    };
    for (const ray_case& c : cases) {
        EXPECT_EQ(bits(c.test(c.origin, c.direction)), bits(c.t)) << c.what;
    }
}

TEST(Io, ShortestRoundTripDecimalsUnderTheConstructorsName) {
    const auto text = [](const auto& v) {
        std::ostringstream out;
        out << v;
        return out.str();
    };
    EXPECT_EQ(text(vec3(1, 0.5f, -0.0f)), "vec3(1, 0.5, -0)");
    EXPECT_EQ(text(ormath::vec2(0.1f, 0x1.fffffep+127f)), "vec2(0.1, 3.4028235e+38)");
    EXPECT_EQ(text(vec4(inf, -inf, 1e-45f, 16777216)), "vec4(inf, -inf, 1e-45, 16777216)");
    EXPECT_EQ(text(ormath::mat2(ormath::vec2(1, 2), ormath::vec2(3, 4))), "mat2(1, 2, 3, 4)");
    EXPECT_EQ(text(ormath::mat3()), "mat3(1, 0, 0, 0, 1, 0, 0, 0, 1)");
    EXPECT_EQ(text(mat4()), "mat4(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1)");
    EXPECT_EQ(text(ormath::quat()), "quat(0, 0, 0, 1)");
    EXPECT_EQ(text(ormath::ivec3(-2147483647 - 1, 0, 7)), "ivec3(-2147483648, 0, 7)");
    EXPECT_EQ(text(ormath::uvec2(4294967295u, 1)), "uvec2(4294967295, 1)");
    EXPECT_EQ(text(ormath::bvec2(true, false)), "bvec2(true, false)");
    // Every float reads back as itself.
    for (const float f : {0x1.921fb6p+1f, 0x1.000002p+0f, 0x1.5p-140f, -0x1.99999ap-4f}) {
        const std::string printed = text(ormath::vec2(f, 0));
        EXPECT_EQ(bits(std::strtof(printed.c_str() + 5, nullptr)), bits(f)) << printed;
    }
}

TEST(Hash, AgreesWithEqualityAcrossSignedZeros) {
    EXPECT_EQ(std::hash<vec3>()(vec3(0, -0.0f, 1)), std::hash<vec3>()(vec3(-0.0f, 0, 1)));
    EXPECT_EQ(std::hash<ormath::quat>()(ormath::quat(-0.0f, 0, 0, 1)),
              std::hash<ormath::quat>()(ormath::quat()));
    const std::unordered_set<mat4> matrices = {mat4(), mat4(0), mat4(-0.0f), mat4(2),
                                               ormath::translate({1, 0, 0})};
    EXPECT_EQ(matrices.size(), 4u);
    const std::unordered_set<vec4> vectors = {vec4(1, 2, 3, 4), vec4(4, 3, 2, 1), vec4(1, 2, 3, 4), vec4(0)};
    EXPECT_EQ(vectors.size(), 3u);
    EXPECT_NE(std::hash<ormath::vec2>()(ormath::vec2(1, 2)), std::hash<ormath::vec2>()(ormath::vec2(2, 1)));
    const std::unordered_set<ormath::ivec2> integers = {{1, 2}, {2, 1}, {1, 2}, {-1, 0}};
    EXPECT_EQ(integers.size(), 3u);
    EXPECT_NE(std::hash<ormath::bvec3>()(ormath::bvec3(true, false, false)),
              std::hash<ormath::bvec3>()(ormath::bvec3(false, true, false)));
    EXPECT_NE(std::hash<ormath::mat2>()(ormath::mat2()), std::hash<ormath::mat2>()(ormath::mat2(0)));
}

}  // namespace
