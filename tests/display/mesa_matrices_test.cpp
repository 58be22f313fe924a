// The matrices the library stage loads, against those Mesa builds itself from
// glLoadIdentity, glTranslatef, glRotatef and gluPerspective, in a real GL
// context of a window made by the demos' own create_window. Both are read
// back with glGetFloatv.
//
// Tolerance. With u = 2^-24, the unit roundoff of float: Ormath turns degrees
// into radians in float, one product with the float pi/180, each off by at
// most u relative, so its argument is off by at most 2u|a| for an angle of a
// radians; Mesa's is off by as much again if it converts in float too, or by
// nothing in double. sin and cos have slope at most 1, so the two turn by
// values at most 4u|a| apart. On top of that each side rounds its sin and cos
// (under an ulp, 2u) and up to four sums and products of values no larger
// than 1 per entry (u each), and Mesa normalises the axis: 16u covers it.
// Hence |ormath - mesa| <= 16u + 4u|a| for entries of size up to 1, and
// relative to the entry for the projection, whose entries are all built the
// same way from one tangent. Entries that neither side computes (the zeros,
// the translation column of T x R, the homogeneous 1) must agree exactly.
#include <GL/gl.h>
#include <GL/glu.h>
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <iterator>
#include <string>
#include <vector>

#include <ormath/ormath.hpp>

#include "scene/transform.hpp"
#include "shell/shell.hpp"

// The library programs' turn.
extern const float rotation_rate = 10.0f;

namespace {

using Matrix = std::array<float, 16>;
constexpr double u = 0x1p-24;

Matrix read_back(GLenum which) {
    Matrix m{};
    glGetFloatv(which, m.data());
    return m;
}

double bound(float angle_degrees) { return 16 * u + 4 * u * std::fabs(angle_degrees * M_PI / 180); }

// Element 4c + r is row r of column c. Bit i set: entry i comes from zeros and
// ones only, on both sides. For any T x R, with T a translation and R a
// rotation, that is row 3 and column 3; a turn about z adds the other
// entries of row 2 and column 2 but the diagonal.
constexpr unsigned exact_for_any_axis = 0xF888;
constexpr unsigned exact_for_z_axis = exact_for_any_axis | 0x0344;

std::string describe(const float* values, std::size_t n) {
    std::string text;
    char number[32];
    for (std::size_t i = 0; i < n; ++i) {
        std::snprintf(number, sizeof number, " %.9g", static_cast<double>(values[i]));
        text += number;
    }
    return text;
}
std::string describe(const Matrix& m) { return describe(m.data(), m.size()); }
std::string describe(std::initializer_list<float> values) { return describe(values.begin(), values.size()); }

class MesaMatrices : public ::testing::Test {
 protected:
    static void SetUpTestSuite() {
        window_open = create_window("mesa_matrices_test", 640, 480, false);
        if (!window_open) {
            std::fprintf(stderr, "mesa_matrices_test: no window: %s\n", SDL_GetError());
        }
    }
    static void TearDownTestSuite() { destroy_window(); }
    void SetUp() override { ASSERT_TRUE(window_open) << "create_window failed on this display"; }

    // Compares every entry with its bound; a bound of 0 asks for the same
    // value. Reports the worst difference as a share of its bound.
    static void compare(const Matrix& ormath, const Matrix& mesa, const std::array<double, 16>& allowed,
                        const std::string& what, double& worst) {
        for (int i = 0; i < 16; ++i) {
            const double difference = std::fabs(static_cast<double>(ormath[i]) - mesa[i]);
            if (allowed[i] > 0) {
                worst = std::max(worst, difference / allowed[i]);
            }
            EXPECT_LE(difference, allowed[i]) << what << ", entry " << i << "\normath:" << describe(ormath)
                                              << "\nmesa:  " << describe(mesa);
        }
    }
    // The same with one bound, and entries that must agree exactly.
    static void compare(const Matrix& ormath, const Matrix& mesa, unsigned exact, double tolerance,
                        const std::string& what, double& worst) {
        std::array<double, 16> allowed{};
        for (int i = 0; i < 16; ++i) {
            allowed[i] = ((exact >> i) & 1u) != 0 ? 0 : tolerance;
        }
        compare(ormath, mesa, allowed, what, worst);
    }

