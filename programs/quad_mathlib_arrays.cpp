// quad_mathlib_arrays: matrices from Ormath, the quad from client vertex arrays.
#include "scene/colour_animation.hpp"
#include "scene/submit.hpp"
#include "scene/transform.hpp"
#include "shell/shell.hpp"

extern const float rotation_rate = 10.0f;
extern const float colour_time_scale = 1.0f;

void scene_begin(int width, int height) { library_projection(width, height); }

void scene_render(float time) {
    library_modelview(time);
    animate_colours(time);
    draw_quad_arrays();
}

void scene_end() {}
