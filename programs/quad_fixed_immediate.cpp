// quad_fixed_immediate: matrices from OpenGL's own calls, the quad in immediate mode,
// turning half as fast with colours that swing only half-way.
#include "scene/colour_animation.hpp"
#include "scene/submit.hpp"
#include "scene/transform.hpp"
#include "shell/shell.hpp"

extern const float rotation_rate = 5.0f;
extern const float colour_time_scale = 0.5f;

void scene_begin(int width, int height) { fixed_projection(width, height); }

void scene_render(float time) {
    fixed_modelview(time);
    animate_colours(time);
    draw_quad_immediate();
}

void scene_end() {}