    static bool window_open;
};

bool MesaMatrices::window_open = false;

TEST_F(MesaMatrices, ProjectionMatchesGluPerspective) {
    library_projection(640, 480);
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_PROJECTION);
    const Matrix ormath = read_back(GL_PROJECTION_MATRIX);

    glLoadIdentity();
    gluPerspective(45.0, static_cast<double>(4.0f / 3.0f), static_cast<double>(0.1f), 100.0);
    const Matrix mesa = read_back(GL_PROJECTION_MATRIX);

    // The perspective entries have no translation column; -1 in row 3 and
    // the zeros are exact on both sides.
    double worst = 0;
    for (int i : {0, 5, 10, 14}) {
        const double allowed = 16 * u * std::fabs(mesa[i]);
        const double difference = std::fabs(static_cast<double>(ormath[i]) - mesa[i]);
        worst = std::max(worst, difference / allowed);
        EXPECT_LE(difference, allowed)
            << "entry " << i << "\normath:" << describe(ormath) << "\nmesa:  " << describe(mesa);
    }
    for (int i = 0; i < 16; ++i) {
        if (i != 0 && i != 5 && i != 10 && i != 14) {
            EXPECT_EQ(ormath[i], mesa[i]) << "entry " << i;
        }
    }
    EXPECT_EQ(mesa[11], -1.0f);
    std::printf("projection: worst difference %.3f of the bound\n", worst);
}

TEST_F(MesaMatrices, ModelviewMatchesTranslateThenRotate) {
    // The clock of the first hour of frames at 1 degree each, then far-out
    // clock values (the angle is never folded into one turn) and a few
    // negative ones.
    std::vector<float> clocks;
    float clock = 0.0f;
    for (int frame = 1; frame <= 3600; ++frame) {
        clock = clock + 0.1f;
        clocks.push_back(clock);
    }
    for (float t : {0.0f, 100.0f, 1234.5f, 99999.9f, 0x1p20f, 0x1p21f, -0.1f, -9.0f, -123.4f}) {
        clocks.push_back(t);
    }

    double worst = 0;
    for (float t : clocks) {
        library_modelview(t);
        GLint mode = 0;
        glGetIntegerv(GL_MATRIX_MODE, &mode);
        ASSERT_EQ(mode, GL_MODELVIEW);
        const Matrix ormath = read_back(GL_MODELVIEW_MATRIX);

        const float angle = t * rotation_rate;
        glLoadIdentity();
        glTranslatef(0, 0, -4);
        glRotatef(angle, 0, 0, 1);
        const Matrix mesa = read_back(GL_MODELVIEW_MATRIX);
        compare(ormath, mesa, exact_for_z_axis, bound(angle), "clock " + std::to_string(t), worst);
        if (HasFailure()) {
            break;  // one clock value's report says it all
        }
    }
    std::printf("model-view over %zu clock values: worst difference %.3f of the bound\n", clocks.size(),
                worst);
}

TEST_F(MesaMatrices, RotateMatchesGlRotateAboutAnyAxis) {
    const float third = 1.0f / std::sqrt(3.0f);
    const std::vector<ormath::vec3> axes = {
        {1, 0, 0},
        {0, 1, 0},
        {0, 0, -1},
        {0.6f, 0.8f, 0},
        {0, 0.6f, -0.8f},
        {third, third, third},
        {-0.36f, 0.48f, 0.8f},
        {-1, 0, 0},
    };
    const std::vector<float> angles = {-720, -359.5f, -90,    -45, -1,  0.5f, 1,
                                       30,   90,      123.4f, 180, 270, 359,  1000};
    glMatrixMode(GL_MODELVIEW);
    double worst = 0;
    for (const ormath::vec3& axis : axes) {
        for (float angle : angles) {
            const ormath::mat4 r = ormath::rotate(angle, axis);
            Matrix ormath_matrix;
            std::copy(r.data(), r.data() + 16, ormath_matrix.begin());
            glLoadIdentity();
            glRotatef(angle, axis.x, axis.y, axis.z);
            const Matrix mesa = read_back(GL_MODELVIEW_MATRIX);
            compare(ormath_matrix, mesa, exact_for_any_axis, bound(angle),
                    "axis (" + std::to_string(axis.x) + ", " + std::to_string(axis.y) + ", " +
                        std::to_string(axis.z) + "), angle " + std::to_string(angle),
                    worst);
        }
    }
    std::printf("rotate over %zu axes and %zu angles: worst difference %.3f of the bound\n", axes.size(),
                angles.size(), worst);
}

