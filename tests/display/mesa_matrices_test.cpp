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
// look_at against gluLookAt. Each side forms f = (center - eye) / |center - eye|,
// s = f x up / |f x up|, u' = s x f, in float or in double. For unit vectors
// (norm-wise, which bounds every entry): rounding center - eye turns it by at
// most 2u and normalising adds 3.5u (a 3-term dot product, its square root,
// one quotient), so f is within 5.5u. f x up moves by 5.5u|up| with f and by
// 3.5u|up| more in its own roundings; divided by its length |up| sin(theta),
// with theta the angle between up and the view, twice that (18u / sin(theta))
// bounds the turn of s, plus 3.5u for its normalisation. u' = s x f adds the
// errors of s and f and 3.5u. So each side's rotation is within
// 18u / sin(theta) + 12.5u of the exact one, and the two within twice that.
// The translation column is the rotation applied to -eye: rows off by that
// much, times |eye|, plus a 3-term dot product's 3u |eye| on each side.
// Row 3 is (0, 0, 0, 1) on both sides.
//
// frustum and ortho against glFrustum and glOrtho: every entry is a quotient
// of a sum, difference or product of the (float) planes, three roundings on
// a side that computes in float, one in double: at most 6u relative, and 8u
// covers the second-order terms. Entries that neither side computes are 0 or
// -1 on both, which the relative bound asks for exactly.
//
// project against gluProject (double, exact to our purpose) on the same
// float matrices read back from Mesa: with a = |P| |M| |(o, 1)| taken
// entry by entry, Ormath's clip coordinates c are within 8u a (two 4-term
// products, 4u each); c.xyz / c.w then moves by 8u (a.xyz + |ndc| a.w) / |c.w|
// plus a rounding, and the viewport mapping, width / 2 times that, adds
// u (width |ndc + 1| + |window|) for its three roundings; depth likewise with
// width 1.
//
// unproject against gluUnProject (double), with A = P M and X its inverse in
// double: Ormath's product is within 4u |P| |M| of A, and a relative
// perturbation d of A moves the inverse by kappa d relative, kappa the
// condition number |A| |X| (infinity norms), so with the inverse's own
// roundings counted as one more such perturbation of 24u (six roundings on
// the longest path to an adjugate entry, four terms that may cancel),
// |dX| <= kappa |X| (4u |P||M| / |A| + 24u). The normalised window point v is
// off by 3u (|v| + 1), the product q = X v by |dX| |v| + |X| |dv| + 4u |X| |v|,
// and p = q.xyz / q.w by |dq| (1 + |p|) / |q.w| plus a rounding.

