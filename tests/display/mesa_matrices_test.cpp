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

#include <array>
#include <cmath>
#include <cstdio>
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

std::string describe(const Matrix& m) {
    std::string text;
    char number[32];
    for (float v : m) {
        std::snprintf(number, sizeof number, " %.9g", static_cast<double>(v));
        text += number;
    }
    return text;
}

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

    // Compares every entry, reports the worst difference against its bound.
    static void compare(const Matrix& ormath, const Matrix& mesa, unsigned exact, double tolerance,
                        const std::string& what, double& worst) {
        for (int i = 0; i < 16; ++i) {
            if (((exact >> i) & 1u) != 0) {
                EXPECT_EQ(ormath[i], mesa[i]) << what << ", entry " << i << "\normath:" << describe(ormath)
                                              << "\nmesa:  " << describe(mesa);
                continue;
            }
            const double allowed = tolerance;
            const double difference = std::fabs(static_cast<double>(ormath[i]) - mesa[i]);
            worst = std::max(worst, difference / allowed);
            EXPECT_LE(difference, allowed) << what << ", entry " << i << "\normath:" << describe(ormath)
                                           << "\nmesa:  " << describe(mesa);
        }
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

}  // namespace