// ---------------------------------------------------------------- cameras and projections
//
// Bounds, norm-wise for unit vectors (which bounds every entry), each side in
// float or double. look_at: center - eye turns by 2u in its rounding and
// normalising adds 3.5u (a 3-term dot, a square root, a quotient): f is within
// 5.5u. f x up moves by 5.5u|up| with f and 3.5u|up| in its roundings, so s,
// its normalisation, turns by 18u / sin(theta) + 3.5u, theta the angle between
// up and the view; u' = s x f adds f's error and 3.5u. Each side's rotation is
// within 18u / sin(theta) + 12.5u, the two within twice that; the translation
// column is the rotation applied to -eye, off by that times |eye| plus a 3-term
// dot's 3u |eye| a side. Row 3 is (0, 0, 0, 1) on both sides.
// frustum, ortho: each entry is a quotient of a sum, difference or product of
// the planes, three roundings a side: 6u relative, 8u with second-order terms;
// the entries neither side computes (0, -1) must then agree exactly.
// project (GLU in double, exact for our purpose, on the same float matrices):
// with a = |P| |M| |(o, 1)|, Ormath's clip point c is within 8u a (two 4-term
// products); c / c.w moves by 8u (a + |ndc| a.w) / |c.w| plus u |ndc|, times
// width / 2 in the window, whose three roundings add u (width |ndc + 1| +
// |window|); depth likewise with width 1.
// unproject, with A = P M and X its inverse in double: Ormath's product is
// within 4u |P||M| of A; a relative perturbation d of A moves the inverse by
// kappa d, kappa = |A| |X| (infinity norms), and we count the inverse's own
// roundings as one more of 24u (six on the longest path to an adjugate entry,
// four terms that may cancel): |dX| <= kappa |X| (4u |P||M| / |A| + 24u). The
// point v off by 3u (|v| + 1) and q = X v by |dX||v| + |X||dv| + 4u |X||v|,
// p = q.xyz / q.w moves by |dq| (1 + |p|) / |q.w| + u |p|.

struct camera {
    ormath::vec3 eye, center, up;
};
// On-axis and off-axis, up of any length, at any angle not close to the view.
const camera cameras[] = {
    {{0, 0, 5}, {0, 0, 0}, {0, 1, 0}},
    {{3, 2, -7}, {0.5f, -1, 2}, {0, 1, 0}},
    {{-4, 6, 1.5f}, {1, 1, 1}, {0.3f, 0.9f, 0.2f}},
    {{10, -3, 8}, {-2, 4, -6}, {0, 0, 2.5f}},
    {{0.25f, -0.5f, 0.125f}, {0.25f, -0.5f, -3}, {-1, 0.5f, 0}},
    {{-7, -7, -7}, {0, 0, 0}, {1, 0, 0}},
};
struct planes {
    float left, right, bottom, top, z_near, z_far;
};
// Symmetric, asymmetric, wholly off the axis, and a window's pixels.
const planes volumes[] = {
    {-1, 1, -0.75f, 0.75f, 1, 100},
    {-0.3f, 0.5f, -0.2f, 0.4f, 0.1f, 50},
    {2, 3, -1, -0.5f, 0.5f, 10},
    {0, 640, 0, 480, 0.5f, 2},
};

Matrix to_matrix(const ormath::mat4& m) {
    Matrix r;
    std::copy(m.data(), m.data() + 16, r.begin());
    return r;
}
ormath::mat4 to_mat4(const Matrix& m) {
    ormath::mat4 r;
    std::copy(m.begin(), m.end(), r.data());
    return r;
}
Matrix mesa_look_at(const camera& c) {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(c.eye.x, c.eye.y, c.eye.z, c.center.x, c.center.y, c.center.z, c.up.x, c.up.y, c.up.z);
    return read_back(GL_MODELVIEW_MATRIX);
}
Matrix mesa_volume(void (*load)(GLdouble, GLdouble, GLdouble, GLdouble, GLdouble, GLdouble),
                   const planes& v) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    load(v.left, v.right, v.bottom, v.top, v.z_near, v.z_far);
    return read_back(GL_PROJECTION_MATRIX);
}