struct camera {
    ormath::vec3 eye, center, up;
};
// On-axis and off-axis, up of any length and at any angle not close to the view.
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
// Symmetric, asymmetric, wholly to one side of the axis, and a window's pixels.
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
double norm(const ormath::vec3& v) {
    return std::sqrt(static_cast<double>(v.x) * v.x + static_cast<double>(v.y) * v.y +
                     static_cast<double>(v.z) * v.z);
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

// Row-major 4x4 helpers in double, for the bounds only.
using Exact = std::array<double, 16>;  // element 4c + r, as Matrix
Exact product(const Exact& a, const Exact& b) {
    Exact r{};
    for (int c = 0; c < 4; ++c) {
        for (int row = 0; row < 4; ++row) {
            for (int k = 0; k < 4; ++k) {
                r[4 * c + row] += a[4 * k + row] * b[4 * c + k];
            }
        }
    }
    return r;
}
Exact widen(const Matrix& m, bool absolute) {
    Exact r;
    for (int i = 0; i < 16; ++i) {
        r[i] = absolute ? std::fabs(static_cast<double>(m[i])) : static_cast<double>(m[i]);
    }
    return r;
}
std::array<double, 4> apply(const Exact& m, const std::array<double, 4>& v) {
    std::array<double, 4> r{};
    for (int row = 0; row < 4; ++row) {
        for (int k = 0; k < 4; ++k) {
            r[row] += m[4 * k + row] * v[k];
        }
    }
    return r;
}
double norm_inf(const Exact& m) {
    double worst = 0;
    for (int row = 0; row < 4; ++row) {
        worst = std::max(worst, std::fabs(m[row]) + std::fabs(m[4 + row]) + std::fabs(m[8 + row]) +
                                    std::fabs(m[12 + row]));
    }
    return worst;
}
// Gauss-Jordan elimination with partial pivoting.
Exact invert(Exact a) {
    Exact x{};
    for (int i = 0; i < 4; ++i) {
        x[5 * i] = 1;
    }
    auto at = [](Exact& m, int row, int col) -> double& { return m[4 * col + row]; };
    for (int col = 0; col < 4; ++col) {
        int pivot = col;
        for (int row = col + 1; row < 4; ++row) {
            pivot = std::fabs(at(a, row, col)) > std::fabs(at(a, pivot, col)) ? row : pivot;
        }
        for (int k = 0; k < 4; ++k) {
            std::swap(at(a, col, k), at(a, pivot, k));
            std::swap(at(x, col, k), at(x, pivot, k));
        }
        const double d = at(a, col, col);
        for (int k = 0; k < 4; ++k) {
            at(a, col, k) /= d;
            at(x, col, k) /= d;
        }
        for (int row = 0; row < 4; ++row) {
            const double f = row == col ? 0 : at(a, row, col);
            for (int k = 0; k < 4; ++k) {
                at(a, row, k) -= f * at(a, col, k);
                at(x, row, k) -= f * at(x, col, k);
            }
        }
    }
    return x;
}

TEST_F(MesaMatrices, LookAtMatchesGluLookAt) {
    double worst = 0;
    for (const camera& c : cameras) {
        const ormath::vec3 f = ormath::vec3(c.center.x - c.eye.x, c.center.y - c.eye.y, c.center.z - c.eye.z);
        const ormath::vec3 side(f.y * c.up.z - f.z * c.up.y, f.z * c.up.x - f.x * c.up.z,
                                f.x * c.up.y - f.y * c.up.x);
        const double sin_theta = norm(side) / (norm(f) * norm(c.up));  // to a few u, ample for a bound
        const double rotation = 2 * (18 * u / sin_theta + 12.5 * u);
        std::array<double, 16> allowed{};
        for (int i = 0; i < 16; ++i) {
            if (i % 4 != 3) {
                allowed[i] = i < 12 ? rotation : (rotation + 6 * u) * norm(c.eye);
            }
        }
        compare(to_matrix(ormath::look_at(c.eye, c.center, c.up)), mesa_look_at(c), allowed,
                "eye " + describe({c.eye.x, c.eye.y, c.eye.z}) + ", center " +
                    describe({c.center.x, c.center.y, c.center.z}),
                worst);
    }
    std::printf("look_at over %zu cameras: worst difference %.3g of the bound\n", std::size(cameras), worst);
}

TEST_F(MesaMatrices, FrustumAndOrthoMatchGl) {
    double worst = 0;
    for (const planes& v : volumes) {
        const std::string what = describe({v.left, v.right, v.bottom, v.top, v.z_near, v.z_far});
        for (const bool is_frustum : {true, false}) {
            const Matrix mesa = mesa_volume(is_frustum ? glFrustum : glOrtho, v);
            const ormath::mat4 m = is_frustum
                                       ? ormath::frustum(v.left, v.right, v.bottom, v.top, v.z_near, v.z_far)
                                       : ormath::ortho(v.left, v.right, v.bottom, v.top, v.z_near, v.z_far);
            std::array<double, 16> allowed{};
            for (int i = 0; i < 16; ++i) {
                allowed[i] = 8 * u * std::fabs(mesa[i]);
            }
            compare(to_matrix(m), mesa, allowed, (is_frustum ? "frustum" : "ortho") + what, worst);
        }
    }
    std::printf("frustum and ortho over %zu volumes: worst difference %.3g of the bound\n",
                std::size(volumes), worst);
}

TEST_F(MesaMatrices, ProjectAndUnprojectMatchGlu) {
    const GLint viewports[][4] = {{0, 0, 640, 480}, {100, 50, 300, 200}};
    const ormath::vec3 offsets[] = {{0, 0, 0}, {0.3f, -0.2f, 0.1f}, {-1, 0.5f, 0.75f}};
    double worst_project = 0, worst_unproject = 0;
    int cases = 0;
    for (std::size_t i = 0; i < std::size(cameras); ++i) {
        const camera& c = cameras[i];
        const Matrix modelview = mesa_look_at(c);
        const Matrix projection = mesa_volume(glFrustum, volumes[i % 3]);  // the perspective ones
        const Exact mv = widen(modelview, false), pr = widen(projection, false);
        const Exact a = product(pr, mv), x = invert(a);
        const Exact size = product(widen(projection, true), widen(modelview, true));
        const double kappa = norm_inf(a) * norm_inf(x);
        const double inverse_error = kappa * norm_inf(x) * (4 * u * norm_inf(size) / norm_inf(a) + 24 * u);
        GLdouble mv_d[16], pr_d[16];
        std::copy(mv.begin(), mv.end(), mv_d);
        std::copy(pr.begin(), pr.end(), pr_d);
        for (const GLint* vp : viewports) {
            const ormath::vec4 viewport(static_cast<float>(vp[0]), static_cast<float>(vp[1]),
                                        static_cast<float>(vp[2]), static_cast<float>(vp[3]));
            for (const ormath::vec3& d : offsets) {
                const ormath::vec3 o(c.center.x + d.x, c.center.y + d.y, c.center.z + d.z);
                const std::string what =
                    "camera " + std::to_string(i) + ", object" + describe({o.x, o.y, o.z});
                ++cases;

                std::array<double, 3> mesa{};
                ASSERT_EQ(gluProject(o.x, o.y, o.z, mv_d, pr_d, vp, &mesa[0], &mesa[1], &mesa[2]), GL_TRUE);
                const ormath::vec3 window =
                    ormath::project(o, to_mat4(modelview), to_mat4(projection), viewport);
                const std::array<double, 4> clip = apply(a, {o.x, o.y, o.z, 1});
                const std::array<double, 4> mag =
                    apply(size, {std::fabs(o.x), std::fabs(o.y), std::fabs(o.z), 1});
                for (int k = 0; k < 3; ++k) {
                    const double ndc = clip[k] / clip[3];
                    const double scale = k < 2 ? vp[k + 2] / 2.0 : 0.5;
                    const double allowed =
                        scale * (8 * u * (mag[k] + std::fabs(ndc) * mag[3]) / std::fabs(clip[3]) +
                                 u * std::fabs(ndc)) +
                        u * (2 * scale * std::fabs(ndc + 1) + std::fabs(mesa[k]));
                    const double difference = std::fabs(window[k] - mesa[k]);
                    worst_project = std::max(worst_project, difference / allowed);
                    EXPECT_LE(difference, allowed) << "project, " << what << ", coordinate " << k;
                }

                // Back from the window point that Mesa found, rounded to float.
                const ormath::vec3 w(static_cast<float>(mesa[0]), static_cast<float>(mesa[1]),
                                     static_cast<float>(mesa[2]));
                std::array<double, 3> back{};
                ASSERT_EQ(gluUnProject(w.x, w.y, w.z, mv_d, pr_d, vp, &back[0], &back[1], &back[2]), GL_TRUE);
                const ormath::vec3 object =
                    ormath::unproject(w, to_mat4(modelview), to_mat4(projection), viewport);
                const std::array<double, 4> v = {(w.x - vp[0]) / vp[2] * 2 - 1, (w.y - vp[1]) / vp[3] * 2 - 1,
                                                 w.z * 2.0 - 1, 1};
                const std::array<double, 4> q = apply(x, v);
                const double v_size = std::max({std::fabs(v[0]), std::fabs(v[1]), std::fabs(v[2]), 1.0});
                const double q_error =
                    inverse_error * v_size + norm_inf(x) * (3 * u * (v_size + 1) + 4 * u * v_size);
                for (int k = 0; k < 3; ++k) {
                    const double allowed =
                        q_error * (1 + std::fabs(back[k])) / std::fabs(q[3]) + u * std::fabs(back[k]);
                    const double difference = std::fabs(object[k] - back[k]);
                    worst_unproject = std::max(worst_unproject, difference / allowed);
                    EXPECT_LE(difference, allowed) << "unproject, " << what << ", coordinate " << k;
                }
            }
        }
    }
    std::printf("project over %d cases: worst difference %.3g of the bound; unproject: %.3g\n", cases,
                worst_project, worst_unproject);
}

}  // namespace
