// The two transform stages: the projection once, the model-view matrix every
// frame. The library stage computes both matrices with Ormath and loads them
// whole; the fixed-function stage has OpenGL and GLU build them.
#pragma once

// The program's turn, in degrees per unit of the scene clock. Each program defines it.
extern const float rotation_rate;

// The view that both stages set up.
namespace view {
constexpr float fovy_degrees = 45.0f;
constexpr float aspect = 4.0f / 3.0f;  // kept whatever the window's size
constexpr float z_near = 0.1f;
constexpr float z_far = 100.0f;
constexpr float quad_distance = 4.0f;  // along -z, in front of the eye
}  // namespace view

// Matrices from Ormath, handed over with glLoadMatrixf.
void library_projection(int width, int height);
void library_modelview(float time);

// Matrices from glLoadIdentity, glTranslatef, glRotatef and gluPerspective.
void fixed_projection(int width, int height);
void fixed_modelview(float time);