// In double, for the bounds only; element 4c + r as in Matrix.
using Exact = std::array<double, 16>;
using Exact4 = std::array<double, 4>;
Exact product(const Matrix& a, const Matrix& b, bool absolute) {
    Exact r{};
    for (int i = 0; i < 16; ++i) {
        for (int k = 0; k < 4; ++k) {
            const double term = double{a[4 * k + i % 4]} * b[i - i % 4 + k];
            r[i] += absolute ? std::fabs(term) : term;
        }
    }
    return r;
}
Exact4 apply(const Exact& m, const Exact4& v) {
    Exact4 r{};
    for (int i = 0; i < 16; ++i) {
        r[i % 4] += m[i] * v[i / 4];
    }
    return r;
}
double norm_inf(const Exact& m) {
    double worst = 0;
    for (int r = 0; r < 4; ++r) {
        worst = std::max(worst,
                         std::fabs(m[r]) + std::fabs(m[4 + r]) + std::fabs(m[8 + r]) + std::fabs(m[12 + r]));
    }
    return worst;
}
// Gauss-Jordan elimination with partial pivoting.
Exact invert(Exact a) {
    Exact x{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    // Row to becomes row to - f * row from, or -f * row to when they are the same row.
    auto row_op = [&](int to, int from, double f) {
        for (int k = 0; k < 16; k += 4) {
            a[k + to] = (from == to ? 0 : a[k + to]) - f * a[k + from];
            x[k + to] = (from == to ? 0 : x[k + to]) - f * x[k + from];
        }
    };
    for (int c = 0; c < 4; ++c) {
        int pivot = c;
        for (int r = c + 1; r < 4; ++r) {
            pivot = std::fabs(a[4 * c + r]) > std::fabs(a[4 * c + pivot]) ? r : pivot;
        }
        for (int k = 0; k < 16; k += 4) {
            std::swap(a[k + c], a[k + pivot]);
            std::swap(x[k + c], x[k + pivot]);
        }
        row_op(c, c, -1 / a[4 * c + c]);
        for (int r = 0; r < 4; ++r) {
            if (r != c) {
                row_op(r, c, a[4 * c + r]);
            }
        }
    }
    return x;
}

TEST_F(MesaMatrices, LookAtMatchesGluLookAt) {
    double worst = 0;
    for (const camera& c : cameras) {
        const double f[3] = {double{c.center.x} - c.eye.x, double{c.center.y} - c.eye.y,
                             double{c.center.z} - c.eye.z};
        const double sin_theta = std::hypot(f[1] * c.up.z - f[2] * c.up.y, f[2] * c.up.x - f[0] * c.up.z,
                                            f[0] * c.up.y - f[1] * c.up.x) /
                                 (std::hypot(f[0], f[1], f[2]) * std::hypot(c.up.x, c.up.y, c.up.z));
        const double rotation = 2 * (18 * u / sin_theta + 12.5 * u);
        std::array<double, 16> allowed{};
        for (int i = 0; i < 15; ++i) {
            allowed[i] = i % 4 == 3 ? 0
                         : i < 12   ? rotation
                                    : (rotation + 6 * u) * std::hypot(c.eye.x, c.eye.y, c.eye.z);
        }
        compare(to_matrix(ormath::look_at(c.eye, c.center, c.up)), mesa_look_at(c), allowed,
                "eye" + describe({c.eye.x, c.eye.y, c.eye.z}) + ", center" +
                    describe({c.center.x, c.center.y, c.center.z}),
                worst);
    }
    std::printf("look_at over %zu cameras: worst difference %.3g of the bound\n", std::size(cameras), worst);
}

TEST_F(MesaMatrices, FrustumAndOrthoMatchGl) {
    double worst = 0;
    for (const planes& v : volumes) {
        for (const bool is_frustum : {true, false}) {
            const Matrix mesa = mesa_volume(is_frustum ? glFrustum : glOrtho, v);
            const ormath::mat4 m = is_frustum
                                       ? ormath::frustum(v.left, v.right, v.bottom, v.top, v.z_near, v.z_far)
                                       : ormath::ortho(v.left, v.right, v.bottom, v.top, v.z_near, v.z_far);
            std::array<double, 16> allowed{};
            for (int i = 0; i < 16; ++i) {
                allowed[i] = 8 * u * std::fabs(mesa[i]);
            }
            compare(to_matrix(m), mesa, allowed,
                    (is_frustum ? "frustum" : "ortho") +
                        describe({v.left, v.right, v.bottom, v.top, v.z_near, v.z_far}),
                    worst);
        }
    }
    std::printf("frustum and ortho over %zu volumes: worst difference %.3g of the bound\n",
                std::size(volumes), worst);
}

// gluOrtho2D is glOrtho with z_near = -1 and z_far = 1: the bound of glOrtho
// above. gluPickMatrix computes in double and loads float(double) entries,
// each within u of its exact value; Ormath's diagonal is one quotient (u),
// and its translation (viewport.z - 2 * (x - viewport.x)) / width rounds a
// difference, a difference and a quotient, u each relative to the sizes
// involved: 4u (|viewport.z| + 2 |x - viewport.x| + 2 |viewport.x|) / width
// covers both sides. A size that is not positive leaves Mesa's matrix alone,
// and Ormath gives the identity.
struct pick {
    float x, y, width, height;
    GLint viewport[4];
};
const pick picks[] = {
    {320, 240, 5, 5, {0, 0, 640, 480}},
    {100.25f, 37.5f, 3, 7, {0, 0, 640, 480}},
    {250, 125, 10, 20, {100, 50, 300, 200}},
    {0, 0, 1, 1, {0, 0, 640, 480}},
    {700.7f, -3.3f, 2.5f, 0.5f, {10, 20, 640, 480}},
    {320, 240, 0, 5, {0, 0, 640, 480}},
    {320, 240, 5, -1, {0, 0, 640, 480}},
};

TEST_F(MesaMatrices, Ortho2DAndPickMatrixMatchGlu) {
    double worst = 0;
    glMatrixMode(GL_PROJECTION);
    for (const planes& v : volumes) {
        glLoadIdentity();
        gluOrtho2D(v.left, v.right, v.bottom, v.top);
        const Matrix mesa = read_back(GL_PROJECTION_MATRIX);
        std::array<double, 16> allowed{};
        for (int i = 0; i < 16; ++i) {
            allowed[i] = 8 * u * std::fabs(mesa[i]);
        }
        compare(to_matrix(ormath::ortho(v.left, v.right, v.bottom, v.top)), mesa, allowed,
                "ortho" + describe({v.left, v.right, v.bottom, v.top}), worst);
    }
    for (const pick& p : picks) {
        glLoadIdentity();
        GLint viewport[4];
        std::copy(p.viewport, p.viewport + 4, viewport);
        gluPickMatrix(p.x, p.y, p.width, p.height, viewport);
        const Matrix mesa = read_back(GL_PROJECTION_MATRIX);
        const ormath::vec4 vp(static_cast<float>(p.viewport[0]), static_cast<float>(p.viewport[1]),
                              static_cast<float>(p.viewport[2]), static_cast<float>(p.viewport[3]));
        std::array<double, 16> allowed{};
        if (p.width > 0 && p.height > 0) {
            allowed[0] = u * std::fabs(mesa[0]);
            allowed[5] = u * std::fabs(mesa[5]);
            allowed[12] = 4 * u * (vp.z + 2 * std::fabs(p.x - vp.x) + 2 * std::fabs(vp.x)) / p.width;
            allowed[13] = 4 * u * (vp.w + 2 * std::fabs(p.y - vp.y) + 2 * std::fabs(vp.y)) / p.height;
        }
        compare(to_matrix(ormath::pick_matrix(p.x, p.y, p.width, p.height, vp)), mesa, allowed,
                "pick_matrix" + describe({p.x, p.y, p.width, p.height}), worst);
    }
    std::printf(
        "ortho 2-D over %zu volumes and pick_matrix over %zu areas: worst difference %.3g of the bound\n",
        std::size(volumes), std::size(picks), worst);
}

TEST_F(MesaMatrices, ProjectAndUnprojectMatchGlu) {
    const GLint viewports[][4] = {{0, 0, 640, 480}, {100, 50, 300, 200}};
    const ormath::vec3 offsets[] = {{0, 0, 0}, {0.3f, -0.2f, 0.1f}, {-1, 0.5f, 0.75f}};
    double worst_project = 0, worst_unproject = 0;
    for (std::size_t i = 0; i < std::size(cameras); ++i) {
        const Matrix modelview = mesa_look_at(cameras[i]);
        const Matrix projection = mesa_volume(glFrustum, volumes[i % 3]);  // the perspective ones
        GLdouble mv[16], pr[16];
        std::copy(modelview.begin(), modelview.end(), mv);
        std::copy(projection.begin(), projection.end(), pr);
        const Exact a = product(projection, modelview, false), size = product(projection, modelview, true);
        const Exact x = invert(a);
        const double x_error =
            norm_inf(a) * norm_inf(x) * norm_inf(x) * (4 * u * norm_inf(size) / norm_inf(a) + 24 * u);
        for (const GLint* vp : viewports) {
            const ormath::vec4 viewport(static_cast<float>(vp[0]), static_cast<float>(vp[1]),
                                        static_cast<float>(vp[2]), static_cast<float>(vp[3]));
            for (const ormath::vec3& d : offsets) {
                const ormath::vec3 o(cameras[i].center.x + d.x, cameras[i].center.y + d.y,
                                     cameras[i].center.z + d.z);
                const std::string what =
                    "camera " + std::to_string(i) + ", object" + describe({o.x, o.y, o.z});
                double mesa[3], back[3];
                ASSERT_EQ(gluProject(o.x, o.y, o.z, mv, pr, vp, &mesa[0], &mesa[1], &mesa[2]), GL_TRUE);
                const ormath::vec3 window =
                    ormath::project(o, to_mat4(modelview), to_mat4(projection), viewport);
                const Exact4 c = apply(a, {o.x, o.y, o.z, 1});
                const Exact4 c_size = apply(size, {std::fabs(o.x), std::fabs(o.y), std::fabs(o.z), 1});

                // Back from Mesa's window point, rounded to float.
                const ormath::vec3 w(static_cast<float>(mesa[0]), static_cast<float>(mesa[1]),
                                     static_cast<float>(mesa[2]));
                ASSERT_EQ(gluUnProject(w.x, w.y, w.z, mv, pr, vp, &back[0], &back[1], &back[2]), GL_TRUE);
                const ormath::vec3 object =
                    ormath::unproject(w, to_mat4(modelview), to_mat4(projection), viewport);
                const Exact4 v = {(double{w.x} - vp[0]) / vp[2] * 2 - 1,
                                  (double{w.y} - vp[1]) / vp[3] * 2 - 1, double{w.z} * 2 - 1, 1};
                const double v_size = std::max({std::fabs(v[0]), std::fabs(v[1]), std::fabs(v[2]), 1.0});
                const double q_error =
                    x_error * v_size + norm_inf(x) * (3 * u * (v_size + 1) + 4 * u * v_size);
                const double q_w = std::fabs(apply(x, v)[3]);

                for (int k = 0; k < 3; ++k) {
                    const double ndc = c[k] / c[3], half = k < 2 ? vp[k + 2] / 2.0 : 0.5;
                    const double project_bound =
                        half * (8 * u * (c_size[k] + std::fabs(ndc) * c_size[3]) / std::fabs(c[3]) +
                                u * std::fabs(ndc)) +
                        u * (2 * half * std::fabs(ndc + 1) + std::fabs(mesa[k]));
                    const double unproject_bound =
                        q_error * (1 + std::fabs(back[k])) / q_w + u * std::fabs(back[k]);
                    worst_project = std::max(worst_project, std::fabs(window[k] - mesa[k]) / project_bound);
                    worst_unproject =
                        std::max(worst_unproject, std::fabs(object[k] - back[k]) / unproject_bound);
                    EXPECT_LE(std::fabs(window[k] - mesa[k]), project_bound)
                        << "project, " << what << ", coordinate " << k;
                    EXPECT_LE(std::fabs(object[k] - back[k]), unproject_bound)
                        << "unproject, " << what << ", coordinate " << k;
                }
            }
        }
    }
    std::printf("project and unproject over %zu cases: worst difference %.3g and %.3g of the bound\n",
                std::size(cameras) * std::size(viewports) * std::size(offsets), worst_project,
                worst_unproject);
}

}  // namespace
